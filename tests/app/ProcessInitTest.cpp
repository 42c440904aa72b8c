#include "AppFixture.h"

#include "frame/FirstInstance.h"
#include "frame/InitExitList.h"
#include "frame/ProcessInit.h"
#include "frame/Singleton.h"
#include "platform/Thread.h"
#include "tests/kit/LockFolder.h"

#include <algorithm>

using namespace kivotasuGameKit;
using namespace apptest;

namespace {

std::atomic<int> exitListRuns{0};
// Outlives the test: the record stays published after Term.
WinMainArgs startRecord;

} // namespace

TEST_F(AppTest, StartRunsTheAppOnItsOwnThreadAndTheEndWaitsForIt)
{
    CInitExitList::GetInstance()->AddExit(MakeCallback([] { ++exitListRuns; }));
    CProcessInit::Init(startRecord, 1, 0, "-x", 1);
    EXPECT_EQ(GetWinMainArgs(), &startRecord);
    EXPECT_STREQ(GetWinMainArgs()->commandLine, "-x");
    EXPECT_EQ(MultiThreadFlag.load(), 1);

    std::atomic<bool> deleted{false};
    std::atomic<std::uint32_t> bodyThread{0};
    auto* app = new TestApp(
        [&](TestApp& self) {
            bodyThread = platform::CurrentThreadId();
            windows->Feed(self.GetHWnd(), platform::WM_CLOSE);
            while (self.IsThreadValid()) {
            }
        },
        &deleted);
    EXPECT_EQ(CProcessInit::Run(app), 0);
    CProcessInit::Term();

    // Term returned only after the thread ended and its object was deleted.
    EXPECT_TRUE(deleted);
    EXPECT_NE(bodyThread.load(), 0u);
    EXPECT_NE(bodyThread.load(), platform::CurrentThreadId());
    EXPECT_EQ(MultiThreadFlag.load(), 0);
    EXPECT_EQ(exitListRuns.load(), 1);
    // The window went on the application thread, before the object holding it.
    EXPECT_TRUE(windows->State(windows->Created().back())->destroyed);
    EXPECT_EQ(windows->State(windows->Created().back())->destroyingThread, bodyThread.load());
}

TEST_F(AppTest, AThreadThatCannotStartDoesNotHoldTheEnd)
{
    CProcessInit::Init(startRecord, 0, 0, "", 1);
    std::atomic<bool> deleted{false};
    platform::SetThreadStartFailure(true);
    EXPECT_EQ(CProcessInit::Run(new TestApp({}, &deleted)), -1);
    platform::SetThreadStartFailure(false);
    CProcessInit::Term();
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(windows->Created().empty());
}

TEST(FirstInstance, SecondHolderOfTheNameIsRefusedUntilTheFirstLetsGo)
{
    LockFolder locks;
    const CTextString name = locks.Name("first instance");
    auto first = std::make_unique<KTL::CMutex>();
    KTL::CMutex second;
    EXPECT_TRUE(IsFirstInstance(*first, name));
    EXPECT_FALSE(IsFirstInstance(second, name));
    first.reset();
    EXPECT_TRUE(IsFirstInstance(second, name));
}

TEST(FirstInstance, DefaultNameIsTheExecutablePathWithQuestionMarks)
{
    const std::string name = DefaultInstanceName().GetStr();
    // The host root is the drive Z:, so the path starts "Z:\" before the change.
    EXPECT_EQ(name.rfind("Z:?", 0), 0u);
    EXPECT_EQ(name.find('\\'), std::string::npos);
    EXPECT_GE(std::count(name.begin(), name.end(), '?'), 2);
}
