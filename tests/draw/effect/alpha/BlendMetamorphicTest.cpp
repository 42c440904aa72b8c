// Properties that tie the operations together: a key that matches no source
// cell turns the keyed operations into their plain twins, and a cross-fade
// with complementary rates is the rate blend wherever the colours differ. The
// twins run on the table bodies, without row kernels (a processor without
// MMX and SSE2), so each side checks the other's vector code too.

#include <gtest/gtest.h>

#include <random>

#include "tests/draw/effect/alpha/BlendKit.h"

using namespace pixelkit;
using kivotasuGameKit::BltParams;
using kivotasuGameKit::BltRates;
using kivotasuGameKit::EffectBltOp;

namespace {

constexpr uint32_t Key = 0x00123456;

// Nudges every source cell the key would match off the key.
void AvoidKey(TestSurface& src)
{
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x)
            if (RefKeyMatches(src.Type(), src.Cell(x, y), Key)) src.Cell(x, y)[0] ^= 1;
}

// Nudges every destination cell whose colour equals that of the source cell
// the blit draws on it.
void MakeColoursDiffer(TestSurface& dst, TestSurface& src, const RefRequest& r)
{
    RefPlace(src.Width(), src.Height(), dst.Width(), dst.Height(), r, [&](int dx, int dy, int sx, int sy) {
        const RefPixel s = RefRead(src.Type(), src.Cell(sx, sy)), d = RefRead(dst.Type(), dst.Cell(dx, dy));
        if (s.r == d.r && s.g == d.g && s.b == d.b) dst.Cell(dx, dy)[0] ^= 1;
    });
}

void SetAlphaOpaque(TestSurface& s)
{
    if (!IsAlpha8(s.Type())) return;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) s.Cell(x, y)[3] = 255;
}

// Blits op onto a copy of dst and returns the copy's bytes; plain runs it on
// the table bodies without row kernels.
std::vector<uint8_t> BlitOnto(uint32_t op, TestSurface& dst, TestSurface& src, const RefRequest& r, BltRates rates,
                              bool plain)
{
    TestSurface out(dst.Type(), dst.Width(), dst.Height());
    out.Bytes() = dst.Bytes();
    const auto params = r.Params();
    std::optional<ForcedProcessor> processor;
    if (plain) processor.emplace(0u);
    EXPECT_EQ(out->EffectBlt(EffectBltOp(op), &src.Info(), &params, &rates), 0);
    return out.Bytes();
}

std::vector<RefRequest> Requests()
{
    RefRequest oneToOne, stretched;
    oneToOne.point = kivotasuGameKit::POINT{-2, 1};
    stretched.size = kivotasuGameKit::SIZE{50, 9};
    return {oneToOne, stretched};
}

TEST(BlendMetamorphicTest, AKeyMatchingNothingMakesTheKeyedOperationsTheirPlainTwins)
{
    std::mt19937 rng(1517);
    for (const Pair& pair : RatePairs()) {
        for (const RefRequest& request : Requests()) {
            TestSurface dst(pair.first, 37, 6), src(pair.second, 37, 6);
            dst.FillRandom(rng);
            src.FillRandom(rng);
            AvoidKey(src);
            src->SetColorKey(Key);
            const BltRates rates{uint32_t(rng()), uint32_t(rng())};
            const std::string what = TypeName(pair.first) + " <- " + TypeName(pair.second);
            ASSERT_EQ(BlitOnto(15, dst, src, request, rates, false), BlitOnto(14, dst, src, request, rates, true)) << what;
            ASSERT_EQ(BlitOnto(17, dst, src, request, rates, false), BlitOnto(16, dst, src, request, rates, true)) << what;
        }
    }
}

// Where both weights are exactly a and 255 - a: plain cells, and 8-bit alpha
// cells at alpha 255 (a 4-bit alpha reaches only 240 and is left out).
TEST(BlendMetamorphicTest, ACrossFadeWithRatesAAnd255MinusAIsTheRateBlendWhereColoursDiffer)
{
    std::mt19937 rng(1614);
    for (const Pair& pair : RatePairs()) {
        if (IsAlpha4(pair.first) || IsAlpha4(pair.second)) continue;
        for (uint32_t a : {0u, 15u, 16u, 100u, 128u, 240u, 255u, uint32_t(rng() % 256)}) {
            for (const RefRequest& request : Requests()) {
                TestSurface dst(pair.first, 37, 6), src(pair.second, 37, 6);
                dst.FillRandom(rng);
                src.FillRandom(rng);
                SetAlphaOpaque(dst);
                SetAlphaOpaque(src);
                MakeColoursDiffer(dst, src, request);
                const std::string what = TypeName(pair.first) + " <- " + TypeName(pair.second) + ", a " + std::to_string(a);
                ASSERT_EQ(BlitOnto(16, dst, src, request, BltRates{a, 255 - a}, false),
                          BlitOnto(14, dst, src, request, BltRates{a, 0}, true))
                    << what;
            }
        }
    }
}

} // namespace
