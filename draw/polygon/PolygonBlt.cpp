// CSurfaceInfo::PolygonBlt: refuse, lock, and answer for the pair. No pair
// has a drawing routine here: equal types draw nothing and give 0, different
// ones give 2, as for any pair without a routine.
#include "draw/effect/SurfaceInfo.h"

namespace kivotasuGameKit {

int CSurfaceInfo::PolygonBlt(uint32_t mode, CSurfaceInfo* source, const PolygonBltParams*, uint32_t)
{
    if (mode != 0 && mode != 1 && mode != 10) return 1;
    if (!source) return 1;
    CSurfaceLock destinationLock(*this);
    if (!destinationLock) return 1;
    CSurfaceLock sourceLock(*source);
    if (!sourceLock) return 1;
    return m_type == source->m_type ? 0 : 2;
}

} // namespace kivotasuGameKit
