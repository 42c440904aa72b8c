// Every (operation, pair) of operations 2 to 9 against the reference model, in
// every request shape and at widths 1 to 33 at odd and even x, guard bytes
// included, with the vector rows held at each instruction-set level in turn.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "draw/effect/EffectBlitter.h"
#include "tests/draw/effect/BlitCases.h"
#include "tests/draw/effect/RefCopy.h"
#include "tests/draw/effect/addsub/RefAddSub.h"

using namespace pixelkit;
using kivotasuGameKit::BltRates;
using kivotasuGameKit::Blend::SimdLevel;

namespace {

const std::vector<uint32_t> Ops{2, 3, 4, 5, 6, 7, 8, 9};

TEST(AddSubPairsTest, TheFamilyServes174CombinationsAsTheDispatchDoes)
{
    int combinations = 0;
    for (uint32_t op : Ops) {
        const auto pairs = AddSubPairs(op);
        combinations += int(pairs.size());
        for (int32_t d : AllFormats()) {
            for (int32_t s : AllFormats()) {
                const bool listed = std::count(pairs.begin(), pairs.end(), Pair{d, s}) == 1;
                EXPECT_EQ(kivotasuGameKit::EffectBltServes(op, d, s), listed)
                    << "op " << op << ", " << TypeName(d) << " <- " << TypeName(s);
            }
        }
    }
    EXPECT_EQ(combinations, 174);
}

void CheckAddSub(uint32_t op, Pair pair, const BlitCase& c, Fill fill, uint32_t rate, std::mt19937& rng)
{
    const BltRates rates{rate, uint32_t(rng())};
    CheckFamilyBlit(
        op, pair, c, fill, rates, rng,
        [&](TestSurface& dst, TestSurface& src, uint32_t key) {
            return RefBlit(dst, src, c.request, [&](uint8_t* d, const uint8_t* s) {
                if (!IsKeyedOp(op) || !RefKeyMatches(pair.second, s, key))
                    RefAddSub(op, pair.first, pair.second, d, s, int(rate & 0xFF));
            });
        },
        "rate " + std::to_string(rate));
}

class AddSubBlitTest : public ::testing::TestWithParam<std::tuple<uint32_t, SimdLevel>> {};

TEST_P(AddSubBlitTest, EveryServedPairMatchesTheReference)
{
    const auto [op, level] = GetParam();
    CappedSimd cap(level);
    if (kivotasuGameKit::Blend::CurrentSimdLevel() != level) GTEST_SKIP() << "the processor lacks this level";
    auto cases = StandardBlitCases();
    const auto narrow = NarrowRowCases();
    cases.insert(cases.end(), narrow.begin(), narrow.end());
    // Rates: the level edges (16, 31, 32, 224, 240) and the table edges now
    // and then, whole 32-bit words otherwise (only the low byte counts).
    const uint32_t edges[] = {0, 255, 16, 31, 32, 128, 224, 240};
    std::mt19937 rng(op * 7919 + uint32_t(level));
    int n = 0;
    for (const Pair& pair : AddSubPairs(op)) {
        for (const BlitCase& c : cases) {
            for (Fill fill : {Fill::Noise, Fill::Sprite}) {
                const uint32_t rate = ++n % 3 == 0 ? edges[n % 8] : uint32_t(rng());
                CheckAddSub(op, pair, c, fill, rate, rng);
                if (HasFatalFailure()) return;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Family, AddSubBlitTest,
                         ::testing::Combine(::testing::ValuesIn(Ops),
                                            ::testing::Values(SimdLevel::None, SimdLevel::Sse2, SimdLevel::Avx2)),
                         [](const auto& info) {
                             return "Op" + std::to_string(std::get<0>(info.param)) + SimdLevelName(std::get<1>(info.param));
                         });

} // namespace
