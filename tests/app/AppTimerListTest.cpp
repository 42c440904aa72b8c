#include "frame/AppTimerList.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <string>

using namespace kivotasuGameKit;

namespace {

class AppTimerListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<platform::VirtualClock>(1000);
        clock = owned.get();
        platform::InstallClock(std::move(owned));
        // The list's own timer starts now, at 1000.
        timers = std::make_unique<CAppTimerList>();
    }

    platform::VirtualClock* clock = nullptr;
    std::unique_ptr<CAppTimerList> timers;
};

} // namespace

TEST_F(AppTimerListTest, RecordWithCountThreeRunsThreeTimesThenGoes)
{
    int calls = 0;
    ASSERT_TRUE(timers->Add(1, 0, 20, 3, MakeCallback([&] { ++calls; })));
    for (int frame = 0; frame < 10; ++frame) {
        timers->Dispatch();
        clock->Advance(20);
    }
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(timers->GetCount(), 0u);
}

TEST_F(AppTimerListTest, DueTimesFollowDelayAndInterval)
{
    int calls = 0;
    timers->Add(1, 50, 20, 0, MakeCallback([&] { ++calls; }));
    clock->Advance(49);
    timers->Dispatch();
    EXPECT_EQ(calls, 0);
    clock->Advance(1); // 50: first call
    timers->Dispatch();
    EXPECT_EQ(calls, 1);
    clock->Advance(45); // 95: due at 70 and 90, both run now
    timers->Dispatch();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(timers->GetCount(), 1u);
}

TEST_F(AppTimerListTest, IntervalZeroIsRefusedOnlyForEver)
{
    int forEver = 0, once = 0, thrice = 0;
    EXPECT_FALSE(timers->Add(1, 0, 0, 0, MakeCallback([&] { ++forEver; })));
    EXPECT_TRUE(timers->Add(2, 0, 0, 1, MakeCallback([&] { ++once; })));
    EXPECT_TRUE(timers->Add(3, 10, 0, 3, MakeCallback([&] { ++thrice; })));
    timers->Dispatch();
    EXPECT_EQ(once, 1);
    EXPECT_EQ(thrice, 0);
    clock->Advance(10);
    timers->Dispatch();
    timers->Dispatch();
    EXPECT_EQ(forEver, 0);
    EXPECT_EQ(once, 1);
    EXPECT_EQ(thrice, 3);
    EXPECT_EQ(timers->GetCount(), 0u);
}

TEST_F(AppTimerListTest, RemoveStopsEveryRecordOfTheId)
{
    std::string trace;
    timers->Add(7, 0, 10, 0, MakeCallback([&] { trace += 'a'; }));
    timers->Add(8, 0, 10, 0, MakeCallback([&] { trace += 'b'; }));
    timers->Add(7, 0, 10, 0, MakeCallback([&] { trace += 'c'; }));
    timers->Remove(7);
    timers->Dispatch();
    EXPECT_EQ(trace, "b");
    EXPECT_EQ(timers->GetCount(), 1u);
}

TEST_F(AppTimerListTest, CallbacksMayRemoveAndAddDuringDispatch)
{
    std::string trace;
    // 'a' removes 'b' (due but not yet called) and itself, then adds many
    // records so the list must grow under the running dispatch.
    timers->Add(1, 0, 10, 0, MakeCallback([&] {
        trace += 'a';
        timers->Remove(2);
        timers->Remove(1);
        for (int i = 0; i < 64; ++i)
            timers->Add(100 + i, 5, 10, 1, MakeCallback([&] { trace += 'n'; }));
    }));
    timers->Add(2, 0, 10, 0, MakeCallback([&] { trace += 'b'; }));

    clock->Advance(30); // 'a' is due three times over but removes itself at once
    timers->Dispatch();
    EXPECT_EQ(trace, "a");
    EXPECT_EQ(timers->GetCount(), 64u);

    clock->Advance(5);
    timers->Dispatch();
    EXPECT_EQ(trace, "a" + std::string(64, 'n'));
    EXPECT_EQ(timers->GetCount(), 0u);
}

TEST_F(AppTimerListTest, DueTimeComparisonSurvivesTheClockWrapping)
{
    CTimer late;
    late.Set(0xFFFFFFF0u);
    timers->SetClock(&late);
    int calls = 0;
    timers->Add(1, 0, 0x20, 0, MakeCallback([&] { ++calls; }));
    timers->Dispatch();
    EXPECT_EQ(calls, 1);
    clock->Advance(0x20); // the elapsed time wraps past zero; the next due time with it
    timers->Dispatch();
    EXPECT_EQ(calls, 2);
    timers->SetClock(nullptr);
}
