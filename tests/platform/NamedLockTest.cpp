#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

#include "frame/Mutex.h"
#include "platform/NamedLock.h"

namespace {

std::string UniqueName()
{
    std::random_device random;
    return "C:?games?quiltor" + std::to_string(random()) + std::to_string(random()) + ".exe";
}

} // namespace

TEST(NamedLock, SecondOpenFindsItHeld)
{
    std::string name = UniqueName();
    kivotasuGameKit::KTL::CMutex first, second;
    EXPECT_EQ(first.Open(name), 0);
    EXPECT_EQ(second.Open(name), 1);
    EXPECT_EQ(kivotasuGameKit::KTL::CMutex().Open(UniqueName()), 0);  // other names are free
    first.Release();
    EXPECT_EQ(second.Open(name), 0);
}

TEST(NamedLock, WaitBlocksUntilTheHolderLetsGo)
{
    std::string name = UniqueName();
    platform::NamedLock holder;
    ASSERT_EQ(holder.Open(name), platform::NamedLock::Acquired);
    std::atomic<bool> acquired{false};
    std::thread waiter([&] {
        platform::NamedLock lock;
        EXPECT_EQ(lock.Open(name), platform::NamedLock::HeldElsewhere);
        lock.Wait();
        acquired = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(acquired);
    holder.Close();
    waiter.join();
    EXPECT_TRUE(acquired);
}

// A runtime folder that is relative or cannot take the file must not read as
// another instance: the lock lives in /tmp then, and still excludes.
TEST(NamedLock, AnUnusableRuntimeFolderFallsBackAndStillExcludes)
{
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved ? saved : "";
    for (const char* dir : {"relative/run", "/nonexistent-quiltor-runtime"}) {
        setenv("XDG_RUNTIME_DIR", dir, 1);
        const std::string name = UniqueName();
        platform::NamedLock first, second;
        EXPECT_EQ(first.Open(name), platform::NamedLock::Acquired) << dir;
        EXPECT_EQ(second.Open(name), platform::NamedLock::HeldElsewhere) << dir;
    }
    if (saved) setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
}
