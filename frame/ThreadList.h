#pragma once

#include <list>
#include <vector>

#include "frame/CriticalSection.h"
#include "frame/Monitor.h"
#include "frame/Singleton.h"
#include "frame/SmartPtr.h"
#include "frame/Thread.h"

namespace kivotasuGameKit::KTL {

// Every running SDK thread, and the records that keep the threads started by
// the process entry alive until they have ended.
class CThreadList : public CSingleton<CThreadList> {
public:
    virtual void AddRunning(CThread* thread);
    // The thread has ended: it leaves the running list and its record is
    // marked ended. Also how a start that failed is written off.
    virtual void OnThreadEnd(CThread* thread);
    // Signals every running thread to stop and waits until only the caller is
    // left; only the first call does so (false afterwards).
    virtual bool StopAll();
    // Waits until no thread runs and every record has ended and been purged.
    virtual void WaitAll();
    virtual ~CThreadList() = default;
    virtual void AddRecord(const CSmartPtr<CThread>& thread, const CSmartPtr<IRunnable>& runnable);

private:
    friend class CSingleton<CThreadList>;
    CThreadList() = default;

    struct Record {
        CSmartPtr<CThread> thread;
        CSmartPtr<IRunnable> runnable;
        bool alive = true;
    };

    void Purge();
    bool OnlyCallerLeft() const;

    std::vector<CThread*> m_running;
    std::list<CSmartPtr<Record>> m_records;
    CMonitor m_monitor;
    bool m_stopAllCalled = false;
    CCriticalSection m_stopAllLock;
};

} // namespace kivotasuGameKit::KTL
