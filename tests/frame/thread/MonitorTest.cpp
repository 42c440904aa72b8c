#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "frame/Exceptions.h"
#include "frame/Monitor.h"
#include "frame/Thread.h"

using namespace kivotasuGameKit::KTL;

namespace {

// Waits on the monitor after announcing itself under its lock, so that once
// the announcement is seen the waiter is registered.
struct Waiters {
    CMonitor monitor;
    int registered = 0;
    std::vector<int> woken;

    void WaitAs(int id)
    {
        CCriticalLock lock(monitor);
        ++registered;
        monitor.Wait();
        woken.push_back(id);
    }

    void AwaitRegistered(int count)
    {
        for (;;) {
            CCriticalLock lock(monitor);
            if (registered == count) return;
            lock.Leave();
            std::this_thread::yield();
        }
    }

    std::size_t WokenCount()
    {
        CCriticalLock lock(monitor);
        return woken.size();
    }
};

} // namespace

TEST(Monitor, OperationsNeedTheLock)
{
    CMonitor monitor;
    EXPECT_THROW(monitor.Wait(0), CIllegalMonitorStateException);
    EXPECT_THROW(monitor.Notify(), CIllegalMonitorStateException);
    EXPECT_THROW(monitor.NotifyAll(), CIllegalMonitorStateException);
    CCriticalLock lock(monitor);
    monitor.Notify();  // nobody waits: nothing happens
    EXPECT_EQ(monitor.Wait(20), 1);
    EXPECT_TRUE(monitor.IsLockedByCurrentThread());
}

TEST(Monitor, NotifyWakesTheLastWaiter)
{
    Waiters waiters;
    std::thread first([&] { waiters.WaitAs(1); });
    waiters.AwaitRegistered(1);
    std::thread second([&] { waiters.WaitAs(2); });
    waiters.AwaitRegistered(2);
    {
        CCriticalLock lock(waiters.monitor);
        waiters.monitor.Notify();
    }
    while (waiters.WokenCount() == 0) std::this_thread::yield();
    {
        CCriticalLock lock(waiters.monitor);
        EXPECT_EQ(waiters.woken, std::vector<int>{2});
        waiters.monitor.NotifyAll();
    }
    first.join();
    second.join();
    EXPECT_EQ(waiters.woken.size(), 2u);
}

TEST(Monitor, WaitLeavesOnlyOneLevel)
{
    CMonitor monitor;
    std::atomic<bool> entered{false};
    CCriticalLock lock(monitor);
    lock.Enter();
    std::thread other([&] {
        CCriticalLock otherLock(monitor);
        entered = true;
    });
    EXPECT_EQ(monitor.Wait(50), 1);
    EXPECT_FALSE(entered);  // still held once while waiting
    lock.Leave();
    lock.Leave();
    other.join();
    EXPECT_TRUE(entered);
}

namespace {

class WaitingThread : public CThread {
public:
    CMonitor monitor;
    std::atomic<bool> waiting{false};
    std::atomic<bool> interrupted{false};

    ~WaitingThread() override { StopThread(); }

protected:
    void ThreadMain() override
    {
        CCriticalLock lock(monitor);
        waiting = true;
        try {
            monitor.Wait();
        } catch (const CInterruptedException&) {
            interrupted = true;
        }
    }
};

} // namespace

TEST(Monitor, InterruptWakesAnSdkThread)
{
    WaitingThread thread;
    ASSERT_EQ(thread.CreateThread(), 0);
    while (!thread.waiting) std::this_thread::yield();
    {
        // Once we hold the lock the thread is inside Wait.
        CCriticalLock lock(thread.monitor);
    }
    thread.Interrupt();
    EXPECT_EQ(thread.StopThread(), 0);
    EXPECT_TRUE(thread.interrupted);
}
