#include "frame/Event.h"

#include <vector>

namespace kivotasuGameKit::KTL {

void CEvent::SetEvent()
{
    CCriticalLock lock(m_lock);
    m_signaled = true;
    m_event.Set();
}

void CEvent::ResetEvent()
{
    CCriticalLock lock(m_lock);
    m_event.Reset();
    m_signaled = false;
}

int CEvent::Wait(std::uint32_t ms) { return m_event.Wait(ms) ? 0 : 1; }

bool CEvent::IsSignaled()
{
    CCriticalLock lock(m_lock);
    return m_signaled;
}

int CEvent::WaitForAny(CEvent* const* events, std::size_t count, std::uint32_t ms)
{
    std::vector<platform::Event*> handles(count);
    for (std::size_t i = 0; i < count; ++i) handles[i] = &events[i]->GetHandle();
    return platform::Event::WaitForAny(handles.data(), count, ms);
}

} // namespace kivotasuGameKit::KTL
