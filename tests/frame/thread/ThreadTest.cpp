#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "frame/CurrentThreadMap.h"
#include "frame/Exceptions.h"
#include "frame/Thread.h"
#include "platform/Thread.h"

using namespace kivotasuGameKit;
using namespace kivotasuGameKit::KTL;

namespace {

// Runs until stopped, sleeping interruptibly; records what it saw of itself.
class PollingThread : public CThread {
public:
    std::atomic<bool> running{false};
    std::atomic<bool> sawItselfInMap{false};
    std::atomic<std::uint32_t> idInBody{NoThread};
    std::atomic<int> sleepResult{-1};
    std::atomic<bool> interrupted{false};
    std::atomic<int> bodies{0};

    ~PollingThread() override { StopThread(); }

protected:
    void ThreadMain() override
    {
        ++bodies;
        idInBody = GetThreadId();
        sawItselfInMap = CurrentThreadMap.Get() == this;
        try {
            // Running once past the check, so that a stop seen as soon as it
            // runs is one its sleep sees.
            while (IsValid()) {
                running = true;
                sleepResult = InterruptibleSleep(1000);
            }
        } catch (const CInterruptedException&) {
            interrupted = true;
        }
    }
};

class CountingRunnable : public IRunnable {
public:
    std::atomic<int> runs{0};
    void Run() override { ++runs; }
};

} // namespace

TEST(Thread, StopOnANeverStartedThreadReturnsAtOnce)
{
    PollingThread thread;
    EXPECT_EQ(thread.StopThread(), 0);
    EXPECT_EQ(thread.GetThreadId(), CThread::NoThread);
    EXPECT_FALSE(thread.IsStarted());
}

TEST(Thread, StartRunsTheBodyAndStopJoinsIt)
{
    PollingThread thread;
    ASSERT_EQ(thread.CreateThread(), 0);
    EXPECT_TRUE(thread.IsStarted());
    EXPECT_TRUE(thread.IsValid());
    while (!thread.running) std::this_thread::yield();
    EXPECT_NE(thread.idInBody, CThread::NoThread);
    EXPECT_NE(thread.idInBody, platform::CurrentThreadId());
    EXPECT_TRUE(thread.sawItselfInMap);

    EXPECT_EQ(thread.StopThread(), 0);
    EXPECT_EQ(thread.sleepResult, 1);  // the 1000 ms sleep ended on the stop, not on its time
    EXPECT_FALSE(thread.IsValid());
    EXPECT_EQ(thread.GetHandle(), 0u);
    EXPECT_TRUE(CurrentThreadMap.IsMissing());
}

TEST(Thread, StopFromInsideOnlySignals)
{
    class SelfStopping : public CThread {
    public:
        std::atomic<int> result{-1};
        ~SelfStopping() override { StopThread(); }

    protected:
        void ThreadMain() override { result = StopThread(); }
    } thread;
    ASSERT_EQ(thread.CreateThread(), 0);
    while (thread.result == -1) std::this_thread::yield();
    EXPECT_EQ(thread.result, 2);
    EXPECT_NE(thread.GetHandle(), 0u);  // the handle stays for the real join
    EXPECT_EQ(thread.StopThread(), 0);
}

TEST(Thread, InterruptEndsTheSleepWithAnException)
{
    PollingThread thread;
    ASSERT_EQ(thread.CreateThread(), 0);
    while (!thread.running) std::this_thread::yield();
    thread.Interrupt();
    EXPECT_EQ(thread.StopThread(), 0);
    EXPECT_TRUE(thread.interrupted);
}

TEST(Thread, PendingInterruptThrowsBeforeSleeping)
{
    PollingThread thread;
    thread.Interrupt();
    EXPECT_TRUE(thread.IsInterrupted());
    EXPECT_THROW(thread.InterruptibleSleep(5000), CInterruptedException);
    EXPECT_FALSE(thread.IsInterrupted());  // the test consumed it
    EXPECT_EQ(thread.InterruptibleSleep(10), 0);
}

TEST(Thread, RestartingARunningThreadJoinsTheFirstRun)
{
    PollingThread thread;
    ASSERT_EQ(thread.CreateThread(), 0);
    while (!thread.running) std::this_thread::yield();
    ASSERT_EQ(thread.CreateThread(), 0);  // must not deadlock on its own lock
    EXPECT_EQ(thread.StopThread(), 0);
    EXPECT_EQ(thread.bodies, 2);
}

TEST(Thread, RunnableReplacesTheBody)
{
    PollingThread thread;
    CSmartPtr<CountingRunnable> runnable(new CountingRunnable);
    ASSERT_EQ(thread.StartThread(CSmartPtr<IRunnable>(runnable)), 0);
    EXPECT_EQ(thread.StopThread(), 0);
    EXPECT_EQ(runnable->runs, 1);
    EXPECT_EQ(thread.bodies, 0);
    EXPECT_EQ(runnable.GetHolder()->GetCount(), 1u);  // the thread let go of it
}

TEST(Thread, RunExecutesOnTheCallingThread)
{
    class Synchronous : public CThread {
    public:
        std::uint32_t seen = NoThread;

    protected:
        void ThreadMain() override { seen = GetThreadId(); }
    } thread;
    EXPECT_EQ(thread.Run(), 0);
    EXPECT_EQ(thread.seen, platform::CurrentThreadId());
    EXPECT_EQ(thread.GetThreadId(), CThread::NoThread);
    EXPECT_FALSE(thread.IsStarted());
}

TEST(Thread, FailedCreationAndStackSize)
{
    PollingThread thread;
    platform::SetThreadStartFailure(true);
    EXPECT_EQ(thread.CreateThread(), -1);
    platform::SetThreadStartFailure(false);

    thread.SetStackSize(64 * 1024);
    ASSERT_EQ(thread.CreateThread(), 0);
    EXPECT_EQ(thread.StopThread(), 0);
    EXPECT_EQ(thread.bodies, 1);
}
