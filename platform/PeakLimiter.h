#pragma once
// A look-ahead peak limiter for interleaved stereo: the output is the input
// a few milliseconds late, its gain lowered ahead of each peak that would pass
// the ceiling, so that no sample does, and raised back slowly after it, so
// that a loud passage is made quieter rather than distorted. Constant work
// per frame: it runs in the mixing thread.

#include <cstdint>
#include <vector>

namespace platform {

class PeakLimiter {
public:
    PeakLimiter(std::uint32_t rate, float ceiling);

    // In place; frames of two samples.
    void Process(float* samples, std::uint32_t frames);
    // The output's delay behind the input, in frames.
    std::uint32_t Delay() const { return m_window - 1; }

private:
    struct Need {
        std::uint64_t frame;
        float gain;
    };

    const std::uint32_t m_window;
    const float m_ceiling;
    const float m_release;
    std::uint64_t m_frame = 0;
    // The input not yet given out.
    std::vector<float> m_delayed;
    // The least gain any frame of the window needs, kept as a rising run.
    std::vector<Need> m_needs;
    std::size_t m_needsFirst = 0;
    std::size_t m_needsCount = 0;
    // That least gain for each of the window's last frames, and their sum: the
    // gain moves to a peak's need over the window's length.
    std::vector<float> m_held;
    double m_heldSum;
    float m_gain = 1.0f;
};

} // namespace platform
