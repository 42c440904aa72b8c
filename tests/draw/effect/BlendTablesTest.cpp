// Every entry of the blend and fade tables against its formula.

#include <gtest/gtest.h>

#include "draw/effect/BlendTables.h"
#include "draw/effect/EffectBlitter.h"

using namespace kivotasuGameKit;

namespace {

class BlendTablesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CEffectBlitter::BuildBlendTables(); }
};

TEST_F(BlendTablesTest, MulTablesScaleByTheWeightAndItsComplement)
{
    for (int w = 0; w < 256; ++w) {
        for (int c = 0; c < 256; ++c) {
            ASSERT_EQ(MulTable[w * 256 + c], w * c / 255) << w << " " << c;
            ASSERT_EQ(MulInvTable[w * 256 + c], c * (255 - w) / 255) << w << " " << c;
            const int sum = MulTable[w * 256 + c] + MulInvTable[w * 256 + c];
            ASSERT_TRUE(sum == c || sum == c - 1);
        }
    }
    EXPECT_EQ(MulTable[128 * 256 + 200], 100);
    EXPECT_EQ(MulInvTable[128 * 256 + 200], 99);
}

TEST_F(BlendTablesTest, FadeTablesScaleEachFieldByTheLevel)
{
    for (int level = 0; level < 16; ++level) {
        for (int p = 0; p < 65536; ++p) {
            const int r6 = p >> 11, g6 = (p >> 5) & 63, b = p & 31, r5 = (p >> 10) & 31, g5 = (p >> 5) & 31;
            const int f565 = (r6 * level / 15) * 2048 + (g6 * level / 15) * 32 + b * level / 15;
            const int f555 = (r5 * level / 15) * 1024 + (g5 * level / 15) * 32 + b * level / 15;
            ASSERT_EQ(FadeTable565[level * 65536 + p], f565) << level << " " << p;
            ASSERT_EQ(FadeTable555[level * 65536 + p], f555) << level << " " << p;
        }
    }
    EXPECT_EQ(FadeTable565[8 * 65536 + 0xFFFF], 0x8430);
    EXPECT_EQ(FadeTable565[1 * 65536 + 0xFFFF], 0x1082);
    EXPECT_EQ(FadeTable555[8 * 65536 + 0x7FFF], 0x4210);
    EXPECT_EQ(FadeTable555[8 * 65536 + 0xFFFF], 0x4210);
}

TEST_F(BlendTablesTest, BuildingAgainGivesTheSameTables)
{
    const uint16_t before = FadeTable555[3 * 65536 + 0x1234];
    CEffectBlitter::BuildBlendTables();
    EXPECT_EQ(FadeTable555[3 * 65536 + 0x1234], before);
}

} // namespace
