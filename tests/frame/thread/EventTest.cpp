#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "frame/Event.h"
#include "platform/Clock.h"

using namespace kivotasuGameKit::KTL;

TEST(Event, WaitForAnyTakesTheLowestSignalledIndex)
{
    CEvent a, b, c;
    CEvent* events[] = {&a, &b, &c};
    c.SetEvent();
    b.SetEvent();
    EXPECT_EQ(CEvent::WaitForAny(events, 3, 0), 1);
    EXPECT_EQ(CEvent::WaitForAny(events, 3, 0), 2);
    EXPECT_EQ(CEvent::WaitForAny(events, 3, 10), -1);
}

TEST(Event, AutoResetWithAMirrorFlag)
{
    CEvent event;
    EXPECT_FALSE(event.IsSignaled());
    event.SetEvent();
    EXPECT_EQ(event.Wait(0), 0);
    EXPECT_EQ(event.Wait(0), 1);  // consumed by the first wait
    EXPECT_TRUE(event.IsSignaled());  // but the flag stays until a reset
    event.ResetEvent();
    EXPECT_FALSE(event.IsSignaled());
}

TEST(Event, SetWakesAWaiterOnAnotherThread)
{
    CEvent first, second;
    std::atomic<int> woken{-2};
    std::thread waiter([&] {
        CEvent* events[] = {&first, &second};
        woken = CEvent::WaitForAny(events, 2, CEvent::Infinite);
    });
    second.SetEvent();
    waiter.join();
    EXPECT_EQ(woken, 1);
    EXPECT_EQ(second.Wait(0), 1);
}

TEST(Event, TimeOutRunsOnRealTime)
{
    platform::IClock& clock = platform::Clock();
    CEvent event;
    std::uint32_t start = clock.Now();
    EXPECT_EQ(event.Wait(40), 1);
    EXPECT_GE(clock.Now() - start, 39u);
}
