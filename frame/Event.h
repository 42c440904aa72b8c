#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/CriticalSection.h"
#include "platform/Event.h"

namespace kivotasuGameKit::KTL {

// An auto-reset event with a mirror flag: SetEvent raises the flag and
// ResetEvent lowers it, but a wait that consumes the event leaves it raised.
class CEvent {
public:
    static constexpr std::uint32_t Infinite = platform::Event::Infinite;

    CEvent() = default;
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;
    virtual ~CEvent() = default;

    virtual void SetEvent();
    virtual void ResetEvent();
    // 0 when signalled, 1 on time-out.
    virtual int Wait(std::uint32_t ms);
    virtual platform::Event& GetHandle() { return m_event; }
    virtual bool IsSignaled();

    // Waits for the first of the events; the lowest signalled index wins.
    // Returns that index, or -1 on time-out.
    static int WaitForAny(CEvent* const* events, std::size_t count, std::uint32_t ms);

private:
    platform::Event m_event;
    bool m_signaled = false;
    CCriticalSection m_lock;
};

} // namespace kivotasuGameKit::KTL
