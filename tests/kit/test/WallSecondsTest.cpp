// The clocks and the verdict the tests of time and cost stand on.
#include "tests/kit/WallSeconds.h"

#include <sched.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// A subject twice its reference fails a bound of 1.5 where cost is judged;
// a sanitizer build takes no verdict.
TEST(WallSeconds, CostIsJudgedOutsideSanitizerBuilds)
{
    const std::pair<double, bool> rows[] = {{2e-3, testkit::SanitizerBuild}, {1e-3, true}};
    for (const auto& [subject, holds] : rows)
        EXPECT_EQ(bool(testkit::CostsAtMost(1.5, subject, 1e-3)), holds) << subject << " s against 1 ms";
}

// Two threads spinning on one processor are always running or waiting for
// it: what the kernel counts of each adds up to its wall time, the wait a
// good part of it.
TEST(WallSeconds, ThreadsSpinningOnOneProcessorWaitForIt)
{
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int processor = 0;; ++processor)
        if (CPU_ISSET(processor, &allowed)) {
            CPU_SET(processor, &one);
            break;
        }
    struct Spun {
        double wall = 0;
        testkit::Scheduled counted;
    };
    std::vector<Spun> spun(2);
    std::vector<std::thread> threads;
    for (Spun& mine : spun)
        threads.emplace_back([&one, &mine] {
            EXPECT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
            const double start = testkit::WallSeconds();
            const testkit::Scheduled before = testkit::ThreadsScheduled().at(gettid());
            while (testkit::WallSeconds() - start < 0.3) {
            }
            const testkit::Scheduled after = testkit::ThreadsScheduled().at(gettid());
            mine = {testkit::WallSeconds() - start, {after.running - before.running, after.waiting - before.waiting}};
        });
    for (std::thread& thread : threads) thread.join();
    for (const Spun& mine : spun) {
        EXPECT_NEAR(mine.counted.running + mine.counted.waiting, mine.wall, mine.wall / 10)
            << "ran " << mine.counted.running << " s, waited " << mine.counted.waiting << " s";
        EXPECT_GT(mine.counted.waiting, mine.wall / 5);
    }
}

} // namespace
