#include "frame/ThreadList.h"

#include <algorithm>

#include "platform/Thread.h"

namespace kivotasuGameKit::KTL {

void CThreadList::AddRunning(CThread* thread)
{
    CCriticalLock lock(m_monitor);
    m_running.push_back(thread);
    m_monitor.NotifyAll();
}

void CThreadList::OnThreadEnd(CThread* thread)
{
    CCriticalLock lock(m_monitor);
    std::erase(m_running, thread);
    for (CSmartPtr<Record>& record : m_records) {
        if (record->thread.Get() == thread) record->alive = false;
    }
    m_monitor.NotifyAll();
}

void CThreadList::AddRecord(const CSmartPtr<CThread>& thread, const CSmartPtr<IRunnable>& runnable)
{
    CCriticalLock lock(m_monitor);
    CSmartPtr<Record> record(new Record);
    record->thread = thread;
    record->runnable = runnable;
    m_records.push_back(record);
}

// Releasing an ended record may delete its thread object, which joins the
// (already finishing) thread.
void CThreadList::Purge()
{
    m_records.remove_if([](const CSmartPtr<Record>& record) { return !record->alive; });
}

bool CThreadList::OnlyCallerLeft() const
{
    std::uint32_t self = platform::CurrentThreadId();
    bool othersRunning = std::any_of(m_running.begin(), m_running.end(),
                                     [self](CThread* thread) { return thread->GetThreadId() != self; });
    bool othersRecorded = std::any_of(m_records.begin(), m_records.end(), [self](const CSmartPtr<Record>& record) {
        return record->thread.IsNull() || record->thread->GetThreadId() != self;
    });
    return !othersRunning && !othersRecorded;
}

bool CThreadList::StopAll()
{
    {
        CCriticalLock lock(m_stopAllLock);
        if (m_stopAllCalled) return false;
        m_stopAllCalled = true;
    }
    CCriticalLock lock(m_monitor);
    Purge();
    while (!OnlyCallerLeft()) {
        for (CThread* thread : m_running) thread->SignalStop();
        m_monitor.Wait();
        Purge();
    }
    return true;
}

void CThreadList::WaitAll()
{
    CCriticalLock lock(m_monitor);
    for (;;) {
        Purge();
        if (m_running.empty() && m_records.empty()) return;
        m_monitor.Wait();
    }
}

} // namespace kivotasuGameKit::KTL
