#include "frame/Thread.h"

#include "frame/CurrentThreadMap.h"
#include "frame/Exceptions.h"
#include "frame/ThreadList.h"

namespace kivotasuGameKit::KTL {

CThread::~CThread() { StopThread(); }

void CThread::ResetEvents()
{
    m_stop.ResetEvent();
    m_startedAck.ResetEvent();
    m_interrupt.ResetEvent();
    m_start.ResetEvent();
}

int CThread::StartThread(const CSmartPtr<IRunnable>& runnable)
{
    CCriticalLock lock(m_lock);
    m_runnable = runnable;
    return CreateThread();
}

void CThread::SetRunnable(const CSmartPtr<IRunnable>& runnable)
{
    CCriticalLock lock(m_lock);
    m_runnable = runnable;
}

int CThread::CreateThread()
{
    CCriticalLock lock(m_lock);
    StopThread();
    ResetEvents();
    m_osThreadStarted = true;
    platform::ThreadHandle handle = platform::StartThread(&CThread::ThreadProc, this, m_stackSize);
    if (!handle) return -1;
    m_handle = handle;
    return m_startedAck.Wait(Infinite);
}

void CThread::ThreadProc(void* argument)
{
    auto* self = static_cast<CThread*>(argument);
    self->m_threadId.store(platform::CurrentThreadId(), std::memory_order_release);
    CThreadList::GetInstance()->AddRunning(self);
    // CreateThread holds the lock until the acknowledgement and does not touch
    // the runnable meanwhile.
    CSmartPtr<IRunnable> runnable = self->m_runnable;
    self->m_start.SetEvent();
    self->m_startedAck.SetEvent();
    CurrentThreadMap.Set(self);

    if (runnable.IsNull()) {
        self->ThreadMain();
    } else {
        runnable->Run();
        CCriticalLock lock(self->m_lock);
        self->m_runnable.Release();
    }

    CurrentThreadMap.DropCurrentThread();
    self->SignalStop();
    CThreadList::GetInstance()->OnThreadEnd(self);
}

int CThread::Run()
{
    StopThread();
    ResetEvents();
    m_osThreadStarted = false;
    m_threadId.store(platform::CurrentThreadId(), std::memory_order_release);
    CThreadList::GetInstance()->AddRunning(this);
    m_start.SetEvent();
    ThreadMain();
    m_start.ResetEvent();
    CThreadList::GetInstance()->OnThreadEnd(this);
    m_threadId.store(NoThread, std::memory_order_release);
    return 0;
}

int CThread::StopThread()
{
    CCriticalLock lock(m_lock);
    SignalStop();
    if (!m_handle) return 0;
    if (m_threadId.load(std::memory_order_acquire) == platform::CurrentThreadId()) return 2;
    platform::ThreadHandle handle = m_handle;
    m_handle = 0;
    m_threadId.store(NoThread, std::memory_order_release);
    if (!m_osThreadStarted) return 0;
    // Every level of the lock goes while joining: the ending thread takes it
    // to signal its stop, also when CreateThread restarts a running thread.
    std::int32_t held = m_lock.LeaveAll();
    bool joined = platform::JoinThread(handle);
    m_lock.Reenter(held);
    return joined ? 0 : 1;
}

bool CThread::IsStarted() { return m_start.IsSignaled(); }

bool CThread::IsValid() { return !m_stop.IsSignaled(); }

void CThread::SignalStop()
{
    CCriticalLock lock(m_lock);
    CCriticalLock monitorLock(m_monitor);
    m_monitor.WakeThread(m_threadId.load(std::memory_order_acquire));
    m_stop.SetEvent();
}

std::uint32_t CThread::GetThreadId() { return m_threadId.load(std::memory_order_acquire); }

int CThread::Wait(std::uint32_t ms)
{
    if (TestInterrupted()) throw CInterruptedException();
    return m_monitor.Wait(ms);
}

int CThread::InterruptibleSleep(std::uint32_t ms)
{
    if (TestInterrupted()) throw CInterruptedException();
    CEvent* events[] = {&m_stop, &m_interrupt};
    bool eventEnded = CEvent::WaitForAny(events, 2, ms) >= 0;
    if (TestInterrupted()) throw CInterruptedException();
    return eventEnded ? 1 : 0;
}

void CThread::Notify() { m_monitor.Notify(); }

void CThread::NotifyAll() { m_monitor.NotifyAll(); }

void CThread::Interrupt()
{
    CCriticalLock monitorLock(m_monitor);
    m_monitor.RemoveWaitersOf(m_threadId.load(std::memory_order_acquire));
    m_interrupt.SetEvent();
}

bool CThread::IsInterrupted() { return m_interrupt.IsSignaled(); }

bool CThread::TestInterrupted()
{
    CCriticalLock monitorLock(m_monitor);
    bool interrupted = m_interrupt.IsSignaled();
    m_interrupt.ResetEvent();
    return interrupted;
}

platform::ThreadHandle CThread::GetHandle()
{
    CCriticalLock lock(m_lock);
    return m_handle;
}

} // namespace kivotasuGameKit::KTL
