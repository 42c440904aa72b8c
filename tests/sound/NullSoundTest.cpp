#include <gtest/gtest.h>

#include "sound/NullSound.h"
#include "sound/NullWaveStream.h"

using namespace kivotasuGameKit;

namespace {

TEST(NullSoundTest, TakesEveryCallAndRemembersOnlyTheLoopFlag)
{
    CNullSound sound;
    EXPECT_FALSE(sound.IsLoopPlay());
    EXPECT_EQ(sound.Open("bgm\\a.wav"), 0);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(sound.Play(), 0);
        EXPECT_FALSE(sound.IsPlay());
        EXPECT_EQ(sound.Pause(), 0);
        EXPECT_EQ(sound.Replay(), 0);
        EXPECT_EQ(sound.Stop(), 0);
        EXPECT_EQ(sound.SetCurrentPos(100), -1);
        EXPECT_EQ(sound.GetCurrentPos(), -1);
        EXPECT_EQ(sound.GetLength(), -1);
        EXPECT_EQ(sound.SetVolume(-500), -1);
        EXPECT_EQ(sound.GetVolume(), -10000);
        EXPECT_EQ(sound.GetType(), 0);
        EXPECT_EQ(sound.GetFileName(), CTextString()) << "the name it was opened with is not kept";
        EXPECT_EQ(sound.SetLoopPlay(round == 0), 0);
        EXPECT_EQ(sound.IsLoopPlay(), round == 0);
    }
    EXPECT_EQ(sound.Close(), 0);
}

TEST(NullSoundTest, ConvertsTimesThroughTheSharedSlots)
{
    CNullSound sound;
    ISound& any = sound;
    std::int32_t h = 9, m = 9, s = 9, ms = 9;
    EXPECT_EQ(any.MsToHmsm(3723004, h, m, s, ms), 0);
    EXPECT_EQ(std::vector<std::int32_t>({h, m, s, ms}), std::vector<std::int32_t>({1, 2, 3, 4}));
    EXPECT_EQ(any.MsToHmsm(-1, h, m, s, ms), -1);
    EXPECT_EQ(h, 1) << "outputs untouched";
    std::int32_t total = 0;
    EXPECT_EQ(any.HmsmToMs(total, 1, 2, 3, 4), 0);
    EXPECT_EQ(total, 3723004);
}

TEST(NullWaveStreamTest, HasNoFormatAndNoData)
{
    CNullWaveStream stream;
    char buffer[16];
    EXPECT_EQ(stream.Open("any.wav"), -1);
    EXPECT_EQ(stream.GetLength(), -1);
    EXPECT_EQ(stream.GetCurrentPos(), -1);
    EXPECT_EQ(stream.SetCurrentPos(0), -1);
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(stream.GetFormat(), nullptr);
    EXPECT_EQ(stream.Close(), -1);
}

} // namespace
