// One transition frame of every wipe at 640 x 480, as the engine draws it:
// the screen plane (ARGB8888) onto the back plane in the display's format,
// kind 0, over every phase 1 to 255. The column-wise wipes make hundreds of
// blits a frame, so the cost of one call shows. Counters: the mean and the
// slowest phase in milliseconds; every frame should stay under 2 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <cstdint>
#include <cstring>

#include "bench/SimdCap.h"
#include "draw/FastPlane.h"
#include "draw/wipe/TransitionWipe.h"
#include "frame/MersenneTwister.h"

namespace {

using kivotasuGameKit::Draw::CFastPlane;
using kivotasuGameKit::Draw::CPlaneBase;
using kivotasuGameKit::Draw::CTransitionWipe;

constexpr int Width = 640, Height = 480;

void Fill(CFastPlane& plane, kivotasuGameKit::SurfaceType type, std::uint32_t seed)
{
    plane.CreateMemorySurface(Width, Height, type);
    auto* info = plane.GetSurfaceInfoPtr();
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const std::uint32_t colour = 0xFF000000u | (std::uint32_t(x * 7 + seed) & 0xFF) << 16 |
                                         (std::uint32_t(y * 5 + seed) & 0xFF) << 8 | (std::uint32_t(x ^ y) & 0xFF);
            std::memcpy(info->GetPixelBytes() + std::ptrdiff_t(y) * info->GetPitch() + x * 4, &colour, 4);
        }
}

// <chrono> does not compile under the Shift-JIS execution charset.
double NowMs()
{
    std::timespec now{};
    std::timespec_get(&now, TIME_UTC);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

template <class Draw> void Frames(benchmark::State& state, Draw draw)
{
    CFastPlane back, screen;
    Fill(back, kivotasuGameKit::XRGB8888, 3);
    Fill(screen, kivotasuGameKit::ARGB8888, 101);
    std::array<double, 256> byPhase{};
    std::int64_t rounds = 0;
    for (auto _ : state) {
        for (int phase = 1; phase < 256; ++phase) {
            const double start = NowMs();
            benchmark::DoNotOptimize(draw(&back, &screen, phase));
            byPhase[std::size_t(phase)] += NowMs() - start;
        }
        ++rounds;
    }
    double total = 0;
    for (double ms : byPhase) total += ms;
    state.counters["mean_ms"] = total / double(rounds * 255);
    // The slowest phase on average, so that one preempted frame does not count.
    state.counters["worst_ms"] = *std::max_element(byPhase.begin(), byPhase.end()) / double(rounds);
    state.SetItemsProcessed(rounds * 255);
}

void Wipe(benchmark::State& state, CTransitionWipe::Wipe* wipe)
{
    Frames(state, [wipe](CPlaneBase* back, CPlaneBase* screen, int phase) {
        return wipe(back, screen, 0, 0, phase, 0, 255, nullptr);
    });
}

void CutIn(benchmark::State& state)
{
    kivotasuGameKit::CMersenneTwister random;
    Frames(state, [&](CPlaneBase* back, CPlaneBase* screen, int phase) {
        return CTransitionWipe::CutIn(back, screen, 0, 0, phase, 0, 255, nullptr, random);
    });
}

} // namespace

BENCHMARK_CAPTURE(Wipe, Blend, &CTransitionWipe::Blend)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, Square, &CTransitionWipe::Square)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, Circle, &CTransitionWipe::Circle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, Rect, &CTransitionWipe::Rect)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, Spiral, &CTransitionWipe::Spiral)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, Blind, &CTransitionWipe::Blind)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, BlindLeft, &CTransitionWipe::BlindLeft)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, BlindRight, &CTransitionWipe::BlindRight)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, BlindTop, &CTransitionWipe::BlindTop)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, BlindBottom, &CTransitionWipe::BlindBottom)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, StripeH1, &CTransitionWipe::StripeH1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, StripeH2, &CTransitionWipe::StripeH2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, StripeV1, &CTransitionWipe::StripeV1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, StripeV2, &CTransitionWipe::StripeV2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, Mosaic, &CTransitionWipe::Mosaic)->Unit(benchmark::kMillisecond);
BENCHMARK(CutIn)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, Wave, &CTransitionWipe::Wave)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, StretchLeft, &CTransitionWipe::StretchLeft)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, StretchRight, &CTransitionWipe::StretchRight)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, StretchTop, &CTransitionWipe::StretchTop)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, StretchBottom, &CTransitionWipe::StretchBottom)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Wipe, FlipVertical, &CTransitionWipe::FlipVertical)->Unit(benchmark::kMillisecond);
