#include "AppFixture.h"

#include "frame/AppManager.h"
#include "frame/ImeSwitch.h"
#include "platform/CloseLatch.h"
#include "tests/kit/RecordingErrorLog.h"

#include <thread>

using namespace kivotasuGameKit;
using namespace apptest;
using platform::WindowMessage;

namespace {

using Messages = std::vector<std::uint32_t>;

} // namespace

TEST_F(AppTest, PumpDispatchesInOrderAndAWindowCloseEndsTheThread)
{
    RecordingHook hook;
    platform::WindowHandle window = 0;
    TestApp app([&](TestApp& self) {
        window = self.GetHWnd();
        CAppManager::GetInstance()->Hook(&hook);
        windows->Feed(window, platform::WM_PAINT);
        windows->Feed(window, platform::WM_LBUTTONDOWN);
        EXPECT_TRUE(self.IsThreadValid());
        EXPECT_EQ(hook.seen, (Messages{platform::WM_PAINT, platform::WM_LBUTTONDOWN}));
        windows->Feed(window, platform::WM_CLOSE);
        EXPECT_FALSE(self.IsThreadValid());
    });
    app.Run();

    // The tear-down: WM_DESTROY went through the hooks, then the window went.
    EXPECT_EQ(hook.seen.back(), platform::WM_DESTROY);
    ASSERT_NE(window, 0u);
    EXPECT_FALSE(windows->State(window)->visible);
    EXPECT_TRUE(windows->State(window)->destroyed);
    EXPECT_EQ(CAppManager::GetInstance()->GetMyWindowApp(), nullptr);
    EXPECT_EQ(app.GetHWnd(), 0u);
}

// A close asked elsewhere (a signal latches it) needs no message.
TEST_F(AppTest, ALatchedCloseEndsThePumpWithoutAMessage)
{
    RecordingHook hook;
    TestApp signalled([&](TestApp& self) {
        CAppManager::GetInstance()->Hook(&hook);
        platform::LatchClose();
        EXPECT_FALSE(self.IsThreadValid());
        CAppManager::GetInstance()->Unhook(&hook);
    });
    signalled.Run();
    EXPECT_TRUE(hook.seen.empty());
}

TEST_F(AppTest, MinimisedWindowHoldsThePumpUntilRestoredWhenAsked)
{
    TestApp app([&](TestApp& self) {
        const auto window = self.GetHWnd();
        windows->Minimize(window);
        // Without the switch the pump takes the message and goes on.
        EXPECT_TRUE(self.IsThreadValid());
        EXPECT_TRUE(self.GetWindow()->IsMinimized());

        self.SetBlockWhileMinimized(true);
        std::thread restorer([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            windows->Restore(window);
        });
        EXPECT_TRUE(self.IsThreadValid());
        EXPECT_FALSE(self.GetWindow()->IsMinimized());
        restorer.join();

        // A close while minimised still ends the wait.
        windows->Minimize(window);
        windows->Feed(window, platform::WM_CLOSE);
        EXPECT_FALSE(self.IsThreadValid());
        EXPECT_TRUE(self.GetWindow()->IsMinimized());
    });
    app.Run();
}

TEST_F(AppTest, MessageDrivenPumpWakesForPostsFromOtherThreads)
{
    RecordingHook hook;
    TestApp app([&](TestApp& self) {
        CAppManager::GetInstance()->Hook(&hook);
        self.SetMessageDriven(true);
        std::thread poster([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            platform::Windows().PostMessage(self.GetHWnd(), platform::WM_USER + 5, 0, 0);
        });
        EXPECT_TRUE(self.IsThreadValid());
        poster.join();
        EXPECT_EQ(hook.seen, (Messages{platform::WM_USER + 5}));

        // A stop from another thread posts WM_CLOSE, which wakes the wait.
        std::thread stopper([&] { self.PostClose(); });
        stopper.join();
        EXPECT_FALSE(self.IsThreadValid());
        CAppManager::GetInstance()->Unhook(&hook);
    });
    app.Run();
}

TEST_F(AppTest, TimedCallbacksRunFromThePump)
{
    auto* clock = new platform::VirtualClock;
    platform::InstallClock(std::unique_ptr<platform::IClock>(clock));
    int calls = 0;
    TestApp app([&](TestApp& self) {
        self.GetTimerList().Add(1, 0, 20, 3, MakeCallback([&] { ++calls; }));
        for (int frame = 0; frame < 8; ++frame) {
            self.IsThreadValid();
            clock->Advance(20);
        }
        self.PostClose();
    });
    app.Run();
    EXPECT_EQ(calls, 3);
}

TEST_F(AppTest, ManagerAnswersOnlyTheApplicationsThread)
{
    testkit::ScopedErrorLogRecorder log;
    TestApp app([&](TestApp& self) {
        CAppManager* manager = CAppManager::GetInstance();
        EXPECT_EQ(manager->GetMyWindowApp(), &self);
        EXPECT_EQ(manager->GetMyWindow(), self.GetWindow());
        EXPECT_EQ(manager->GetHWnd(), self.GetHWnd());
        EXPECT_EQ(GetMyHWnd(), self.GetHWnd());

        std::thread other([&] {
            EXPECT_EQ(manager->GetMyWindowApp(), nullptr);
            EXPECT_EQ(manager->GetMyWindow(), nullptr);
            EXPECT_EQ(manager->GetHWnd(), 0u);
            // A screen manager without an application has no place.
            IFastDraw draw;
            manager->Add(&draw);
            EXPECT_EQ(manager->GetMyDraw(), nullptr);
        });
        other.join();
        EXPECT_TRUE(log->Contains("CAppManager::Addするのに空きが無い"));
        log->Clear();

        manager->Add(&self);
        EXPECT_TRUE(log->Contains("CAppManager::Addするのに空きが無い"));
        EXPECT_EQ(manager->GetMyWindowApp(), &self);
        self.PostClose();
    });
    app.Run();
    EXPECT_EQ(CAppManager::GetInstance()->GetMyWindowApp(), nullptr);
}

TEST_F(AppTest, TheApplicationsWindowIsInTheImeMapWhileItsThreadRuns)
{
    platform::WindowHandle seen = 0;
    TestApp app([&](TestApp& self) {
        seen = GetImeWindowMap()->Find();
        EXPECT_EQ(seen, self.GetHWnd());
        std::thread other([&] { EXPECT_EQ(GetImeWindowMap()->Find(), 0u); });
        other.join();
        self.PostClose();
    });
    app.Run();
    EXPECT_NE(seen, 0u);
}

TEST_F(AppTest, FailedWindowEndsTheThreadBeforeMainThread)
{
    testkit::ScopedErrorLogRecorder log;
    bool ran = false;
    TestApp app([&](TestApp&) { ran = true; });
    windows->FailNextCreate();
    app.Run();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(log->Contains("CWindow::CreateでCreateWindowに失敗。"));
}

TEST_F(AppTest, WaitForWindowReturnsOnceMainThreadRunsOrTheThreadIsGone)
{
    std::atomic<bool> release{false};
    TestApp app([&](TestApp& self) {
        while (!release.load())
            std::this_thread::yield();
    });
    EXPECT_EQ(app.WaitForWindow(), 0);
    EXPECT_TRUE(app.IsInMainThread());
    release = true;
    app.StopThread();

    TestApp failing;
    windows->FailNextCreate();
    EXPECT_EQ(failing.WaitForWindow(), 1);
}
