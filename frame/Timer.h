#pragma once

#include <cstdint>

namespace kivotasuGameKit {

// Raises the clock's resolution for as long as any CTimer lives. The Linux
// tick is already 1 ms fine, so it only records that the fine clock is in use.
class CTimeBeginPeriod {
public:
    CTimeBeginPeriod();
    virtual ~CTimeBeginPeriod() = default;

    bool IsActive() const { return m_active; }
    std::uint32_t GetPeriod() const { return m_period; }

    // The holder while any timer lives, else null.
    static CTimeBeginPeriod* GetCurrent();

private:
    bool m_active = false;
    std::uint32_t m_period = 1;
};

// A millisecond stopwatch on the process clock, with nested pauses: only the
// outermost Pause and Restart move its times.
class CTimer {
public:
    CTimer();
    CTimer(const CTimer&) = delete;
    CTimer& operator=(const CTimer&) = delete;

    virtual void Reset();
    virtual std::uint32_t Get();
    virtual void Set(std::uint32_t ms);
    virtual void Pause();
    virtual void Restart();
    virtual ~CTimer();

private:
    std::uint32_t m_start = 0;
    std::uint32_t m_pauseTime = 0;
    std::int32_t m_pauseCount = 0;
};

} // namespace kivotasuGameKit
