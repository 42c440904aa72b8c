// The mixer's cost: 32 looping voices mixed at 48 kHz stereo, fed at the
// device's rate (conversion only) and at CD and half-CD rates (resampled).
// core_percent is the share of one core that mixing them in real time takes.
#include <benchmark/benchmark.h>

#include <time.h>

#include <memory>
#include <random>
#include <vector>

#include "platform/AudioBuffer.h"
#include "platform/AudioMixer.h"

namespace {

constexpr std::uint32_t OutputRate = 48000;
constexpr std::uint32_t Chunk = 1024;
constexpr int Voices = 32;

// <chrono> cannot be read under the Shift-JIS execution charset.
double Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void Mix32Voices(benchmark::State& state)
{
    const auto rate = static_cast<std::uint32_t>(state.range(0));
    auto mixer = std::make_shared<platform::AudioMixer>(OutputRate, Chunk);
    std::mt19937 random(1);
    std::vector<std::unique_ptr<platform::AudioBuffer>> voices;
    for (int v = 0; v < Voices; ++v) {
        auto buffer = mixer->CreateBuffer({rate, 2, 16}, rate * 4, false);
        void* data = nullptr;
        std::uint32_t bytes = 0;
        buffer->Lock(0, rate * 4, &data, &bytes, nullptr, nullptr);
        auto* samples = static_cast<std::int16_t*>(data);
        for (std::uint32_t i = 0; i < bytes / 2; ++i) samples[i] = static_cast<std::int16_t>(random() % 4096 - 2048);
        buffer->SetVolume(-600);
        buffer->Play(true);
        voices.push_back(std::move(buffer));
    }
    std::vector<std::int16_t> out(Chunk * 2);
    double seconds = 0;
    for (auto _ : state) {
        const double start = Now();
        mixer->Mix(out.data(), Chunk);
        seconds += Now() - start;
        benchmark::DoNotOptimize(out.data());
    }
    const double frames = double(state.iterations()) * Chunk;
    state.counters["ns_per_frame"] = seconds * 1e9 / frames;
    state.counters["core_percent"] = seconds / (frames / OutputRate) * 100;
}

BENCHMARK(Mix32Voices)->Arg(48000)->Arg(44100)->Arg(22050);

} // namespace
