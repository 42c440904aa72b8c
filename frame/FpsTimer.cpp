#include "frame/FpsTimer.h"

#include "platform/Clock.h"

namespace kivotasuGameKit {
namespace {

constexpr std::uint32_t MaxCaughtUpLag = 250;

} // namespace

CFpsTimer::CFpsTimer()
{
    SetFPS(60);
}

void CFpsTimer::SetFPS(std::uint32_t fps)
{
    ResetTimer();
    ResetDrawTime();
    m_frameCount = 0;
    m_ringIndex = 0;
    m_fps = fps;
    if (fps != 0) {
        m_accumulator = 0;
        m_step = 65536000u / fps;
    }
}

void CFpsTimer::ResetTimer()
{
    m_frameBase = m_clock.Get();
    m_skip = false;
    m_skipsPrevious = 0;
    m_skipsCurrent = 0;
}

void CFpsTimer::WaitFrame()
{
    std::uint32_t now = m_clock.Get();
    if (m_fps != 0 && m_frameCount % m_fps == 0) {
        m_skipsPrevious = m_skipsCurrent;
        m_skipsCurrent = 0;
    }
    m_timeRing[m_ringIndex % RingSize] = now;
    if (++m_ringIndex == 64) m_ringIndex = 32;
    ++m_frameCount;

    std::uint32_t& drawSlot = m_drawRing[m_ringIndex % RingSize];
    if (m_fps == 0) {
        drawSlot = 0;
        return;
    }
    m_accumulator = (m_accumulator & 0xFFFF) + m_step;
    std::uint32_t frameLength = m_accumulator >> 16;
    std::uint32_t elapsed = now - m_frameBase;
    if (elapsed < frameLength) {
        m_drawTimeSum += elapsed;
        drawSlot = elapsed;
        m_skip = false;
        platform::Clock().Sleep(frameLength - elapsed);
        m_frameBase += frameLength;
        return;
    }
    // Late: a short lag is caught up by the following frames, a stall of a
    // quarter second or more restarts the pacing now.
    std::uint32_t lag = elapsed - frameLength;
    if (lag >= MaxCaughtUpLag) lag = 0;
    m_skip = lag >= 3 * frameLength;
    if (m_skip) ++m_skipsCurrent;
    m_frameBase = now - lag;
    drawSlot = 0;
}

std::uint32_t CFpsTimer::GetRealFPS()
{
    if (m_ringIndex < 16) return 0;
    std::uint32_t newest = m_timeRing[(m_ringIndex - 1) % RingSize];
    std::uint32_t span;
    std::uint32_t intervals;
    if (m_ringIndex < 32) {
        span = newest - m_timeRing[(m_ringIndex - 16) % RingSize];
        intervals = 15;
    } else {
        span = newest - m_timeRing[m_ringIndex % RingSize];
        intervals = 31;
    }
    if (span == 0) return 0;
    return (span / 2 + intervals * 1000) / span;
}

std::int32_t CFpsTimer::GetCPUPower()
{
    if (m_ringIndex < 16) return 0;
    std::uint32_t drawn = 0;
    for (int i = 0; i < 16; ++i) drawn += m_drawRing[i];
    return 100 - static_cast<std::int32_t>(m_fps * drawn / 160);
}

} // namespace kivotasuGameKit
