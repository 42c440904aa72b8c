#include "draw/wipe/TransitionWipe.h"

namespace kivotasuGameKit::Draw {

int CTransitionWipe::AutoBlt(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, const SIZE* size,
                             const RECT* sourceRect, const RECT* clip, int anchor)
{
    if (HasAlpha(source->GetSurfaceType()))
        return destination->BlendAlphaBlt(source, x, y, size, sourceRect, clip, anchor);
    return destination->KeyCopyBlt(source, x, y, size, sourceRect, clip, anchor);
}

int CTransitionWipe::AutoBlendBlt(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, uint32_t rate,
                                  const SIZE* size, const RECT* sourceRect, const RECT* clip, int anchor)
{
    if (rate >= 255) return AutoBlt(destination, source, x, y, size, sourceRect, clip, anchor);
    if (HasAlpha(source->GetSurfaceType()))
        return destination->BlendRateBlt(source, x, y, rate, size, sourceRect, clip, anchor);
    return destination->KeyBlendRateBlt(source, x, y, rate, size, sourceRect, clip, anchor);
}

} // namespace kivotasuGameKit::Draw
