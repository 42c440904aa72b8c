#include "frame/ThreadLocal.h"

#include "frame/FunctionCallback.h"
#include "frame/InitExitList.h"

namespace kivotasuGameKit {

CThreadLocalBase::CThreadLocalBase() { CThreadLocalRegistry::GetInstance()->Add(this); }

CThreadLocalBase::~CThreadLocalBase()
{
    if (m_unregistered.load(std::memory_order_acquire)) return;
    if (CThreadLocalRegistry* registry = CThreadLocalRegistry::Peek()) registry->Remove(this);
}

CThreadLocalRegistry::CThreadLocalRegistry()
{
    CInitExitList::GetInstance()->AddExit(MakeCallback(this, &CThreadLocalRegistry::DetachAll));
}

void CThreadLocalRegistry::Add(CThreadLocalBase* map)
{
    KTL::CCriticalLock lock(m_lock);
    m_maps.push_back(map);
}

void CThreadLocalRegistry::Remove(CThreadLocalBase* map)
{
    KTL::CCriticalLock lock(m_lock);
    m_maps.remove(map);
}

void CThreadLocalRegistry::DetachAll()
{
    KTL::CCriticalLock lock(m_lock);
    for (CThreadLocalBase* map : m_maps) map->SetUnregistered(true);
}

} // namespace kivotasuGameKit

