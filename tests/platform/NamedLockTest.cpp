#include <gtest/gtest.h>

#include <atomic>
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
