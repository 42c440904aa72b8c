#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "frame/ThreadList.h"

using namespace kivotasuGameKit;
using namespace kivotasuGameKit::KTL;

namespace {

std::atomic<int> g_deleted{0};

// Ends on its own after a while unless stopped first.
class ShortThread : public CThread {
public:
    explicit ShortThread(int sleeps) : m_sleeps(sleeps) {}
    ~ShortThread() override
    {
        StopThread();
        ++g_deleted;
    }

protected:
    void ThreadMain() override
    {
        for (int i = 0; i < m_sleeps && IsValid(); ++i) InterruptibleSleep(10);
    }

private:
    int m_sleeps;
};

} // namespace

TEST(ThreadList, WaitAllReturnsOnceRecordedThreadsEndedAndWereDeleted)
{
    g_deleted = 0;
    for (int i = 0; i < 2; ++i) {
        CSmartPtr<CThread> thread(new ShortThread(5 + i * 5));
        CThreadList::GetInstance()->AddRecord(thread, CSmartPtr<IRunnable>());
        ASSERT_EQ(thread->CreateThread(), 0);
    }
    CThreadList::GetInstance()->WaitAll();
    EXPECT_EQ(g_deleted, 2);
}

TEST(ThreadList, AStartThatFailedIsWrittenOffAndItsThreadObjectDeleted)
{
    g_deleted = 0;
    CSmartPtr<CThread> thread(new ShortThread(0));
    CThreadList::GetInstance()->AddRecord(thread, CSmartPtr<IRunnable>());
    CThreadList::GetInstance()->OnThreadEnd(thread.Get());
    thread.Release();
    EXPECT_EQ(g_deleted, 0) << "the record keeps the object until it is purged";
    CThreadList::GetInstance()->WaitAll();
    EXPECT_EQ(g_deleted, 1) << "the purge released the last reference";
}

TEST(ThreadList, StopAllStopsEveryOtherThreadOnce)
{
    ShortThread a(100000), b(100000);
    ASSERT_EQ(a.CreateThread(), 0);
    ASSERT_EQ(b.CreateThread(), 0);
    EXPECT_TRUE(CThreadList::GetInstance()->StopAll());
    EXPECT_FALSE(a.IsValid());
    EXPECT_FALSE(b.IsValid());
    EXPECT_FALSE(CThreadList::GetInstance()->StopAll());
    CThreadList::GetInstance()->WaitAll();
}
