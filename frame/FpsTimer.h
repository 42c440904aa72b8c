#pragma once

#include <cstdint>

#include "frame/Timer.h"

namespace kivotasuGameKit {

class IFpsTimer {
public:
    virtual void SetFPS(std::uint32_t fps) = 0;
    virtual std::uint32_t GetFPS() = 0;
    virtual std::uint32_t GetRealFPS() = 0;
    virtual std::int32_t GetCPUPower() = 0;
    virtual std::uint32_t GetSkipCount() = 0;
    virtual void ResetTimer() = 0;
    virtual void WaitFrame() = 0;
    virtual bool IsSkip() = 0;
    virtual void ResetDrawTime() = 0;
    virtual std::uint32_t GetDrawTime() = 0;
    virtual void ResetFrameCount() = 0;
    virtual std::uint32_t GetFrameCount() = 0;
    virtual ~IFpsTimer() = default;
};

// Paces a loop at a frame rate: sleeps out the rest of each frame, carries
// the fractions of a millisecond so the average is exact, marks frames that
// fell far behind, and measures the real rate and the idle share.
class CFpsTimer : public IFpsTimer {
public:
    static constexpr int RingSize = 32;

    CFpsTimer();

    // 0 turns pacing off.
    void SetFPS(std::uint32_t fps) override;
    std::uint32_t GetFPS() override { return m_fps; }
    // The measured rate, rounded; 0 before 16 frames.
    std::uint32_t GetRealFPS() override;
    // The idle share of the frame time in percent; 0 before 16 frames.
    std::int32_t GetCPUPower() override;
    // Frames marked skipped during the previous second.
    std::uint32_t GetSkipCount() override { return m_skipsPrevious; }
    void ResetTimer() override;
    void WaitFrame() override;
    bool IsSkip() override { return m_skip; }
    void ResetDrawTime() override { m_drawTimeSum = 0; }
    std::uint32_t GetDrawTime() override { return m_drawTimeSum; }
    void ResetFrameCount() override { m_frameCount = 0; }
    std::uint32_t GetFrameCount() override { return m_frameCount; }

private:
    std::uint32_t m_fps = 0;
    std::uint32_t m_step = 0;  // frame length in 1/65536 ms
    std::uint32_t m_frameBase = 0;
    std::uint32_t m_accumulator = 0;
    std::uint32_t m_drawTimeSum = 0;
    std::uint32_t m_timeRing[RingSize] = {};
    std::uint32_t m_drawRing[RingSize] = {};
    std::uint32_t m_ringIndex = 0;  // 0..63, then 32..63
    std::uint32_t m_frameCount = 0;
    bool m_skip = false;
    std::uint32_t m_skipsPrevious = 0;
    std::uint32_t m_skipsCurrent = 0;
    CTimer m_clock;
};

} // namespace kivotasuGameKit
