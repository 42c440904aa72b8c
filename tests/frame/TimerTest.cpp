#include <gtest/gtest.h>

#include <vector>

#include "frame/FpsTimer.h"
#include "frame/Timer.h"
#include "platform/Clock.h"

using namespace kivotasuGameKit;

namespace {

class VirtualTime : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto clock = std::make_unique<platform::VirtualClock>(1000);
        m_clock = clock.get();
        platform::InstallClock(std::move(clock));
    }
    void TearDown() override { platform::InstallClock(nullptr); }

    platform::VirtualClock& Clock() { return *m_clock; }

private:
    platform::VirtualClock* m_clock = nullptr;
};

using TimerTest = VirtualTime;
using FpsTimerTest = VirtualTime;

} // namespace

TEST_F(TimerTest, NestedPausesFreezeUntilTheOutermostRestart)
{
    CTimer timer;
    Clock().Advance(100);
    EXPECT_EQ(timer.Get(), 100u);
    timer.Pause();
    timer.Pause();
    Clock().Advance(50);
    timer.Restart();
    Clock().Advance(50);
    EXPECT_EQ(timer.Get(), 100u);  // still frozen
    timer.Restart();
    Clock().Advance(10);
    EXPECT_EQ(timer.Get(), 110u);  // the paused span does not count
    timer.Set(5);
    EXPECT_EQ(timer.Get(), 5u);
}

TEST_F(TimerTest, RestartWithoutPauseLeavesTheNextPauseIneffective)
{
    CTimer timer;
    timer.Restart();  // count -1
    timer.Pause();    // back to 0: not frozen
    Clock().Advance(30);
    EXPECT_EQ(timer.Get(), 30u);
    timer.Reset();
    EXPECT_EQ(timer.Get(), 0u);
}

TEST_F(TimerTest, ResolutionHolderLivesWithTheTimers)
{
    EXPECT_EQ(CTimeBeginPeriod::GetCurrent(), nullptr);
    {
        CTimer a;
        CTimeBeginPeriod* holder = CTimeBeginPeriod::GetCurrent();
        ASSERT_NE(holder, nullptr);
        CTimer b;
        EXPECT_EQ(CTimeBeginPeriod::GetCurrent(), holder);
    }
    EXPECT_EQ(CTimeBeginPeriod::GetCurrent(), nullptr);
}

TEST_F(FpsTimerTest, ThirtyFpsCarriesTheTruncatedStep)
{
    CFpsTimer timer;
    timer.SetFPS(30);
    std::vector<std::uint32_t> lengths;
    std::uint32_t start = Clock().Now();
    std::uint32_t last = start;
    for (int i = 0; i < 30; ++i) {
        timer.WaitFrame();
        lengths.push_back(Clock().Now() - last);
        last = Clock().Now();
        EXPECT_FALSE(timer.IsSkip());
    }
    EXPECT_EQ((std::vector<std::uint32_t>(lengths.begin(), lengths.begin() + 4)),
              (std::vector<std::uint32_t>{33, 33, 33, 34}));
    // 65536000 / 30 truncates to 2184533: 30 frames are 65535990 / 65536 ms.
    EXPECT_EQ(last - start, 999u);
    EXPECT_EQ(timer.GetRealFPS(), 30u);
    EXPECT_EQ(timer.GetCPUPower(), 100);
    EXPECT_EQ(timer.GetFrameCount(), 30u);
}

TEST_F(FpsTimerTest, LagOfThreeFramesSetsSkip)
{
    CFpsTimer timer;
    timer.SetFPS(30);
    Clock().Advance(140);  // 107 ms behind the first 33 ms frame
    std::uint32_t now = Clock().Now();
    timer.WaitFrame();
    EXPECT_TRUE(timer.IsSkip());
    EXPECT_EQ(Clock().Now(), now);  // a late frame does not sleep
    // The next base lies 107 ms back: the next frame starts 74 ms late, which
    // is caught up without a skip or a sleep.
    timer.WaitFrame();
    EXPECT_FALSE(timer.IsSkip());
    EXPECT_EQ(Clock().Now(), now);

    CFpsTimer slight;
    slight.SetFPS(30);
    Clock().Advance(123);  // 90 ms behind
    slight.WaitFrame();
    EXPECT_FALSE(slight.IsSkip());
}

TEST_F(FpsTimerTest, StallOfAQuarterSecondRestartsThePacing)
{
    CFpsTimer timer;
    timer.SetFPS(30);
    Clock().Advance(400);
    timer.WaitFrame();
    EXPECT_FALSE(timer.IsSkip());
    std::uint32_t now = Clock().Now();
    timer.WaitFrame();  // paced from the end of the stall: a whole frame
    EXPECT_EQ(Clock().Now() - now, 33u);
}

TEST_F(FpsTimerTest, ZeroFpsNeverWaits)
{
    CFpsTimer timer;
    timer.SetFPS(0);
    std::uint32_t now = Clock().Now();
    for (int i = 0; i < 5; ++i) {
        Clock().Advance(500);
        timer.WaitFrame();
        EXPECT_FALSE(timer.IsSkip());
    }
    EXPECT_EQ(Clock().Now() - now, 2500u);
    EXPECT_EQ(timer.GetRealFPS(), 0u);  // fewer than 16 frames
}

TEST_F(FpsTimerTest, SkipCountReportsThePreviousSecond)
{
    CFpsTimer timer;
    timer.SetFPS(30);
    Clock().Advance(140);
    timer.WaitFrame();
    ASSERT_TRUE(timer.IsSkip());
    for (int frame = 2; frame <= 30; ++frame) timer.WaitFrame();
    EXPECT_EQ(timer.GetSkipCount(), 0u);  // that second is still running
    timer.WaitFrame();
    EXPECT_EQ(timer.GetSkipCount(), 1u);
}
