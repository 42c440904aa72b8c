#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/Clock.h"
#include "tests/kit/WallSeconds.h"

TEST(Clock, VirtualClockAdvancesOnSleepAndWraps)
{
    platform::InstallClock(std::make_unique<platform::VirtualClock>(0xFFFFFFF0u));
    platform::IClock& clock = platform::Clock();
    EXPECT_EQ(clock.Now(), 0xFFFFFFF0u);
    clock.Sleep(0x20);
    EXPECT_EQ(clock.Now(), 0x10u);
    EXPECT_EQ(clock.Now() - 0xFFFFFFF0u, 0x20u);  // differences survive the wrap
    platform::InstallClock(nullptr);
}

TEST(Clock, RealClockSleepsAtLeastTheTimeGiven)
{
    platform::InstallClock(nullptr);
    platform::IClock& clock = platform::Clock();
    const double waited = testkit::ThreadsScheduled().at(gettid()).waiting;
    std::uint32_t start = clock.Now();
    clock.Sleep(30);
    std::uint32_t elapsed = clock.Now() - start;
    EXPECT_GE(elapsed, 29u);
    // Not seconds: less the time it waited for a processor once awake, which load adds.
    EXPECT_LT(elapsed - 1000 * (testkit::ThreadsScheduled().at(gettid()).waiting - waited), 1000.0);
}
