#pragma once
// Test signals and measures for sound: interleaved 16-bit samples.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace testkit {

// frames of a sine of hz at rate, the same in every channel, amplitude 0..1.
inline std::vector<std::int16_t> Sine(double hz, std::uint32_t rate, std::uint16_t channels, std::uint32_t frames,
                                      double amplitude)
{
    std::vector<std::int16_t> samples;
    samples.reserve(static_cast<std::size_t>(frames) * channels);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double value = amplitude * 32767 * std::sin(2 * std::numbers::pi * hz * i / rate);
        for (std::uint16_t c = 0; c < channels; ++c) samples.push_back(static_cast<std::int16_t>(std::lround(value)));
    }
    return samples;
}

// count samples of white noise over the whole range.
inline std::vector<std::int16_t> Noise(std::size_t count, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(-32768, 32767);
    std::vector<std::int16_t> samples(count);
    for (std::int16_t& s : samples) s = static_cast<std::int16_t>(value(random));
    return samples;
}

inline double Rms(const std::vector<std::int16_t>& samples, std::uint16_t channels, std::uint16_t channel)
{
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t i = channel; i < samples.size(); i += channels, ++count) sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / count) : 0;
}

// Loudness as a listener hears it through pauses and swells: the median of
// the RMS of each whole window of the given frames, over both channels of
// stereo samples, in dBFS.
inline double MedianLevel(const std::vector<std::int16_t>& stereo, std::size_t windowFrames)
{
    std::vector<double> levels;
    for (std::size_t start = 0; start + windowFrames * 2 <= stereo.size(); start += windowFrames * 2) {
        double sum = 0;
        for (std::size_t i = start; i < start + windowFrames * 2; ++i) sum += double(stereo[i]) * stereo[i];
        levels.push_back(std::sqrt(sum / double(windowFrames * 2)));
    }
    if (levels.empty()) return -200;
    std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
    return 20 * std::log10(std::max(levels[levels.size() / 2], 1e-3) / 32768);
}

// The power of one frequency in the first channel, through a Hann window so
// that the edges leak nothing into the neighbours.
inline double Goertzel(const std::vector<std::int16_t>& samples, std::uint16_t channels, std::uint32_t rate, double hz)
{
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / rate);
    const std::size_t frames = samples.size() / channels;
    double previous = 0;
    double before = 0;
    for (std::size_t n = 0; n < frames; ++n) {
        const double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * n / (frames - 1));
        const double current = window * samples[n * channels] + coefficient * previous - before;
        before = previous;
        previous = current;
    }
    return previous * previous + before * before - coefficient * previous * before;
}

} // namespace testkit
