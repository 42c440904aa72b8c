// The processor-feature instance is made by whichever blit needs it first,
// on any thread, and read unlocked by every blit after that.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "draw/effect/CpuFeatures.h"
#include "draw/effect/alpha/SimdLevel.h"

using kivotasuGameKit::CCpuFeatures;
using kivotasuGameKit::CpuFeaturesInstance;
namespace Blend = kivotasuGameKit::Blend;

TEST(CpuFeaturesThreads, ThreadsMeetingAtTheFirstBlitShareOneInstanceAndItsFlags)
{
    CCpuFeatures::CreateInstance();
    const std::uint32_t expected = CpuFeaturesInstance->GetFlags();
    const Blend::SimdLevel expectedLevel = Blend::CurrentSimdLevel();
    constexpr int Threads = 4;
    for (int round = 0; round < 50; ++round) {
        CCpuFeatures::DestroyInstance();
        std::atomic<int> waiting{Threads};
        std::vector<CCpuFeatures*> seen(Threads);
        std::vector<std::uint32_t> flags(Threads);
        std::vector<Blend::SimdLevel> levels(Threads);
        std::vector<std::thread> threads;
        for (int t = 0; t < Threads; ++t)
            threads.emplace_back([&, t] {
                for (--waiting; waiting > 0;) std::this_thread::yield();
                // Half come in through a blit's own path, half through the
                // instance as the dispatch of operation 14 uses it.
                if (t % 2) levels[t] = Blend::CurrentSimdLevel();
                CCpuFeatures::CreateInstance();
                seen[t] = CpuFeaturesInstance;
                flags[t] = seen[t] ? seen[t]->GetFlags() : 0;
                if (t % 2 == 0) levels[t] = Blend::CurrentSimdLevel();
            });
        for (std::thread& thread : threads) thread.join();
        for (int t = 0; t < Threads; ++t) {
            EXPECT_EQ(seen[t], CpuFeaturesInstance) << "round " << round << ", thread " << t;
            EXPECT_EQ(flags[t], expected) << "round " << round << ", thread " << t;
            EXPECT_EQ(levels[t], expectedLevel) << "round " << round << ", thread " << t;
        }
    }
    CCpuFeatures::DestroyInstance();
}
