#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "frame/COMInitializer.h"
#include "frame/Singleton.h"
#include "frame/ThreadLocal.h"
#include "platform/Com.h"
#include "tests/kit/RecordingErrorLog.h"

using namespace kivotasuGameKit;

namespace {

std::atomic<int> g_constructed{0};

class SlowSingleton : public CSingleton<SlowSingleton> {
    friend class CSingleton<SlowSingleton>;
    SlowSingleton()
    {
        ++g_constructed;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
};

} // namespace

TEST(Singleton, RacingGettersGetOneObject)
{
    MultiThreadFlag = 1;
    std::atomic<bool> go{false};
    SlowSingleton* seen[4] = {};
    std::vector<std::thread> threads;
    for (auto& slot : seen) {
        threads.emplace_back([&go, &slot] {
            while (!go) std::this_thread::yield();
            slot = SlowSingleton::GetInstance();
        });
    }
    go = true;
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(g_constructed, 1);
    for (SlowSingleton* instance : seen) EXPECT_EQ(instance, seen[0]);
    SlowSingleton::Release();
    EXPECT_EQ(SlowSingleton::Peek(), nullptr);
    MultiThreadFlag = 0;
}

TEST(ThreadLocal, EachThreadSeesItsOwnValue)
{
    CThreadLocal<int> map;
    EXPECT_TRUE(map.IsMissing());
    EXPECT_EQ(map.Find(), 0);
    EXPECT_TRUE(map.IsMissing());  // Find makes no entry
    EXPECT_EQ(map.Get(), 0);
    EXPECT_FALSE(map.IsMissing());  // Get does
    map.Set(7);
    int otherSaw = -1;
    bool otherMissing = false;
    std::thread other([&] {
        otherSaw = map.Get();
        map.Set(9);
        map.DropCurrentThread();
        otherMissing = map.IsMissing();
    });
    other.join();
    EXPECT_EQ(otherSaw, 0);
    EXPECT_TRUE(otherMissing);
    EXPECT_EQ(map.Get(), 7);
}

TEST(ThreadLocal, DetachedMapsNoLongerCallTheRegistry)
{
    auto* map = new CThreadLocal<int>;
    // A map destroyed before is off the list: detaching must not reach it (ASan watches).
    delete new CThreadLocal<int>;
    CThreadLocalRegistry::GetInstance()->DetachAll();
    CThreadLocalRegistry::Release();
    delete map;  // must not create a new registry or touch the old one
    EXPECT_EQ(CThreadLocalRegistry::Peek(), nullptr);
}

TEST(COMInitializer, CountsPerThreadAndNeverGoesNegative)
{
    std::thread worker([] {
        CCOMInitializer::Release();  // never initialised: nothing
        EXPECT_EQ(platform::ComInitializeDepth(), 0);
        CCOMInitializer::Init();
        CCOMInitializer::Init();
        EXPECT_EQ(platform::ComInitializeDepth(), 1);
        CCOMInitializer::Release();
        EXPECT_EQ(platform::ComInitializeDepth(), 1);
        CCOMInitializer::Release();
        EXPECT_EQ(platform::ComInitializeDepth(), 0);

        testkit::ScopedErrorLogRecorder log;
        platform::SetComInitializeFailure(true);
        CCOMInitializer::Init();
        platform::SetComInitializeFailure(false);
        EXPECT_TRUE(log->Contains("CoInitializeに失敗..."));
        CCOMInitializer::Release();  // the failed Init is not undone
        CCOMInitializer::Init();
        EXPECT_EQ(platform::ComInitializeDepth(), 1);
        CCOMInitializer::Release();
        EXPECT_EQ(platform::ComInitializeDepth(), 0);
    });
    worker.join();
}
