#include <benchmark/benchmark.h>

#include "frame/ErrorLog.h"

using namespace kivotasuGameKit;

// A report with the default device: formatted, then dropped. This is what
// every failure report costs in a normal run.
static void DiscardedReport(benchmark::State& state)
{
    for (auto _ : state) {
        ErrorLog.Out("CFastDraw::TestDisplayModeのSetDisplayModeに失敗 %d x %d", 640, 480);
    }
}
BENCHMARK(DiscardedReport);

static void DiscardedPlainText(benchmark::State& state)
{
    for (auto _ : state) ErrorLog.Out("CAppManager::Addするのに空きが無い");
}
BENCHMARK(DiscardedPlainText);
