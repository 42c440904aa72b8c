// Copy and keyed copy of every served pair against the reference model, in
// every request shape, guard bytes included.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "draw/effect/PaletteTable.h"
#include "tests/draw/effect/BlitCases.h"
#include "tests/draw/effect/FamilyKit.h"
#include "tests/draw/effect/RefCopy.h"

using namespace pixelkit;
using kivotasuGameKit::EffectBltOp;
using kivotasuGameKit::Blend::SimdLevel;

namespace {

// Operation 0, as the format grid lists it, plus ABGR8888 from RGB888 and
// XRGB8888 (served with operation 1's conversion).
std::vector<Pair> CopyPairs()
{
    std::vector<Pair> pairs{{kPal8, kRGB555}};
    for (int32_t d : {kRGB565, kRGB555, kRGB888, kBGR888, kXRGB8888, kXBGR8888})
        for (int32_t s : AllFormatsButPal8()) pairs.push_back({d, s});
    for (int32_t s : {kRGB565, kARGB4565, kARGB4555, kARGB8888, kABGR8888}) pairs.push_back({kARGB4565, s});
    for (int32_t s : {kRGB555, kARGB4565, kARGB4555, kARGB8888, kABGR8888}) pairs.push_back({kARGB4555, s});
    for (int32_t d : {kARGB8888, kABGR8888})
        for (int32_t s : {kRGB888, kBGR888, kXRGB8888, kXBGR8888, kARGB4565, kARGB4555, kARGB8888, kABGR8888})
            pairs.push_back({d, s});
    return pairs;
}

std::vector<Pair> StandardPairs()
{
    std::vector<Pair> pairs;
    for (int32_t t : AllFormatsButPal8()) pairs.push_back({t, t});
    for (Pair p : std::vector<Pair>{{kRGB565, kARGB4565}, {kRGB555, kARGB4555}, {kRGB888, kARGB8888},
                                    {kXRGB8888, kARGB8888}, {kBGR888, kABGR8888}, {kXBGR8888, kABGR8888},
                                    {kARGB4565, kRGB565}, {kARGB4555, kRGB555}})
        pairs.push_back(p);
    for (int32_t d : {kARGB8888, kABGR8888})
        for (int32_t s : {kRGB888, kBGR888, kXRGB8888, kXBGR8888}) pairs.push_back({d, s});
    return pairs;
}

// Writes the key colour into about a third of the cells, with varying alpha
// and spare bytes, so that both matching and near-matching pixels occur.
void PlantKey(TestSurface& s, uint32_t key, std::mt19937& rng)
{
    RefPixel k;
    k.r = (key >> 16) & 0xFF;
    k.g = (key >> 8) & 0xFF;
    k.b = key & 0xFF;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            if (rng() % 3) continue;
            uint8_t* c = s.Cell(x, y);
            RefWrite(s.Type(), c, k);
            if (s.Type() == kARGB8888 || s.Type() == kABGR8888 || s.Type() == kXRGB8888 || s.Type() == kXBGR8888)
                c[3] = rng() % 2 ? 0 : uint8_t(rng());
            if (s.Type() == kARGB4565 || s.Type() == kARGB4555) c[2] = uint8_t(rng() % 16);
        }
    }
}

class CopyFamilyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (auto& entry : kivotasuGameKit::PaletteTable) entry = uint8_t(rng());
    }

    void Check(EffectBltOp op, Pair pair, const BlitCase& c, bool keyed)
    {
        TestSurface dst(pair.first, c.dstWidth, c.dstHeight), src(pair.second, c.srcWidth, c.srcHeight);
        dst.FillRandom(rng);
        src.FillRandom(rng);
        const uint32_t key = rng();
        src->SetColorKey(key);
        if (keyed) PlantKey(src, key, rng);
        const auto expected = RefBlit(dst, src, c.request, [&](uint8_t* d, const uint8_t* s) {
            if (!keyed || !RefKeyMatches(pair.second, s, key))
                RefCopyPixel(pair.first, pair.second, d, s, kivotasuGameKit::PaletteTable);
        });
        const auto params = c.request.Params();
        ASSERT_EQ(dst->EffectBlt(op, &src.Info(), &params, nullptr), 0);
        const std::string diff = FirstDifference(dst, expected, dst.Bytes());
        ASSERT_TRUE(diff.empty()) << TypeName(pair.first) << " <- " << TypeName(pair.second) << ", " << c.name
                                  << ": " << diff;
    }

    void CheckAllCases(EffectBltOp op, const std::vector<Pair>& pairs, bool keyed)
    {
        auto cases = StandardBlitCases();
        const auto narrow = NarrowRowCases();
        cases.insert(cases.end(), narrow.begin(), narrow.end());
        for (const Pair& pair : pairs)
            for (const BlitCase& c : cases) Check(op, pair, c, keyed);
    }

    std::mt19937 rng{20240501};
};

TEST_F(CopyFamilyTest, EveryServedCopyMatchesTheReferenceAtEveryLevel)
{
    ASSERT_EQ(CopyPairs().size(), 87u);
    for (SimdLevel level : {SimdLevel::None, SimdLevel::Sse2, SimdLevel::Avx2}) {
        SCOPED_TRACE(SimdLevelName(level));
        CappedSimd cap(level);
        CheckAllCases(EffectBltOp::Copy, CopyPairs(), false);
    }
}

TEST_F(CopyFamilyTest, EveryServedKeyCopyMatchesTheReferenceAtEveryLevel)
{
    ASSERT_EQ(StandardPairs().size(), 26u);
    for (SimdLevel level : {SimdLevel::None, SimdLevel::Sse2, SimdLevel::Avx2}) {
        SCOPED_TRACE(SimdLevelName(level));
        CappedSimd cap(level);
        CheckAllCases(EffectBltOp::KeyCopy, StandardPairs(), true);
    }
}

} // namespace
