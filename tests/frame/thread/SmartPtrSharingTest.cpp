#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "frame/SmartPtr.h"

using namespace kivotasuGameKit;

namespace {

std::atomic<int> g_destroyed{0};

struct Shared {
    int written = 0;  // plain: the last owner must see every other thread's write
    ~Shared()
    {
        EXPECT_EQ(written, 4);
        ++g_destroyed;
    }
};

} // namespace

// Sounds and the thread list hand pointers across threads: a lost count update
// would free the object early (ASan) or never; the last owner, on whichever
// thread, destroys it once after all the others let go.
TEST(SmartPtrSharing, CopiesOnManyThreadsDestroyTheObjectOnce)
{
    g_destroyed = 0;
    CSmartPtr<Shared> original(new Shared);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&go, copy = original]() mutable {
            while (!go) std::this_thread::yield();
            for (int i = 0; i < 20000; ++i) {
                CSmartPtr<Shared> local(copy);
                CSmartPtr<Shared> other;
                other = local;
            }
            static std::mutex writers;
            std::lock_guard<std::mutex> lock(writers);
            ++copy->written;
        });
    }
    EXPECT_EQ(original.GetHolder()->GetCount(), 5u);
    original.Release();
    go = true;
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(g_destroyed, 1);
}
