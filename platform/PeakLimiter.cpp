#include "platform/PeakLimiter.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// The time the gain takes to fall to a peak's need; the output is as late.
constexpr double LookAheadSeconds = 0.005;
// The time constant of its rise back.
constexpr double ReleaseSeconds = 0.2;

} // namespace

PeakLimiter::PeakLimiter(std::uint32_t rate, float ceiling)
    : m_window(std::max<std::uint32_t>(2, static_cast<std::uint32_t>(rate * LookAheadSeconds))),
      m_ceiling(ceiling),
      m_release(static_cast<float>(1 - std::exp(-1 / (rate * ReleaseSeconds)))),
      m_delayed(std::size_t{m_window - 1} * 2, 0.0f),
      m_needs(m_window),
      m_held(m_window, 1.0f),
      m_heldSum(m_window)
{
}

void PeakLimiter::Process(float* samples, std::uint32_t frames)
{
    const std::size_t delay = m_window - 1;
    for (std::uint32_t i = 0; i < frames; ++i, ++m_frame) {
        float* frame = samples + std::size_t{i} * 2;
        const float peak = std::max(std::fabs(frame[0]), std::fabs(frame[1]));
        const float need = peak > m_ceiling ? m_ceiling / peak : 1.0f;
        // The least need of the window's frames, newest last: a need no lower
        // than a newer one can no longer be the least.
        if (m_needsCount > 0 && m_needs[m_needsFirst].frame + m_window <= m_frame) {
            m_needsFirst = (m_needsFirst + 1) % m_window;
            --m_needsCount;
        }
        while (m_needsCount > 0 && m_needs[(m_needsFirst + m_needsCount - 1) % m_window].gain >= need) --m_needsCount;
        m_needs[(m_needsFirst + m_needsCount++) % m_window] = {m_frame, need};
        const float held = m_needs[m_needsFirst].gain;
        float& oldest = m_held[m_frame % m_window];
        m_heldSum += held - oldest;
        oldest = held;
        // Each held value the mean takes covers the frame now leaving the
        // delay, so the mean is no more than that frame's need.
        const float fall = static_cast<float>(m_heldSum / m_window);
        m_gain = std::min(fall, m_gain + (1.0f - m_gain) * m_release);
        float* out = m_delayed.data() + (m_frame % delay) * 2;
        const float left = out[0], right = out[1];
        out[0] = frame[0];
        out[1] = frame[1];
        frame[0] = left * m_gain;
        frame[1] = right * m_gain;
    }
}

} // namespace platform
