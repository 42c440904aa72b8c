#pragma once

#include <cstdint>
#include <vector>

#include "frame/CriticalSection.h"
#include "frame/Event.h"
#include "frame/SmartPtr.h"

namespace kivotasuGameKit::KTL {

// Wait and notify under a lock, in the manner of Java's monitors. Every
// operation requires the caller to hold the monitor's lock.
class CMonitor : public CCriticalSection {
public:
    static constexpr std::uint32_t Infinite = CEvent::Infinite;

    // Releases one level of the lock while waiting. 0 when woken, 1 when the
    // time ran out. An SDK thread is also woken by its interrupt, and then
    // throws CInterruptedException.
    int Wait(std::uint32_t ms = Infinite);
    // Wakes the most recent waiter.
    void Notify();
    void NotifyAll();
    void WakeThread(std::uint32_t threadId);
    void RemoveWaitersOf(std::uint32_t threadId);

private:
    struct Waiter {
        CEvent event;
        std::uint32_t threadId = NoOwner;
    };

    void RequireLock() const;

    std::vector<CSmartPtr<Waiter>> m_waiters;
};

} // namespace kivotasuGameKit::KTL
