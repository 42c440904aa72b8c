#pragma once

#include "draw/PlaneBase.h"
#include "frame/SmartPtr.h"

namespace kivotasuGameKit {
class CFastDraw;
}

namespace kivotasuGameKit::Draw {

// Makes the planes of one screen manager.
class CPlaneFactory {
public:
    explicit CPlaneFactory(CFastDraw* owner) : m_owner(owner) {}
    virtual ~CPlaneFactory() = default;
    // Null when memory runs out.
    virtual CSmartPtr<CPlaneBase> Create();

private:
    CFastDraw* m_owner;
};

// The plane factory of each thread.
class CPlaneFactoryRegistry {
public:
    static void Set(const CSmartPtr<CPlaneFactory>& factory);
    // The calling thread's entry, made empty when missing.
    static CSmartPtr<CPlaneFactory> Get();
    static CSmartPtr<CPlaneFactory> Register(const CSmartPtr<CPlaneFactory>& factory);
    static void RemoveMine();
    static void Clear();
};

} // namespace kivotasuGameKit::Draw
