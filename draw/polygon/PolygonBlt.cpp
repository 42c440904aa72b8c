// CSurfaceInfo::PolygonBlt: modes 0 Copy, 1 KeyCopy and 10 BlendAlpha; any
// other mode is refused before anything is locked.
#include "draw/effect/SurfaceInfo.h"
#include "draw/polygon/PolygonBlitter.h"

namespace kivotasuGameKit {

int CSurfaceInfo::PolygonBlt(uint32_t mode, CSurfaceInfo* source, const PolygonBltParams* params, uint32_t)
{
    if (mode != 0 && mode != 1 && mode != 10) return 1;
    if (!source) return 1;
    return CPolygonBlitter::Dispatch(mode, source, this, params);
}

} // namespace kivotasuGameKit
