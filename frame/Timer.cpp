#include "frame/Timer.h"

#include "frame/CriticalSection.h"
#include "platform/Clock.h"

namespace kivotasuGameKit {
namespace {

constinit KTL::CCriticalSection g_timersLock;
int g_liveTimers = 0;
CTimeBeginPeriod* g_period = nullptr;

std::uint32_t Now() { return platform::Clock().Now(); }

} // namespace

CTimeBeginPeriod::CTimeBeginPeriod() : m_active(true), m_period(1) {}

CTimeBeginPeriod* CTimeBeginPeriod::GetCurrent()
{
    KTL::CCriticalLock lock(g_timersLock);
    return g_period;
}

CTimer::CTimer()
{
    {
        KTL::CCriticalLock lock(g_timersLock);
        if (g_liveTimers++ == 0) g_period = new CTimeBeginPeriod;
    }
    Reset();
}

CTimer::~CTimer()
{
    KTL::CCriticalLock lock(g_timersLock);
    if (--g_liveTimers == 0) {
        delete g_period;
        g_period = nullptr;
    }
}

void CTimer::Reset()
{
    m_start = Now();
    m_pauseCount = 0;
}

std::uint32_t CTimer::Get()
{
    return (m_pauseCount > 0 ? m_pauseTime : Now()) - m_start;
}

void CTimer::Set(std::uint32_t ms)
{
    m_start = (m_pauseCount > 0 ? m_pauseTime : Now()) - ms;
}

void CTimer::Pause()
{
    if (m_pauseCount++ == 0) m_pauseTime = Now();
}

void CTimer::Restart()
{
    if (m_pauseCount-- == 1) m_start += Now() - m_pauseTime;
}

} // namespace kivotasuGameKit
