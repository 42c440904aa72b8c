#pragma once

#include <atomic>
#include <cstdint>

#include "frame/CriticalSection.h"
#include "frame/Event.h"
#include "frame/Monitor.h"
#include "frame/SmartPtr.h"
#include "platform/Thread.h"

namespace kivotasuGameKit::KTL {

// A body to run on a thread in place of the thread's own ThreadMain.
class IRunnable {
public:
    virtual void Run() = 0;
    virtual ~IRunnable() = default;
};

// The SDK thread object. A derived class overrides ThreadMain and polls
// IsValid; it must stop the thread in its own destructor, since the body is
// gone by the time this destructor runs.
class CThread {
public:
    static constexpr std::uint32_t NoThread = 0xFFFFFFFFu;
    static constexpr std::uint32_t Infinite = CEvent::Infinite;

    CThread() = default;
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    virtual int StartThread(const CSmartPtr<IRunnable>& runnable);
    // Joins an earlier run, starts the thread and waits until it runs: 0, or
    // -1 when it could not be created.
    virtual int CreateThread();
    virtual void SetRunnable(const CSmartPtr<IRunnable>& runnable);
    // 0 stopped (or nothing to stop), 1 the join failed, 2 called from the
    // thread itself (only signalled).
    virtual int StopThread();
    // Runs ThreadMain on the calling thread.
    virtual int Run();
    virtual bool IsStarted();
    virtual bool IsValid();
    virtual void SignalStop();
    virtual std::uint32_t GetThreadId();
    // Waits on the thread's monitor, which the caller must hold.
    virtual int Wait(std::uint32_t ms);
    // 1 when a stop or an interrupt ended the sleep, 0 when the time ran out;
    // throws CInterruptedException for an interrupt pending before or after.
    virtual int InterruptibleSleep(std::uint32_t ms);
    virtual void Notify();
    virtual void NotifyAll();
    virtual void Interrupt();
    virtual bool IsInterrupted();
    virtual bool TestInterrupted();
    virtual ~CThread();
    virtual CEvent& GetInterruptEvent() { return m_interrupt; }

    CMonitor& GetMonitor() { return m_monitor; }
    void SetStackSize(std::uint32_t bytes) { m_stackSize = bytes; }

protected:
    virtual void ThreadMain() {}

public:
    virtual platform::ThreadHandle GetHandle();

private:
    static void ThreadProc(void* self);
    void ResetEvents();

    platform::ThreadHandle m_handle = 0;
    std::atomic<std::uint32_t> m_threadId{NoThread};
    CEvent m_stop;
    CEvent m_start;
    CEvent m_interrupt;
    CEvent m_startedAck;
    CCriticalSection m_lock;
    CSmartPtr<IRunnable> m_runnable;
    CMonitor m_monitor;
    bool m_osThreadStarted = false;
    std::uint32_t m_stackSize = 0;
};

} // namespace kivotasuGameKit::KTL
