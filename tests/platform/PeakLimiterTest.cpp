// The limiter on the synthesiser's output: no sample past the ceiling however
// loud the input, music below it given out as it came (only later), the same
// output whatever the chunks the mixer asks for, and constant work per frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/PeakLimiter.h"
#include "tests/kit/WallSeconds.h"

namespace {

constexpr std::uint32_t Rate = 48000;
constexpr float Ceiling = 0.89f;

// Stereo: a quiet 220 Hz tone, with bursts of a loud 110 Hz one (each much
// louder than the last, up to 60 dB past full scale) from second 1 to 3;
// quiet again after.
std::vector<float> Music(std::uint32_t seconds)
{
    std::vector<float> samples(std::size_t{Rate} * seconds * 2);
    for (std::size_t i = 0; i < samples.size() / 2; ++i) {
        const double t = double(i) / Rate;
        double value = 0.2 * std::sin(2 * std::numbers::pi * 220 * t);
        if (t >= 1 && t < 3 && std::fmod(t, 0.25) < 0.1) value += std::pow(10.0, (t - 1) * 1.5) * std::sin(2 * std::numbers::pi * 110 * t);
        samples[2 * i] = float(value);
        samples[2 * i + 1] = float(-value * 0.5);
    }
    return samples;
}

TEST(PeakLimiter, KeepsEveryPeakUnderTheCeilingAndQuietMusicAsItCame)
{
    const std::vector<float> in = Music(6);
    std::vector<float> out = in;
    platform::PeakLimiter limiter(Rate, Ceiling);
    limiter.Process(out.data(), std::uint32_t(out.size() / 2));
    float peak = 0;
    for (float sample : out) peak = std::max(peak, std::fabs(sample));
    // To a float's rounding of the gain.
    EXPECT_LE(peak, Ceiling * 1.00001f);
    const std::size_t delay = std::size_t{limiter.Delay()} * 2;
    ASSERT_LT(delay, std::size_t{Rate} / 100 * 2) << "heard late by more than 10 ms";
    // Before the first burst comes near, and once the gain has risen again.
    for (const auto& [from, to] : {std::pair{0.0, 0.99}, std::pair{4.5, 6.0}}) {
        float most = 0;
        for (std::size_t i = std::size_t(from * Rate) * 2 + delay; i < std::size_t(to * Rate) * 2; ++i)
            most = std::max(most, std::fabs(out[i] - in[i - delay]));
        EXPECT_LT(most, 0.002f) << from;
    }
    // A burst is made quieter, not cut out.
    float loudest = 0;
    for (std::size_t i = Rate * 2; i < Rate * 3 * 2; ++i) loudest = std::max(loudest, std::fabs(out[i]));
    EXPECT_GT(loudest, Ceiling * 0.9f);
}

TEST(PeakLimiter, TheChunksTheMixerAsksForChangeNothing)
{
    std::vector<float> whole = Music(4);
    std::vector<float> chunked = whole;
    platform::PeakLimiter one(Rate, Ceiling), many(Rate, Ceiling);
    one.Process(whole.data(), std::uint32_t(whole.size() / 2));
    std::uint32_t done = 0;
    for (std::uint32_t step = 1; done < chunked.size() / 2; step = step * 7 % 1031 + 1) {
        const std::uint32_t frames = std::min<std::uint32_t>(step, std::uint32_t(chunked.size() / 2) - done);
        many.Process(chunked.data() + std::size_t{done} * 2, frames);
        done += frames;
    }
    EXPECT_EQ(whole, chunked);
}

// Limiting all through, each frame's need new, the worst for the window's
// least: a limiter with a window sixteen times as long costs no more per
// frame. (What a minute of it costs is bench_AudioMixer's.)
TEST(PeakLimiter, ItsWorkPerFrameDoesNotGrowWithItsWindow)
{
    std::vector<float> music = Music(4);
    for (float& sample : music) sample *= 8;
    const auto seconds = [&](std::uint32_t rate) {
        return testkit::ThreadSeconds([&] {
            platform::PeakLimiter limiter(rate, Ceiling);
            for (int lap = 0; lap < 4; ++lap) {
                std::vector<float> block = music;
                for (std::size_t at = 0; at < block.size(); at += 512 * 2) limiter.Process(block.data() + at, 512);
            }
        });
    };
    EXPECT_TRUE(testkit::CostsAtMost(2, seconds(Rate * 16), seconds(Rate)));
}

} // namespace
