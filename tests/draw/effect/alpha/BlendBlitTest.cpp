// Every served pair of operations 10 and 14 to 17 against the reference model,
// in every request shape and at widths 1 to 33, guard bytes included, with the
// row kernels held at each instruction-set level in turn.

#include <gtest/gtest.h>

#include <tuple>

#include "tests/draw/effect/alpha/BlendKit.h"

using namespace pixelkit;
using kivotasuGameKit::BltRates;
using kivotasuGameKit::Blend::SimdLevel;

namespace {

class BlendBlitTest : public ::testing::TestWithParam<std::tuple<uint32_t, SimdLevel>> {};

TEST_P(BlendBlitTest, EveryServedPairMatchesTheReference)
{
    const auto [op, level] = GetParam();
    CappedSimd cap(level);
    if (kivotasuGameKit::Blend::CurrentSimdLevel() != level) GTEST_SKIP() << "the processor lacks this level";
    const bool mmx = ProcessorReportsMmx();
    auto cases = StandardBlitCases();
    const auto narrow = NarrowRowCases();
    cases.insert(cases.end(), narrow.begin(), narrow.end());
    // Rates: the edges of the levels and of the tables now and then, and
    // whole 32-bit words otherwise (only their low bytes count).
    const uint32_t edges[] = {0, 255, 15, 16, 128, 240};
    std::mt19937 rng(op * 7919 + uint32_t(level));
    int n = 0;
    for (const Pair& pair : PairsOf(op)) {
        const bool fourChannel = op == 14 && pair == Pair{kXRGB8888, kXRGB8888} && mmx;
        for (const BlitCase& c : cases) {
            for (Fill fill : {Fill::Noise, Fill::Sprite}) {
                BltRates rates{uint32_t(rng()), uint32_t(rng())};
                if (++n % 3 == 0) rates = BltRates{edges[n % 6], edges[(n / 6) % 6]};
                CheckBlend(op, pair, c, fill, rates, fourChannel, rng);
                if (HasFatalFailure()) return;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Family, BlendBlitTest,
                         ::testing::Combine(::testing::ValuesIn(FamilyOps()),
                                            ::testing::Values(SimdLevel::None, SimdLevel::Sse2, SimdLevel::Avx2)),
                         [](const auto& info) {
                             return "Op" + std::to_string(std::get<0>(info.param)) + SimdLevelName(std::get<1>(info.param));
                         });

// Where the processor reports no MMX, operation 14 on XRGB8888 <- XRGB8888
// takes the table body (the four-channel one is checked above).
TEST(BlendRateChooserTest, WithoutMmxTheTableBodyServesXrgb)
{
    ForcedProcessor noMmx(0u); // identification present, no feature bits
    ASSERT_FALSE(ProcessorReportsMmx());
    auto cases = StandardBlitCases();
    std::mt19937 rng(14);
    for (const BlitCase& c : cases) {
        for (Fill fill : {Fill::Noise, Fill::Sprite}) {
            CheckBlend(14, {kXRGB8888, kXRGB8888}, c, fill, BltRates{uint32_t(rng()), 0}, false, rng);
            if (HasFatalFailure()) return;
        }
    }
}

// MMX without SSE2: the four-channel body on its portable arithmetic.
TEST(BlendRateChooserTest, MmxWithoutSse2TakesTheFourChannelBodyInScalarCode)
{
    ForcedProcessor mmxOnly(ForcedProcessor::Mmx);
    ASSERT_TRUE(ProcessorReportsMmx());
    EXPECT_EQ(kivotasuGameKit::Blend::CurrentSimdLevel(), SimdLevel::None);
    auto cases = StandardBlitCases();
    const auto narrow = NarrowRowCases();
    cases.insert(cases.end(), narrow.begin(), narrow.end());
    std::mt19937 rng(1414);
    for (const BlitCase& c : cases) {
        CheckBlend(14, {kXRGB8888, kXRGB8888}, c, Fill::Noise, BltRates{uint32_t(rng()), 0}, true, rng);
        if (HasFatalFailure()) return;
    }
}

} // namespace
