#include <gtest/gtest.h>

#include "frame/MersenneTwister.h"
#include "frame/TimeConversion.h"

using namespace kivotasuGameKit;

TEST(MersenneTwister, ReferenceSequenceOfSeed4357)
{
    CMersenneTwister seeded;
    seeded.SetSeed(4357);
    const std::uint32_t expected[] = {2867219139u, 1585203162u, 3113124129u, 2953900839u, 2463794868u};
    for (std::uint32_t value : expected) EXPECT_EQ(seeded.Get(), value);

    CMersenneTwister unseeded;
    EXPECT_EQ(unseeded.Get(), expected[0]);
}

TEST(MersenneTwister, CopiedStateContinuesTheSequence)
{
    CMersenneTwister a;
    a.SetSeed(12345);
    for (int i = 0; i < 700; ++i) a.Get();  // past one regeneration
    CMersenneTwister b = a;
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(a.Get(), b.Get());

    CMersenneTwister c, d;
    c.SetSeed(1);
    d.SetSeed(2);
    EXPECT_NE(c.Get(), d.Get());
}

TEST(TimeConversion, BothWays)
{
    std::int32_t h = -9, m = -9, s = -9, ms = -9;
    EXPECT_EQ(MsToHmsm(3723004, h, m, s, ms), 0);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(s, 3);
    EXPECT_EQ(ms, 4);
    EXPECT_EQ(MsToHmsm(100 * 3600000, h, m, s, ms), 0);
    EXPECT_EQ(h, 100);  // no limit at 24
    EXPECT_EQ(MsToHmsm(-1, h, m, s, ms), -1);
    EXPECT_EQ(h, 100);

    std::int32_t total = -9;
    EXPECT_EQ(HmsmToMs(total, 1, 2, 3, 4), 0);
    EXPECT_EQ(total, 3723004);
    EXPECT_EQ(HmsmToMs(total, 0, -1, 0, 0), -1);
    EXPECT_EQ(total, 3723004);
    // 1193 h 2 min 47.296 s is exactly 2^32 ms: wraps to 0 without overflow.
    EXPECT_EQ(HmsmToMs(total, 1193, 2, 47, 296), 0);
    EXPECT_EQ(total, 0);
}
