#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "frame/Mutex.h"
#include "platform/NamedLock.h"
#include "tests/kit/LockFolder.h"

TEST(NamedLock, SecondOpenFindsItHeld)
{
    LockFolder locks;
    kivotasuGameKit::KTL::CMutex first, second;
    EXPECT_EQ(first.Open(locks.Name("held")), 0);
    EXPECT_EQ(second.Open(locks.Name("held")), 1);
    EXPECT_EQ(kivotasuGameKit::KTL::CMutex().Open(locks.Name("other")), 0);  // other names are free
    first.Release();
    EXPECT_EQ(second.Open(locks.Name("held")), 0);
    second.Release();
    EXPECT_EQ(locks.Files(), 0u) << "a holder removes its file as it lets go";
}

// The holder removes the file the waiter waits on: the waiter takes the lock
// on the file of that name, so a third opener still finds it held.
TEST(NamedLock, WaitBlocksUntilTheHolderLetsGo)
{
    LockFolder locks;
    const std::string name = locks.Name("waited");
    platform::NamedLock holder;
    ASSERT_EQ(holder.Open(name), platform::NamedLock::Acquired);
    std::atomic<bool> acquired{false};
    platform::NamedLock waiter;
    std::thread waiting([&] {
        EXPECT_EQ(waiter.Open(name), platform::NamedLock::HeldElsewhere);
        waiter.Wait();
        acquired = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(acquired);
    holder.Close();
    waiting.join();
    EXPECT_TRUE(acquired);
    EXPECT_EQ(platform::NamedLock().Open(name), platform::NamedLock::HeldElsewhere);
    waiter.Close();
    EXPECT_EQ(locks.Files(), 0u);
}

// A runtime folder that is relative or cannot take the file must not read as
// another instance: the lock lives in /tmp then, and still excludes.
TEST(NamedLock, AnUnusableRuntimeFolderFallsBackAndStillExcludes)
{
    LockFolder locks;
    for (const char* dir : {"relative/run", "/nonexistent-quiltor-runtime"}) {
        setenv("XDG_RUNTIME_DIR", dir, 1);
        const std::string name = locks.Name(dir);
        platform::NamedLock first, second;
        EXPECT_EQ(first.Open(name), platform::NamedLock::Acquired) << dir;
        EXPECT_EQ(second.Open(name), platform::NamedLock::HeldElsewhere) << dir;
    }
}
