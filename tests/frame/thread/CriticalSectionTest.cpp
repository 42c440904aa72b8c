#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "frame/CriticalSection.h"
#include "frame/Exceptions.h"

using namespace kivotasuGameKit::KTL;

namespace {

std::string LeaveError(CCriticalSection& section)
{
    try {
        section.Leave();
    } catch (const CRuntimeException& error) {
        return error.GetError().GetStr();
    }
    return "no exception";
}

} // namespace

TEST(CriticalSection, RecursiveEnterNeedsAsManyLeaves)
{
    CCriticalSection section;
    section.Enter();
    section.Enter();
    EXPECT_TRUE(section.IsLockedByCurrentThread());
    section.Leave();
    EXPECT_TRUE(section.IsLockedByCurrentThread());
    section.Leave();
    EXPECT_FALSE(section.IsLockedByCurrentThread());
    EXPECT_EQ(LeaveError(section), "CCriticalSectionをEnterしていないのにLeaveしている");
}

TEST(CriticalSection, LeaveFromAnotherThreadDoesNotReleaseTheOwnersLock)
{
    CCriticalSection section;
    section.Enter();
    std::string error;
    bool ownedThere = true;
    std::thread other([&] {
        ownedThere = section.IsLockedByCurrentThread();
        error = LeaveError(section);
    });
    other.join();
    EXPECT_FALSE(ownedThere);
    EXPECT_EQ(error, "CCriticalSectionをEnterしていないのにLeaveしている");
    EXPECT_TRUE(section.IsLockedByCurrentThread());
    section.Leave();
}

TEST(CriticalSection, ExcludesOtherThreads)
{
    CCriticalSection section;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            CCriticalLock lock(section);
            lock.Enter();  // recursion inside the guard
            ++counter;
        }
    };
    std::thread a(work), b(work), c(work);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(counter, 60000);
}

TEST(CriticalSection, DestroyingAnEnteredSectionThrowsUnlessUnwinding)
{
    auto* section = new CCriticalSection;
    section->Enter();
    try {
        delete section;
        FAIL() << "destroying an entered section went unnoticed";
    } catch (const CRuntimeException& error) {
        EXPECT_EQ(error.GetError().GetStr(), "CCriticalSectionをEnterした回数だけLeaveしないまま終了している");
    }

    // While another exception unwinds, a throw would end the process.
    EXPECT_THROW(
        {
            CCriticalSection entered;
            entered.Enter();
            throw std::logic_error("unwinding");
        },
        std::logic_error);
}

TEST(CriticalLock, LeaveEarlyAndDestructorLeavesTheRest)
{
    CCriticalSection section;
    {
        CCriticalLock lock(section);
        lock.Enter();
        lock.Leave();
        EXPECT_TRUE(section.IsLockedByCurrentThread());
        lock.Leave();
        EXPECT_FALSE(section.IsLockedByCurrentThread());
        lock.Leave();  // count 0: nothing
        EXPECT_FALSE(section.IsLockedByCurrentThread());
    }
    {
        CCriticalLock lock(section);
        lock.Enter();
    }
    EXPECT_FALSE(section.IsLockedByCurrentThread());
    std::atomic<bool> entered{false};
    std::thread other([&] {
        CCriticalLock lock(section);
        entered = true;
    });
    other.join();
    EXPECT_TRUE(entered);
}
