#include "draw/DrawHolder.h"

namespace kivotasuGameKit {

CDrawHolder::CDrawHolder() : m_draw(new CFastDraw), m_factory(new Draw::CPlaneFactory(m_draw.Get()))
{
    Draw::CPlaneFactoryRegistry::Register(m_factory);
}

CDrawHolder::~CDrawHolder()
{
    // The factory names this screen manager, which goes with the holder.
    if (Draw::CPlaneFactoryRegistry::Get().Get() == m_factory.Get()) Draw::CPlaneFactoryRegistry::RemoveMine();
}

} // namespace kivotasuGameKit
