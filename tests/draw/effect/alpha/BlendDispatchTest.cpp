// What the effect-blit entry answers for the blend operations on every pair
// of type codes: 0 and a drawn picture for the pairs of the matrix, 2 or 0
// (nothing drawn) for the others, 1 when a surface cannot be locked.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/draw/effect/alpha/BlendKit.h"

using namespace pixelkit;
using kivotasuGameKit::BltParams;
using kivotasuGameKit::BltRates;
using kivotasuGameKit::EffectBltOp;

namespace {

bool InMatrix(uint32_t op, int32_t d, int32_t s)
{
    const auto pairs = PairsOf(op);
    return std::find(pairs.begin(), pairs.end(), Pair{d, s}) != pairs.end();
}

// A white, opaque source (X bytes set, so a black key never matches) over a
// black, transparent destination: every served rule at a = r = 255, b = 0
// changes the destination.
void Paint(TestSurface& dst, TestSurface& src)
{
    std::fill(dst.Bytes().begin(), dst.Bytes().end(), 0);
    std::fill(src.Bytes().begin(), src.Bytes().end(), 0xFF);
    if (IsAlpha4(src.Type()))
        for (int y = 0; y < src.Height(); ++y)
            for (int x = 0; x < src.Width(); ++x) src.Cell(x, y)[2] = 15;
    src->SetColorKey(0);
}

TEST(BlendDispatchTest, EveryPairOfTypeCodesGetsItsResultAndOnlyServedPairsDraw)
{
    const BltParams request;
    const BltRates rates{255, 0};
    for (uint32_t op : FamilyOps()) {
        for (int32_t d : AllTypeCodes()) {
            for (int32_t s : AllTypeCodes()) {
                TestSurface dst(d, 5, 3), src(s, 5, 3);
                Paint(dst, src);
                const auto before = dst.Bytes();
                const int result = dst->EffectBlt(EffectBltOp(op), &src.Info(), &request, &rates);
                const bool served = InMatrix(op, d, s);
                const int expected = served ? 0 : (op == 10 || d != s) ? 2 : 0;
                const std::string what = "op " + std::to_string(op) + ", " + TypeName(d) + " <- " + TypeName(s);
                ASSERT_EQ(result, expected) << what;
                ASSERT_EQ(dst.Bytes() != before, served) << what;
                ASSERT_EQ(dst.Locker().locks, 1) << what;
                ASSERT_EQ(dst.Locker().unlocks, 1) << what;
                ASSERT_EQ(src.Locker().locks, 1) << what;
                ASSERT_EQ(src.Locker().unlocks, 1) << what;
            }
        }
    }
}

TEST(BlendDispatchTest, AFailedLockAnswersOneAndDrawsNothing)
{
    const BltParams request;
    const BltRates rates{255, 0};
    for (uint32_t op : FamilyOps()) {
        for (bool refuseDestination : {true, false}) {
            TestSurface dst(kXRGB8888, 4, 2), src(kARGB8888, 4, 2);
            Paint(dst, src);
            (refuseDestination ? dst : src).Locker().refuseLock = true;
            const auto before = dst.Bytes();
            EXPECT_EQ(dst->EffectBlt(EffectBltOp(op), &src.Info(), &request, &rates), 1) << op;
            EXPECT_EQ(dst.Bytes(), before);
            EXPECT_EQ(dst.Locker().unlocks, refuseDestination ? 0 : 1);
            EXPECT_FALSE(dst->IsLocked());
            EXPECT_FALSE(src->IsLocked());
        }
    }
}

// The cross-fade serves the 26 pairs of its column: 10 of one type and 16
// cross pairs (not 18).
TEST(BlendDispatchTest, CrossFadeServesSixteenCrossPairs)
{
    const BltParams request;
    const BltRates rates{255, 0};
    std::set<Pair> cross;
    for (int32_t d : AllTypeCodes()) {
        for (int32_t s : AllTypeCodes()) {
            if (d == s) continue;
            TestSurface dst(d, 2, 2), src(s, 2, 2);
            Paint(dst, src);
            const auto before = dst.Bytes();
            if (dst->EffectBlt(EffectBltOp::CrossFade, &src.Info(), &request, &rates) == 0 && dst.Bytes() != before)
                cross.insert({d, s});
        }
    }
    EXPECT_EQ(cross.size(), 16u);
    for (const Pair& p : RatePairs()) {
        if (p.first == p.second) continue;
        EXPECT_EQ(cross.count(p), 1u) << TypeName(p.first) << " <- " << TypeName(p.second);
    }
}

} // namespace
