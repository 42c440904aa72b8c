// The row kernels of every instruction-set level the processor has against
// the scalar table rules, over every (weight, source, destination) byte
// triple. A row of 65536 cells carries every (source, destination) pair of
// bytes in its channels; one row per weight.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "draw/effect/alpha/PixelOp.h"
#include "draw/effect/alpha/RowKernels.h"
#include "tests/draw/effect/alpha/BlendKit.h"

using namespace pixelkit;
using namespace kivotasuGameKit::Blend;
using kivotasuGameKit::ARGB4555;
using kivotasuGameKit::ARGB4565;
using kivotasuGameKit::ARGB8888;
using kivotasuGameKit::XRGB8888;

namespace {

constexpr int Cells = 65536;

// Cell k carries (k >> 8, k & 255) as source and destination in its first
// channel, the other way round in the second, and again in the third.
struct Row {
    std::vector<uint8_t> s = std::vector<uint8_t>(Cells * 4), d = std::vector<uint8_t>(Cells * 4);
    Row()
    {
        for (int k = 0; k < Cells; ++k) {
            const uint8_t hi = uint8_t(k >> 8), lo = uint8_t(k);
            const uint8_t sc[4] = {hi, lo, hi, 0}, dc[4] = {lo, hi, lo, uint8_t(k & 1 ? 0 : 0x55)};
            std::memcpy(&s[4 * k], sc, 4);
            std::memcpy(&d[4 * k], dc, 4);
        }
    }
    void SetSourceByte3(int (*value)(int k, int w), int w)
    {
        for (int k = 0; k < Cells; ++k) s[4 * k + 3] = uint8_t(value(k, w));
    }
};

// Runs fn over the row and the scalar rule over a copy; equal bytes, every cell done.
template <class Scalar>
void Expect(RowFn fn, const RowParams& p, const std::vector<uint8_t>& s, const std::vector<uint8_t>& d, int cells,
            int destinationBytes, int sourceBytes, Scalar scalar, const std::string& what)
{
    std::vector<uint8_t> expected = d, got = d;
    for (int k = 0; k < cells; ++k) scalar(&expected[size_t(k) * destinationBytes], &s[size_t(k) * sourceBytes]);
    ASSERT_EQ(fn(got.data(), s.data(), cells, p), cells) << what;
    if (got == expected) return;
    size_t i = 0;
    while (got[i] == expected[i]) ++i;
    FAIL() << what << ": cell " << i / destinationBytes << " byte " << i % destinationBytes << ": expected "
           << int(expected[i]) << ", got " << int(got[i]);
}

class SimdIdentityTest : public ::testing::TestWithParam<SimdLevel> {
protected:
    void SetUp() override
    {
        if (CurrentSimdLevel() < GetParam()) GTEST_SKIP() << "the processor lacks this level";
    }
    const RowKernels& Kernels() const { return GetParam() == SimdLevel::Avx2 ? Avx2RowKernels : Sse2RowKernels; }
    std::string Level() const { return GetParam() == SimdLevel::Avx2 ? "AVX2" : "SSE2"; }
};

TEST_P(SimdIdentityTest, ConstantRateOverEveryRateAndByte)
{
    Row row;
    for (uint32_t r = 0; r < 256; ++r) {
        Expect(Kernels().rate[ConstantRate][0], RowParams{.rate = r}, row.s, row.d, Cells, 4, 4,
               [r](uint8_t* d, const uint8_t* s) { CPixelOp::BlendRate<XRGB8888, XRGB8888>(d, s, r); },
               Level() + " rate " + std::to_string(r));
        if (HasFatalFailure()) return;
    }
}

TEST_P(SimdIdentityTest, SourceAlphaOverEveryAlphaAndByte)
{
    Row row;
    // Alphas vary from cell to cell (weight w + k), so across the rows every
    // cell meets every alpha; then whole rows of 0 and of 255. Byte 3 as an
    // X and as an alpha destination keeps it.
    for (int w = 0; w < 258; ++w) {
        if (w < 256) row.SetSourceByte3([](int k, int w) { return (w + k) & 255; }, w);
        else row.SetSourceByte3([](int, int w) { return w == 256 ? 0 : 255; }, w);
        Expect(Kernels().rate[SourceAlpha][0], RowParams{}, row.s, row.d, Cells, 4, 4,
               [](uint8_t* d, const uint8_t* s) { CPixelOp::BlendRate<XRGB8888, ARGB8888>(d, s, s[3]); },
               Level() + " alpha row " + std::to_string(w));
        Expect(Kernels().rate[SourceAlpha][0], RowParams{.byte3 = 0xFF000000}, row.s, row.d, Cells, 4, 4,
               [](uint8_t* d, const uint8_t* s) { CPixelOp::BlendRate<ARGB8888, ARGB8888>(d, s, s[3]); },
               Level() + " alpha row " + std::to_string(w) + " onto alpha");
        if (HasFatalFailure()) return;
    }
}

TEST_P(SimdIdentityTest, SourceAlphaTimesRateOverEveryAlphaAndRate)
{
    Row row;
    for (int k = 0; k < Cells; ++k) {
        row.s[4 * k] = 255; // channel 255 over 0 shows the weight itself
        row.d[4 * k] = 0;
        row.s[4 * k + 3] = uint8_t(k >> 8);
    }
    for (uint32_t r = 0; r < 256; ++r) {
        Expect(Kernels().rate[SourceAlphaRate][0], RowParams{.rate = r, .byte3 = 0xFF000000}, row.s, row.d, Cells, 4,
               4, [r](uint8_t* d, const uint8_t* s) { CPixelOp::BlendRate<ARGB8888, ARGB8888>(d, s, Mul(s[3], r)); },
               Level() + " rate " + std::to_string(r));
        if (HasFatalFailure()) return;
    }
}

TEST_P(SimdIdentityTest, AlphaOverEveryPairOfAlphasAndEveryChannel)
{
    std::vector<uint8_t> s(Cells * 4), d(Cells * 4);
    // Cell k: source alpha (k + c) & 255, destination alpha k >> 8; channels
    // c over 255 - c, 255 - c over c, and 255 over 0 (the source weight).
    // Then rows of uniform source alphas 0 and 255 and of opaque destinations.
    for (int c = 0; c < 259; ++c) {
        for (int k = 0; k < Cells; ++k) {
            const int v = c & 255;
            const int as = c < 256 ? (k + c) & 255 : c == 256 ? 0 : c == 257 ? 255 : k & 255;
            const int ad = c < 258 ? k >> 8 : 255;
            const uint8_t sc[4] = {uint8_t(v), uint8_t(255 - v), 255, uint8_t(as)};
            const uint8_t dc[4] = {uint8_t(255 - v), uint8_t(v), 0, uint8_t(ad)};
            std::memcpy(&s[4 * k], sc, 4);
            std::memcpy(&d[4 * k], dc, 4);
        }
        Expect(Kernels().over, RowParams{}, s, d, Cells, 4, 4,
               [](uint8_t* dd, const uint8_t* ss) { CPixelOp::BlendAlphaOver8(dd, ss); },
               Level() + " row " + std::to_string(c));
        if (HasFatalFailure()) return;
    }
}

TEST_P(SimdIdentityTest, FourChannelOverEveryRateAndByte)
{
    Row row;
    for (uint32_t r = 0; r < 256; ++r) {
        Expect(Kernels().fourChannel, RowParams{.rate = r}, row.s, row.d, Cells, 4, 4,
               [r](uint8_t* d, const uint8_t* s) { RefFourChannel(d, s, int(r)); },
               Level() + " rate " + std::to_string(r));
        if (HasFatalFailure()) return;
    }
}

// Rows of every length up to two vectors and a half, several in a call: the
// last cells that fill no vector are blended as the rule says, and no byte
// before or after a row is read or written. Alphas run through 0, 255 and
// partial values in stretches, so tails meet every fast path.
TEST_P(SimdIdentityTest, EveryKernelDoesWholeRowsOfEveryLength)
{
    using Scalar = std::function<void(uint8_t*, const uint8_t*)>;
    constexpr uint32_t key = 0x00302010, r = 77;
    const auto keyed = [](Scalar rule) {
        return Scalar([rule](uint8_t* d, const uint8_t* s) {
            if ((s[0] | s[1] << 8 | s[2] << 16) != int(key)) rule(d, s);
        });
    };
    const Scalar sourceAlpha = [](uint8_t* d, const uint8_t* s) { CPixelOp::BlendRate<XRGB8888, ARGB8888>(d, s, s[3]); };
    const Scalar alphaRate = [](uint8_t* d, const uint8_t* s) { CPixelOp::BlendRate<ARGB8888, ARGB8888>(d, s, Mul(s[3], r)); };
    const Scalar constant = [](uint8_t* d, const uint8_t* s) { CPixelOp::BlendRate<XRGB8888, XRGB8888>(d, s, r); };
    const struct {
        const char* name;
        RowFn fn;
        RowParams params;
        Scalar rule;
    } kernels[] = {
        {"source alpha", Kernels().rate[SourceAlpha][0], {}, sourceAlpha},
        {"keyed source alpha", Kernels().rate[SourceAlpha][1], {.key = key, .keyMask = 0x00FFFFFF}, keyed(sourceAlpha)},
        {"alpha times rate", Kernels().rate[SourceAlphaRate][0], {.rate = r, .byte3 = 0xFF000000}, alphaRate},
        {"keyed alpha times rate", Kernels().rate[SourceAlphaRate][1],
         {.rate = r, .byte3 = 0xFF000000, .key = key, .keyMask = 0x00FFFFFF}, keyed(alphaRate)},
        {"constant rate", Kernels().rate[ConstantRate][0], {.rate = r}, constant},
        {"keyed constant rate", Kernels().rate[ConstantRate][1], {.rate = r, .key = key, .keyMask = 0x00FFFFFF},
         keyed(constant)},
        {"alpha over", Kernels().over, {}, [](uint8_t* d, const uint8_t* s) { CPixelOp::BlendAlphaOver8(d, s); }},
        {"four channels", Kernels().fourChannel, {.rate = r}, [](uint8_t* d, const uint8_t* s) { RefFourChannel(d, s, int(r)); }},
    };
    // Three rows in one call, the source rows further apart than the
    // destination rows, each row between guard cells.
    constexpr int guard = 8, longest = 20, rows = 3;
    uint32_t seed = 1;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    for (const auto& k : kernels) {
        for (int n = 0; n <= longest; ++n) {
            const int dLine = n + 2 * guard, sLine = dLine + 3;
            for (int pattern = 0; pattern < 6; ++pattern) {
                std::vector<uint8_t> s(size_t(rows * sLine) * 4), d(size_t(rows * dLine) * 4);
                for (auto& b : s) b = uint8_t(next());
                for (auto& b : d) b = uint8_t(next());
                for (int c = 0; c < rows * dLine; ++c) {
                    const uint32_t stretch = uint32_t(c / 3 + pattern) % 4;
                    s[4 * c + 3] = stretch == 0 ? 0 : stretch == 1 ? 255 : uint8_t(next());
                    if (pattern == 5) d[4 * c + 3] = 255;
                    if (c % 5 == 0) std::memcpy(&s[4 * c], &key, 3);
                    if (c % 7 == 0) std::memcpy(&s[4 * (c / dLine * sLine + c % dLine)], &d[4 * c], 3);
                }
                std::vector<uint8_t> expected = d, got = d;
                for (int y = 0; y < rows; ++y)
                    for (int c = guard; c < guard + n; ++c) k.rule(&expected[4 * (y * dLine + c)], &s[4 * (y * sLine + c)]);
                RowParams area = k.params;
                area.rows = rows;
                area.destinationPitch = 4 * dLine;
                area.sourcePitch = 4 * sLine;
                ASSERT_EQ(k.fn(&got[4 * guard], &s[4 * guard], n, area), n) << k.name;
                ASSERT_EQ(got, expected) << Level() << " " << k.name << ", " << n << " cells, pattern " << pattern;
                // The first row again in buffers of exactly its cells, where
                // the address sanitizer reports any byte read or written past it.
                const auto row = [n](const std::vector<uint8_t>& v) {
                    return std::vector<uint8_t>(v.begin() + 4 * guard, v.begin() + 4 * (guard + n));
                };
                std::vector<uint8_t> exactS = row(s), exactD = row(d);
                k.fn(exactD.data(), exactS.data(), n, k.params);
                ASSERT_EQ(exactD, row(expected)) << Level() << " " << k.name << ", " << n << " cells alone";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, SimdIdentityTest, ::testing::Values(SimdLevel::Sse2, SimdLevel::Avx2),
                         [](const auto& info) { return info.param == SimdLevel::Avx2 ? "Avx2" : "Sse2"; });

// The kernels of the other pairs, at both levels, share the channel
// arithmetic; their own are the wrapping two-rate sum, the 16-bit fades and
// the 4-bit alpha over.
class PairKernelIdentityTest : public ::testing::TestWithParam<SimdLevel> {
protected:
    void SetUp() override
    {
        if (CurrentSimdLevel() < GetParam()) GTEST_SKIP() << "the processor lacks this level";
    }
    RowFn Kernel(int slot, int32_t d, int32_t s) const
    {
        return (GetParam() == SimdLevel::Avx2 ? Avx2PairRows : Sse2PairRows).cell[slot][d][s];
    }
};

TEST_P(PairKernelIdentityTest, TwoRatesOverEveryRateAndByte)
{
    Row row;
    for (uint32_t a = 0; a < 256; ++a) {
        const uint32_t b = (a * 7 + 3) & 255;
        Expect(Kernel(3, kXRGB8888, kXRGB8888), RowParams{.rate = a, .rateB = b}, row.s, row.d, Cells, 4, 4,
               [a, b](uint8_t* d, const uint8_t* s) { CPixelOp::CrossFade<XRGB8888, XRGB8888>(d, s, a, b); },
               "a " + std::to_string(a));
        if (HasFatalFailure()) return;
    }
}

TEST_P(PairKernelIdentityTest, FadesOfEveryWordAtEveryLevel)
{
    // Words in cells of 2 bytes: the source runs through every word, the
    // destination through every word in another order.
    std::vector<uint8_t> s(Cells * 2), d(Cells * 2);
    for (int k = 0; k < Cells; ++k) {
        SetWord(&s[2 * k], k);
        SetWord(&d[2 * k], int((uint32_t(k) * 40503u + 1) & 0xFFFF));
    }
    for (int32_t t : {kRGB565, kRGB555}) {
        for (uint32_t level = 0; level < 16; ++level) {
            for (bool sourceSide : {true, false}) {
                const uint32_t a = sourceSide ? level * 16 : 0, b = sourceSide ? 0 : level * 16;
                Expect(Kernel(3, t, t), RowParams{.rate = a, .rateB = b}, s, d, Cells, 2, 2,
                       [&](uint8_t* dd, const uint8_t* ss) {
                           t == kRGB565 ? CPixelOp::FadeMix<true>(dd, ss, a >> 4, b >> 4)
                                        : CPixelOp::FadeMix<false>(dd, ss, a >> 4, b >> 4);
                       },
                       TypeName(t) + " level " + std::to_string(level));
                if (HasFatalFailure()) return;
            }
        }
    }
}

TEST_P(PairKernelIdentityTest, FourBitAlphaOverEveryPairOfAlphasAndWords)
{
    std::vector<uint8_t> s(Cells * 4), d(Cells * 4);
    for (int32_t t : {kARGB4565, kARGB4555}) {
        for (int as = 0; as < 16; ++as) {
            for (int ad = 0; ad < 16; ++ad) {
                for (int k = 0; k < Cells; ++k) {
                    SetWord(&s[4 * k], k);
                    SetWord(&d[4 * k], int((uint32_t(k) * 40503u + 1) & 0xFFFF));
                    // Stray high bits now and then: only the low nibble counts.
                    s[4 * k + 2] = uint8_t(as | (k % 7 == 0 ? 0x50 : 0));
                    d[4 * k + 2] = uint8_t(ad | (k % 5 == 0 ? 0xA0 : 0));
                    s[4 * k + 3] = uint8_t(k);
                    d[4 * k + 3] = uint8_t(k >> 8);
                }
                Expect(Kernel(0, t, t), RowParams{}, s, d, Cells, 4, 4,
                       [t](uint8_t* dd, const uint8_t* ss) {
                           t == kARGB4565 ? CPixelOp::BlendAlphaOver4<true>(dd, ss)
                                          : CPixelOp::BlendAlphaOver4<false>(dd, ss);
                       },
                       TypeName(t) + " alphas " + std::to_string(as) + " over " + std::to_string(ad));
                if (HasFatalFailure()) return;
            }
        }
    }
}

// Cell k of a format for row variant w: words run through every word (the
// destination's in another order); channels carry (k >> 8, k & 255) one way
// round in the source and the other in the destination; alphas vary with k
// and w (4-bit ones with a stray high bit now and then); spare bytes vary.
std::vector<uint8_t> PatternCells(int32_t t, bool source, int w)
{
    const int bytes = RefBytes(t);
    std::vector<uint8_t> cells(size_t(Cells) * bytes);
    for (int k = 0; k < Cells; ++k) {
        uint8_t* c = &cells[size_t(k) * bytes];
        const uint8_t hi = uint8_t(k >> 8), lo = uint8_t(k);
        if (bytes == 2 || IsAlpha4(t)) {
            SetWord(c, source ? k : int((uint32_t(k) * 40503u + 1) & 0xFFFF));
        } else {
            c[0] = source ? hi : lo;
            c[1] = source ? lo : hi;
            c[2] = source ? hi : lo;
        }
        if (IsAlpha4(t)) {
            c[2] = uint8_t(((source ? k + w : k * 7 + w) & 15) | (k % 7 == 0 ? 0x50 : 0));
            c[3] = uint8_t(source ? k : k >> 8);
        } else if (bytes == 4) {
            c[3] = uint8_t(source ? k * 3 + w : (k >> 3) + w);
        }
    }
    return cells;
}

// Every kernel of every operation and pair over the pattern cells, at four
// rate pairs, keyed ones behind a key that whole vectors and single cells hit.
TEST_P(PairKernelIdentityTest, EveryPairKernelOverItsCells)
{
    const uint32_t rates[][2] = {{255, 0}, {128, 100}, {16, 255}, {77, 7}};
    int kernels = 0;
    for (int slot = 0; slot < BlendOpSlots; ++slot) {
        const uint32_t op = FamilyOps()[size_t(slot)];
        for (const Pair& pair : PairsOf(op)) {
            const RowFn fn = Kernel(slot, pair.first, pair.second);
            if (!fn) continue;
            ++kernels;
            const int sb = RefBytes(pair.second);
            for (int w = 0; w < 4; ++w) {
                std::vector<uint8_t> s = PatternCells(pair.second, true, w * 85);
                RowParams p{.rate = rates[w][0], .rateB = rates[w][1]};
                uint32_t keyColour = 0;
                if (IsKeyedOp(op)) {
                    const RefPixel kp = RefRead(pair.second, &s[size_t(w * 97 + 5) * sb]);
                    keyColour = uint32_t(kp.r << 16 | kp.g << 8 | kp.b);
                    const RefStoredKey key = RefKeyCell(pair.second, keyColour);
                    for (int k = 0; k < Cells; ++k)
                        if ((k / 8) % 16 == 3 || k % 50 == 0) std::memcpy(&s[size_t(k) * sb], &key.key, size_t(sb));
                    p.key = key.key;
                    p.keyMask = key.mask;
                }
                const kivotasuGameKit::BltRates r{rates[w][0], rates[w][1]};
                Expect(fn, p, s, PatternCells(pair.first, false, w * 85), Cells, RefBytes(pair.first), sb,
                       RefRule(op, pair, keyColour, r, false),
                       "op " + std::to_string(op) + " " + TypeName(pair.first) + " <- " + TypeName(pair.second) +
                           " variant " + std::to_string(w));
                if (HasFatalFailure()) return;
            }
        }
    }
    // Every pair of every operation but operation 10 between 8-bit alphas of
    // one layout (the same-order kernels' own).
    EXPECT_EQ(kernels, 5 * 26 - 16 - 2);
}

INSTANTIATE_TEST_SUITE_P(Levels, PairKernelIdentityTest, ::testing::Values(SimdLevel::Sse2, SimdLevel::Avx2),
                         [](const auto& info) { return info.param == SimdLevel::Avx2 ? "Avx2" : "Sse2"; });

} // namespace
