// The mixer's cost: 32 looping voices mixed at 48 kHz stereo, fed at the
// device's rate (conversion only) and at CD and half-CD rates (resampled);
// and the synthesiser's limiter on music loud all through. core_percent is
// the share of one core that doing it in real time takes.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "platform/AudioBuffer.h"
#include "platform/AudioMixer.h"
#include "platform/PeakLimiter.h"

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

void LimitLoudMusic(benchmark::State& state)
{
    // A second of 110 Hz rising to 24 dB past full scale, in chunks of the
    // mixer's size.
    constexpr std::size_t Frames = std::size_t{Chunk} * 47;
    std::vector<float> music(Frames * 2);
    for (std::size_t i = 0; i < Frames; ++i)
        music[2 * i] = music[2 * i + 1] = float(std::pow(16.0, double(i) / Frames) * std::sin(0.0144 * double(i)));
    platform::PeakLimiter limiter(OutputRate, 0.89f);
    std::vector<float> chunk(Chunk * 2);
    std::size_t at = 0;
    double seconds = 0;
    for (auto _ : state) {
        std::copy_n(music.begin() + at, chunk.size(), chunk.begin());
        at = (at + chunk.size()) % music.size();
        const double start = Now();
        limiter.Process(chunk.data(), Chunk);
        seconds += Now() - start;
        benchmark::DoNotOptimize(chunk.data());
    }
    const double frames = double(state.iterations()) * Chunk;
    state.counters["ns_per_frame"] = seconds * 1e9 / frames;
    state.counters["core_percent"] = seconds / (frames / OutputRate) * 100;
}

BENCHMARK(LimitLoudMusic);

} // namespace
