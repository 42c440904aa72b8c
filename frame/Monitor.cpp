#include "frame/Monitor.h"

#include <algorithm>

#include "frame/CurrentThreadMap.h"
#include "frame/Exceptions.h"
#include "frame/Thread.h"
#include "platform/Thread.h"

namespace kivotasuGameKit::KTL {

void CMonitor::RequireLock() const
{
    if (!IsLockedByCurrentThread()) throw CIllegalMonitorStateException();
}

int CMonitor::Wait(std::uint32_t ms)
{
    RequireLock();
    std::uint32_t self = platform::CurrentThreadId();
    CSmartPtr<Waiter> waiter(new Waiter);
    waiter->threadId = self;
    m_waiters.push_back(waiter);
    Leave();

    // Only a thread with a thread object can be interrupted.
    CThread* thread = CurrentThreadMap.Find();
    int result;
    if (thread) {
        CEvent* events[] = {&thread->GetInterruptEvent(), &waiter->event};
        result = CEvent::WaitForAny(events, 2, ms) < 0 ? 1 : 0;
    } else {
        result = waiter->event.Wait(ms);
    }

    Enter();
    RemoveWaitersOf(self);
    if (thread && thread->IsInterrupted()) throw CInterruptedException();
    return result;
}

void CMonitor::Notify()
{
    RequireLock();
    if (!m_waiters.empty()) m_waiters.back()->event.SetEvent();
}

void CMonitor::NotifyAll()
{
    RequireLock();
    for (CSmartPtr<Waiter>& waiter : m_waiters) waiter->event.SetEvent();
}

void CMonitor::WakeThread(std::uint32_t threadId)
{
    RequireLock();
    for (CSmartPtr<Waiter>& waiter : m_waiters) {
        if (waiter->threadId == threadId) waiter->event.SetEvent();
    }
}

void CMonitor::RemoveWaitersOf(std::uint32_t threadId)
{
    RequireLock();
    std::erase_if(m_waiters, [threadId](const CSmartPtr<Waiter>& waiter) { return waiter->threadId == threadId; });
}

} // namespace kivotasuGameKit::KTL
