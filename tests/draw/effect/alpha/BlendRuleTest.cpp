// The pixel rules where they are easy to get wrong: the alpha over for every
// pair of alphas against a reference that divides, the worked values of the
// rules, and 4-bit alpha bytes with stray high bits.

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "draw/effect/alpha/PixelOp.h"
#include "tests/draw/effect/alpha/BlendKit.h"

using namespace pixelkit;
using kivotasuGameKit::BltParams;
using kivotasuGameKit::BltRates;
using kivotasuGameKit::EffectBltOp;
using kivotasuGameKit::Blend::CPixelOp;

namespace {

TEST(AlphaOverTest, EveryPairOfEightBitAlphasMatchesTheDividingReference)
{
    std::mt19937 rng(8);
    for (int as = 0; as < 256; ++as) {
        for (int ad = 0; ad < 256; ++ad) {
            // Channels 255 over 0 and 0 under 255 show both weights; the
            // third and a random cell show the sums.
            const std::array<std::array<uint8_t, 8>, 2> cells{{
                {255, 0, uint8_t(as ^ ad), uint8_t(as), 0, 255, uint8_t(ad), uint8_t(ad)},
                {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), uint8_t(as), uint8_t(rng()), uint8_t(rng()),
                 uint8_t(rng()), uint8_t(ad)},
            }};
            for (const auto& c : cells) {
                uint8_t d[4] = {c[4], c[5], c[6], c[7]}, expected[4] = {c[4], c[5], c[6], c[7]};
                CPixelOp::BlendAlphaOver8(d, c.data());
                RefAlphaOver8(expected, c.data());
                ASSERT_TRUE(std::equal(d, d + 4, expected)) << "alphas " << as << " over " << ad;
            }
        }
    }
}

TEST(AlphaOverTest, EveryPairOfFourBitAlphasMatchesTheDividingReference)
{
    std::mt19937 rng(4);
    for (bool is565 : {true, false}) {
        for (int as = 0; as < 16; ++as) {
            for (int ad = 0; ad < 16; ++ad) {
                for (int k = 0; k < 64; ++k) {
                    const uint16_t sw = k == 0 ? 0xFFFF : uint16_t(rng()), dw = k == 0 ? 0 : uint16_t(rng());
                    const uint8_t s[4] = {uint8_t(sw), uint8_t(sw >> 8), uint8_t(as), uint8_t(rng())};
                    uint8_t d[4] = {uint8_t(dw), uint8_t(dw >> 8), uint8_t(ad), uint8_t(rng())};
                    uint8_t expected[4] = {d[0], d[1], d[2], d[3]};
                    is565 ? CPixelOp::BlendAlphaOver4<true>(d, s) : CPixelOp::BlendAlphaOver4<false>(d, s);
                    RefAlphaOver4(is565, expected, s);
                    ASSERT_TRUE(std::equal(d, d + 4, expected)) << "alphas " << as << " over " << ad;
                }
            }
        }
    }
}

// One cell of op from s onto d through the effect-blit entry.
std::vector<uint8_t> BlitCell(uint32_t op, int32_t dt, int32_t st, std::vector<uint8_t> d, const std::vector<uint8_t>& s,
                              BltRates rates, uint32_t key = 0x00010203)
{
    TestSurface dst(dt, 1, 1), src(st, 1, 1);
    std::copy(d.begin(), d.end(), dst.Cell(0, 0));
    std::copy(s.begin(), s.end(), src.Cell(0, 0));
    src->SetColorKey(key);
    const BltParams request;
    EXPECT_EQ(dst->EffectBlt(EffectBltOp(op), &src.Info(), &request, &rates), 0);
    return std::vector<uint8_t>(dst.Cell(0, 0), dst.Cell(0, 0) + dst.CellBytes());
}

std::vector<uint8_t> Word565(int r, int g, int b) { return {uint8_t((g << 5 | b) & 0xFF), uint8_t(r << 3 | g >> 3)}; }

TEST(BlendValuesTest, RateBlendsLeaveEqualColoursAloneAndWeighTheRest)
{
    // r = 128 on a channel of 100 would give 50 + 49 = 99: an equal cell stays.
    EXPECT_EQ(BlitCell(14, kRGB888, kRGB888, {100, 100, 100}, {100, 100, 100}, {128, 0}),
              (std::vector<uint8_t>{100, 100, 100}));
    // Rate 255 copies the source, rate 0 keeps the destination.
    EXPECT_EQ(BlitCell(14, kRGB888, kRGB888, {1, 2, 3}, {200, 100, 50}, {255, 0}), (std::vector<uint8_t>{200, 100, 50}));
    EXPECT_EQ(BlitCell(14, kRGB888, kRGB888, {1, 2, 3}, {200, 100, 50}, {0, 0}), (std::vector<uint8_t>{1, 2, 3}));
    // ARGB8888 <- ARGB8888: an equal colour keeps the alpha byte, another
    // becomes opaque (weight M[255][r] = r, so rate 0 keeps the colour).
    EXPECT_EQ(BlitCell(14, kARGB8888, kARGB8888, {9, 8, 7, 40}, {9, 8, 7, 255}, {77, 0}), (std::vector<uint8_t>{9, 8, 7, 40}));
    EXPECT_EQ(BlitCell(14, kARGB8888, kARGB8888, {9, 8, 7, 40}, {9, 8, 6, 255}, {0, 0}), (std::vector<uint8_t>{9, 8, 7, 255}));
    // ARGB4565 <- ARGB4565, alpha 15 at rate 255 weighs the source 240:
    // white over black gives fields of M[240][248 or 252] (233 -> 29, 237 -> 59).
    EXPECT_EQ(BlitCell(14, kARGB4565, kARGB4565, {0, 0, 3, 9}, {0xFF, 0xFF, 15, 0}, {255, 0}),
              ([] { auto w = Word565(29, 59, 29); return std::vector<uint8_t>{w[0], w[1], 3, 9}; }()));
}

TEST(BlendValuesTest, SixteenBitLevelsComeFromTheTopNibble)
{
    const auto white = Word565(31, 63, 31);
    // Rule A: a = b = 128 are levels 8; each white word fades to fields 16,
    // 33, 16, and the 16-bit sum carries: fields 1, 3, 0.
    EXPECT_EQ(BlitCell(16, kRGB565, kRGB565, white, white, {128, 128}), Word565(1, 3, 0));
    // Levels 8 and 7 on white: 16 + 14, 33 + 29, 16 + 14.
    EXPECT_EQ(BlitCell(16, kRGB565, kRGB565, white, white, {128, 127}), Word565(30, 62, 30));
    // Rule B counts the destination as alpha 15: b = 128 is M[128][240] = 120,
    // level 7; a = 0 adds nothing of the source.
    EXPECT_EQ(BlitCell(16, kRGB565, kARGB4565, white, {0x12, 0x34, 15, 0}, {0, 128}), Word565(14, 29, 14));
    // Rates 0 to 15 are level 0 (the source does not show), 16 is level 1.
    EXPECT_EQ(BlitCell(14, kRGB565, kRGB565, Word565(0, 0, 0), white, {15, 0}), Word565(0, 0, 0));
    EXPECT_EQ(BlitCell(14, kRGB565, kRGB565, Word565(0, 0, 0), white, {16, 0}), Word565(2, 4, 2));
    // Blend by alpha 8: each field floor(d x 7 / 15) + floor(s x 8 / 15).
    EXPECT_EQ(BlitCell(10, kRGB565, kARGB4565, Word565(30, 60, 15), {0xFF, 0xFF, 8, 0}, {}),
              Word565(14 + 16, 28 + 33, 7 + 16));
}

TEST(BlendValuesTest, AlphaOverWorkedValues)
{
    // 4-bit: a transparent source over an opaque cell: t = 225, alpha 14,
    // colour kept; an opaque source: alpha 15 and the source's word.
    EXPECT_EQ(BlitCell(10, kARGB4565, kARGB4565, {0x34, 0x12, 15, 7}, {0xFF, 0xFF, 0, 0}, {}),
              (std::vector<uint8_t>{0x34, 0x12, 14, 7}));
    EXPECT_EQ(BlitCell(10, kARGB4565, kARGB4565, {0x34, 0x12, 15, 7}, {0x78, 0x56, 15, 0}, {}),
              (std::vector<uint8_t>{0x78, 0x56, 15, 7}));
    // 8-bit: alpha 128 over a transparent cell takes the source colour, opaque.
    EXPECT_EQ(BlitCell(10, kARGB8888, kARGB8888, {1, 2, 3, 0}, {10, 20, 30, 128}, {}),
              (std::vector<uint8_t>{10, 20, 30, 255}));
    // Both transparent: nothing changes.
    EXPECT_EQ(BlitCell(10, kARGB8888, kARGB8888, {1, 2, 3, 0}, {10, 20, 30, 0}, {}), (std::vector<uint8_t>{1, 2, 3, 0}));
    // Onto XRGB8888, alpha 0 keeps the colour but clears byte 3.
    EXPECT_EQ(BlitCell(10, kXRGB8888, kARGB8888, {1, 2, 3, 99}, {10, 20, 30, 0}, {}), (std::vector<uint8_t>{1, 2, 3, 0}));
}

TEST(BlendValuesTest, TwoRateSumsWrapAndTheFourChannelBodyDividesBy256)
{
    // (M[255][200] + M[255][200]) mod 256 = 144.
    EXPECT_EQ(BlitCell(16, kRGB888, kRGB888, {200, 200, 200}, {200, 200, 200}, {255, 255}),
              (std::vector<uint8_t>{144, 144, 144}));
    // XRGB8888 cross-fade clears byte 3 whatever the rates.
    EXPECT_EQ(BlitCell(16, kXRGB8888, kXRGB8888, {5, 6, 7, 8}, {50, 60, 70, 80}, {0, 255}),
              (std::vector<uint8_t>{5, 6, 7, 0}));
    if (!ProcessorReportsMmx()) GTEST_SKIP() << "the processor reports no MMX";
    // Four channels at r = 255: floor(255 s / 256), one below s; byte 3 = 0
    // even where the colours are equal.
    EXPECT_EQ(BlitCell(14, kXRGB8888, kXRGB8888, {1, 128, 255, 9}, {1, 128, 255, 3}, {255, 0}),
              (std::vector<uint8_t>{0, 127, 254, 0}));
}

// Source columns a stretched row reads: a source row of distinct colours is
// drawn at rate 255 over black, so each destination pixel names its column.
std::vector<int> SampledColumns(int from, int to, bool fourChannel)
{
    ForcedProcessor processor(fourChannel ? ForcedProcessor::Mmx | ForcedProcessor::Sse2 : 0u);
    TestSurface dst(kXRGB8888, to, 1), src(kXRGB8888, from, 1);
    std::fill(dst.Bytes().begin(), dst.Bytes().end(), 0);
    for (int x = 0; x < from; ++x) src.Cell(x, 0)[1] = uint8_t(40 * x + 40);
    const kivotasuGameKit::SIZE size{to, 1};
    BltParams request;
    request.size = &size;
    const BltRates rates{255, 0};
    EXPECT_EQ(dst->EffectBlt(EffectBltOp::BlendRate, &src.Info(), &request, &rates), 0);
    std::vector<int> columns;
    // Table body: green 40 (x + 1); four channels: floor(255 g / 256) = g - 1.
    for (int x = 0; x < to; ++x) columns.push_back((dst.Cell(x, 0)[1] + (fourChannel ? 1 : 0)) / 40 - 1);
    return columns;
}

TEST(BlendValuesTest, StretchesSampleAsTheFrameSaysAndTheFourChannelBodyTrails)
{
    EXPECT_EQ(SampledColumns(2, 4, false), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(SampledColumns(5, 3, false), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(SampledColumns(2, 4, true), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(SampledColumns(5, 3, true), (std::vector<int>{0, 1, 3}));
}

// A 4-bit alpha byte with stray high bits acts as its low nibble in every
// rule (and reads no table out of range): the results equal those of the
// masked byte, apart from the stray bits of a destination byte that is kept.
TEST(FourBitAlphaTest, StrayHighBitsAreMaskedInEveryRuleAtEveryLevel)
{
    using kivotasuGameKit::Blend::SimdLevel;
    std::mt19937 rng(15);
    for (SimdLevel level : {SimdLevel::None, SimdLevel::Avx2}) {
        CappedSimd cap(level);
        for (uint32_t op : FamilyOps()) {
            for (const Pair& pair : PairsOf(op)) {
                if (!IsAlpha4(pair.first) && !IsAlpha4(pair.second)) continue;
                TestSurface dst(pair.first, 19, 2), src(pair.second, 19, 2), cleanDst(pair.first, 19, 2),
                    cleanSrc(pair.second, 19, 2);
                dst.FillRandom(rng);
                src.FillRandom(rng);
                cleanDst.Bytes() = dst.Bytes();
                cleanSrc.Bytes() = src.Bytes();
                for (TestSurface* clean : {&cleanDst, &cleanSrc}) {
                    if (!IsAlpha4(clean->Type())) continue;
                    for (int y = 0; y < 2; ++y)
                        for (int x = 0; x < 19; ++x) clean->Cell(x, y)[2] &= 0x0F;
                }
                const BltParams request;
                const BltRates rates{uint32_t(rng()), uint32_t(rng())};
                src->SetColorKey(0x123456);
                cleanSrc->SetColorKey(0x123456);
                ASSERT_EQ(dst->EffectBlt(EffectBltOp(op), &src.Info(), &request, &rates), 0);
                ASSERT_EQ(cleanDst->EffectBlt(EffectBltOp(op), &cleanSrc.Info(), &request, &rates), 0);
                for (int y = 0; y < 2; ++y) {
                    for (int x = 0; x < 19; ++x) {
                        std::vector<uint8_t> got(dst.Cell(x, y), dst.Cell(x, y) + dst.CellBytes());
                        std::vector<uint8_t> want(cleanDst.Cell(x, y), cleanDst.Cell(x, y) + dst.CellBytes());
                        if (IsAlpha4(pair.first)) got[2] &= 0x0F;
                        ASSERT_EQ(got, want) << "op " << op << ", " << TypeName(pair.first) << " <- "
                                             << TypeName(pair.second) << ", pixel " << x;
                    }
                }
            }
        }
    }
}

} // namespace
