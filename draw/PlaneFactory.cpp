#include "draw/PlaneFactory.h"

#include <new>

#include "draw/FastPlane.h"
#include "frame/ThreadLocal.h"

namespace kivotasuGameKit::Draw {

namespace {

CThreadLocal<CSmartPtr<CPlaneFactory>>& FactoryMap()
{
    static CThreadLocal<CSmartPtr<CPlaneFactory>> map;
    return map;
}

} // namespace

CSmartPtr<CPlaneBase> CPlaneFactory::Create()
{
    return CSmartPtr<CPlaneBase>(new (std::nothrow) CFastPlane(m_owner));
}

void CPlaneFactoryRegistry::Set(const CSmartPtr<CPlaneFactory>& factory) { FactoryMap().Set(factory); }
CSmartPtr<CPlaneFactory> CPlaneFactoryRegistry::Get() { return FactoryMap().Get(); }

CSmartPtr<CPlaneFactory> CPlaneFactoryRegistry::Register(const CSmartPtr<CPlaneFactory>& factory)
{
    Set(factory);
    return factory;
}

void CPlaneFactoryRegistry::RemoveMine() { FactoryMap().DropCurrentThread(); }
void CPlaneFactoryRegistry::Clear() { FactoryMap().Clear(); }

} // namespace kivotasuGameKit::Draw
