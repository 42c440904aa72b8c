#pragma once
// Rate conversion of one voice's interleaved stereo samples for the mixer: a
// windowed-sinc filter whose phase runs on across everything pushed, so loops
// and pieces join without a seam. At equal rates samples pass unchanged.

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class Resampler {
public:
    Resampler(std::uint32_t from, std::uint32_t to);

    // Forgets the held samples: what comes next starts after silence.
    void Reset();
    void Push(const float* frames, std::uint32_t count);
    // Silence behind the last frames, so the filter gives out their tail.
    void PushTail();
    // Input frames still missing before frames outputs can be given.
    std::uint32_t Needed(std::uint32_t frames) const;
    // Adds up to frames outputs, scaled per channel, into mix; the frames given.
    std::uint32_t MixInto(float* mix, std::uint32_t frames, float left, float right);
    // Input frames pushed that the output has not reached yet.
    std::uint32_t Held() const;

    // Filter length in input frames, and phases of the fraction between them.
    static constexpr int BaseTaps = 16;
    static constexpr int Phases = 1024;

private:
    // The frame the next output centres on, as index into m_input (32.32).
    std::uint64_t Centre() const { return m_position >> 32; }

    const bool m_identity;
    const std::uint64_t m_step;
    int m_taps = 0;
    std::shared_ptr<const std::vector<float>> m_table;
    std::vector<float> m_input;
    std::uint64_t m_position = 0;
};

} // namespace platform
