#pragma once
// The clocks of tests that bound time or cost. Load stretches the wall clock,
// a slower machine or a sanitizer the processor time. So a bound on time
// counts wall time less what the threads waited for a processor (the
// run-queue wait the kernel keeps in each thread's schedstat), and a bound on
// cost is a ratio to a reference measured in the same process, judged only in
// a build without sanitizers: the test command's default build, which runs
// the suites labelled "cost".

#include <dirent.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace testkit {

// The instrumentation of these builds, not the code, sets what the code costs.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool SanitizerBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
inline constexpr bool SanitizerBuild = true;
#else
inline constexpr bool SanitizerBuild = false;
#endif
#else
inline constexpr bool SanitizerBuild = false;
#endif

inline double WallSeconds(clockid_t clock = CLOCK_MONOTONIC)
{
    timespec now;
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// What the scheduler has counted for a thread: its time on a processor and
// its time runnable in a queue, waiting for one.
struct Scheduled {
    double running = 0;
    double waiting = 0;
};

// Every live thread of the process, by thread id; none once it has ended.
inline std::map<pid_t, Scheduled> ThreadsScheduled(pid_t process = getpid())
{
    std::map<pid_t, Scheduled> threads;
    const std::string folder = "/proc/" + std::to_string(process) + "/task";
    DIR* tasks = opendir(folder.c_str());
    if (!tasks) return threads;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') continue;
        std::FILE* file = std::fopen((folder + "/" + entry->d_name + "/schedstat").c_str(), "r");
        if (!file) continue;  // ended since the folder was read
        unsigned long long running = 0, waiting = 0;
        if (std::fscanf(file, "%llu %llu", &running, &waiting) == 2)
            threads[pid_t(std::stoi(entry->d_name))] = {double(running) / 1e9, double(waiting) / 1e9};
        std::fclose(file);
    }
    closedir(tasks);
    return threads;
}

// The processor time this thread spends on the work: the least of some runs,
// which leaves out what a page fault or another process's use of the caches
// added to one of them.
template <class Work> double ThreadSeconds(Work&& work, int runs = 3)
{
    double least = 1e300;
    for (int run = 0; run < runs; ++run) {
        const double start = WallSeconds(CLOCK_THREAD_CPUTIME_ID);
        work();
        least = std::min(least, WallSeconds(CLOCK_THREAD_CPUTIME_ID) - start);
    }
    return least;
}

// The least of some measures of a subject and of its reference, taken in
// turns: what slows the processor for a while (work on its other hardware
// thread, its clock) slows both. One of each where no verdict is taken.
template <class Subject, class Reference>
std::pair<double, double> LeastInTurns(Subject&& subject, Reference&& reference)
{
    const int runs = SanitizerBuild ? 1 : 3;
    std::pair<double, double> least{1e300, 1e300};
    for (int run = 0; run < runs; ++run) {
        least.second = std::min(least.second, reference());
        least.first = std::min(least.first, subject());
    }
    return least;
}

// Set for the suites labelled "cost": a verdict on cost elsewhere would be
// judged by no command that runs.
#ifdef QUILTOR_COST_SUITE
inline constexpr bool CostSuite = true;
#else
inline constexpr bool CostSuite = false;
#endif

// A verdict on cost: the subject's seconds at most the given times the
// reference's, both measured in this process. It holds in a sanitizer build.
inline ::testing::AssertionResult CostsAtMost(double times, double subject, double reference)
{
    if (!CostSuite) return ::testing::AssertionFailure() << "a verdict on cost in a suite not labelled cost";
    if (SanitizerBuild || subject <= times * reference) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << subject << " s, " << subject / reference << " times the reference's "
                                         << reference << " s (at most " << times << ")";
}

} // namespace testkit
