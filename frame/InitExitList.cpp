#include "frame/InitExitList.h"

namespace kivotasuGameKit {

void CInitExitList::AddStart(const CSmartPtr<function_callback>& callback)
{
    KTL::CCriticalLock lock(m_lock);
    m_start.push_back(callback);
}

void CInitExitList::AddExit(const CSmartPtr<function_callback>& callback)
{
    KTL::CCriticalLock lock(m_lock);
    m_exit.push_back(callback);
}

// Runs outside the lock: a callback may add to the lists.
CInitExitList::CallbackList CInitExitList::Copy(const CallbackList& list)
{
    KTL::CCriticalLock lock(m_lock);
    return list;
}

void CInitExitList::RunStart() { RunAll(Copy(m_start)); }

void CInitExitList::RunExit() { RunAll(Copy(m_exit)); }

void CInitExitList::RunAll(const CallbackList& callbacks)
{
    for (const CSmartPtr<function_callback>& callback : callbacks) (*callback)();
}

} // namespace kivotasuGameKit
