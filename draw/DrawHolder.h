#pragma once

#include "draw/FastDraw.h"
#include "draw/PlaneFactory.h"
#include "frame/SmartPtr.h"

namespace kivotasuGameKit {

// The calling thread's screen manager and its plane factory, registered for
// the thread while the holder lives.
class CDrawHolder {
public:
    CDrawHolder();
    CDrawHolder(const CDrawHolder&) = delete;
    CDrawHolder& operator=(const CDrawHolder&) = delete;
    ~CDrawHolder();

    CFastDraw* GetDraw() const { return m_draw.Get(); }
    Draw::CPlaneFactory* GetFactory() const { return m_factory.Get(); }

private:
    CSmartPtr<CFastDraw> m_draw;
    CSmartPtr<Draw::CPlaneFactory> m_factory;
};

} // namespace kivotasuGameKit
