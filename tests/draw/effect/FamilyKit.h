#pragma once

// Shared pieces of the blit-family tests: the standard pair matrix, a forced
// processor and capped vector levels, and surface fills that make equal
// colours, key hits and alpha runs common.

#include <cstdint>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <string>

#include "draw/effect/CpuFeatures.h"
#include "draw/effect/EffectBlitter.h"
#include "draw/effect/alpha/SimdLevel.h"
#include "tests/draw/effect/BlitCases.h"
#include "tests/kit/pixel/TestSurface.h"

namespace pixelkit {

using Pair = std::pair<int32_t, int32_t>; // destination, source

// The 26 pairs of most operations (2 to 7, 14 to 17): same types, an alpha
// source onto its plain type, a plain source onto an alpha type.
inline std::vector<Pair> RatePairs()
{
    std::vector<Pair> pairs;
    for (int32_t t : {kRGB565, kRGB555, kRGB888, kBGR888, kXRGB8888, kXBGR8888, kARGB4565, kARGB4555, kARGB8888,
                      kABGR8888})
        pairs.push_back({t, t});
    for (Pair p : std::vector<Pair>{{kRGB565, kARGB4565}, {kRGB555, kARGB4555}, {kRGB888, kARGB8888},
                                    {kBGR888, kABGR8888}, {kXRGB8888, kARGB8888}, {kXBGR8888, kABGR8888},
                                    {kARGB4565, kRGB565}, {kARGB4555, kRGB555}})
        pairs.push_back(p);
    for (int32_t d : {kARGB8888, kABGR8888})
        for (int32_t s : {kRGB888, kBGR888, kXRGB8888, kXBGR8888}) pairs.push_back({d, s});
    return pairs;
}

// The processor the blitter sees until the guard ends: the identification
// answer (EDX of function 1), or none for a processor without one.
class ForcedProcessor {
public:
    explicit ForcedProcessor(const kivotasuGameKit::CCpuFeatures::ProbeResult& edx)
    {
        kivotasuGameKit::CCpuFeatures::OverrideProbe(edx);
        kivotasuGameKit::CCpuFeatures::DestroyInstance();
    }
    ~ForcedProcessor()
    {
        kivotasuGameKit::CCpuFeatures::OverrideProbe(std::nullopt);
        kivotasuGameKit::CCpuFeatures::DestroyInstance();
    }
    ForcedProcessor(const ForcedProcessor&) = delete;
    ForcedProcessor& operator=(const ForcedProcessor&) = delete;

    static constexpr uint32_t Mmx = 1u << 23, Sse = 1u << 25, Sse2 = 1u << 26;
};

// Row kernels held at or below a level until the guard ends.
class CappedSimd {
public:
    explicit CappedSimd(kivotasuGameKit::Blend::SimdLevel cap) { kivotasuGameKit::Blend::CapSimdLevel(cap); }
    ~CappedSimd() { kivotasuGameKit::Blend::CapSimdLevel(kivotasuGameKit::Blend::SimdLevel::Avx2); }
    CappedSimd(const CappedSimd&) = delete;
    CappedSimd& operator=(const CappedSimd&) = delete;
};

inline const char* SimdLevelName(kivotasuGameKit::Blend::SimdLevel level)
{
    using kivotasuGameKit::Blend::SimdLevel;
    return level == SimdLevel::None ? "Scalar" : level == SimdLevel::Sse2 ? "Sse2" : "Avx2";
}

enum class Fill {
    Noise,  // every byte random
    Sprite, // colours from a small palette, alphas in runs of 0 and full
};

// Sprite fill: colours from palette (so equal colours and key hits occur),
// 8-bit alphas in runs of 0, 255 or a partial value, 4-bit alphas likewise
// with a stray high bit now and then, X bytes 0 or not, and bit 15 of RGB555
// words sometimes set.
inline void FillSurface(TestSurface& s, Fill fill, const std::vector<uint32_t>& palette, std::mt19937& rng)
{
    s.FillRandom(rng);
    if (fill == Fill::Noise) return;
    int run = 0, alpha = 0;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            if (run-- <= 0) {
                run = int(rng() % 12);
                const int pick = int(rng() % 5);
                alpha = pick < 2 ? 0 : pick < 4 ? 255 : int(rng() % 256);
            }
            const uint32_t colour = rng() % 4 ? palette[rng() % palette.size()] : rng();
            RefPixel p;
            p.r = (colour >> 16) & 0xFF;
            p.g = (colour >> 8) & 0xFF;
            p.b = colour & 0xFF;
            uint8_t* c = s.Cell(x, y);
            RefWrite(s.Type(), c, p);
            if (IsAlpha8(s.Type())) c[3] = uint8_t(alpha);
            if (IsAlpha4(s.Type())) c[2] = uint8_t((alpha >> 4) | (rng() % 8 ? 0 : 0x30));
            if (s.Type() == kXRGB8888 || s.Type() == kXBGR8888) c[3] = rng() % 2 ? 0 : uint8_t(rng());
            if (s.Type() == kRGB555 && rng() % 8 == 0) c[1] |= 0x80;
        }
    }
}

inline std::vector<uint32_t> SmallPalette(std::mt19937& rng)
{
    return {uint32_t(rng() & 0xFFFFFF), uint32_t(rng() & 0xFFFFFF), 0xFFFFFF, 0x000000, uint32_t(rng() & 0xF8FCF8)};
}

// One blit of op on pair in request shape c between surfaces filled by fill,
// the source keyed by a colour of their palette; the whole destination buffer,
// guards included, must equal expect(dst, src, key) taken before the blit.
template <class Expect>
void CheckFamilyBlit(uint32_t op, Pair pair, const BlitCase& c, Fill fill, const kivotasuGameKit::BltRates& rates,
                     std::mt19937& rng, Expect expect, const std::string& what)
{
    TestSurface dst(pair.first, c.dstWidth, c.dstHeight), src(pair.second, c.srcWidth, c.srcHeight);
    const auto palette = SmallPalette(rng);
    FillSurface(dst, fill, palette, rng);
    FillSurface(src, fill, palette, rng);
    const uint32_t key = palette[0] | (rng() << 24);
    src->SetColorKey(key);
    const std::vector<uint8_t> expected = expect(dst, src, key);
    const auto params = c.request.Params();
    ASSERT_EQ(dst->EffectBlt(kivotasuGameKit::EffectBltOp(op), &src.Info(), &params, &rates), 0);
    const std::string diff = FirstDifference(dst, expected, dst.Bytes());
    ASSERT_TRUE(diff.empty()) << "op " << op << ", " << TypeName(pair.first) << " <- " << TypeName(pair.second)
                              << ", " << c.name << (fill == Fill::Noise ? ", noise" : ", sprite") << ", " << what
                              << ": " << diff;
}

} // namespace pixelkit
