#include <benchmark/benchmark.h>

#include <mutex>

#include "frame/CriticalSection.h"

using namespace kivotasuGameKit::KTL;

// The cost of an uncontended enter and leave, against a bare std::mutex.
static void EnterLeave(benchmark::State& state)
{
    CCriticalSection section;
    for (auto _ : state) {
        section.Enter();
        section.Leave();
    }
}
BENCHMARK(EnterLeave);

static void ScopedLock(benchmark::State& state)
{
    CCriticalSection section;
    for (auto _ : state) {
        CCriticalLock lock(section);
        benchmark::DoNotOptimize(&lock);
    }
}
BENCHMARK(ScopedLock);

static void RecursiveEnterLeave(benchmark::State& state)
{
    CCriticalSection section;
    section.Enter();
    for (auto _ : state) {
        section.Enter();
        section.Leave();
    }
    section.Leave();
}
BENCHMARK(RecursiveEnterLeave);

static void StdMutex(benchmark::State& state)
{
    std::mutex mutex;
    for (auto _ : state) {
        mutex.lock();
        mutex.unlock();
    }
}
BENCHMARK(StdMutex);
