// The routine grids of the blend family, one routine per served pair.
#include "draw/effect/AlphaFamily.h"
#include "draw/effect/RoutineGrid.h"
#include "draw/effect/alpha/BlendAlpha.h"
#include "draw/effect/alpha/BlendRate.h"
#include "draw/effect/alpha/CrossFade.h"

namespace kivotasuGameKit {

constinit const RoutineGrid AlphaGrids[AlphaOpCount] = {
    MakeRoutineGrid<10>([]<SurfaceType D, SurfaceType S>() -> EffectRoutine { return &Blend::BlendAlpha<D, S>; }),
    MakeRoutineGrid<14>([]<SurfaceType D, SurfaceType S>() -> EffectRoutine { return &Blend::BlendRate<D, S>; }),
    MakeRoutineGrid<15>([]<SurfaceType D, SurfaceType S>() -> EffectRoutine { return &Blend::KeyBlendRate<D, S>; }),
    MakeRoutineGrid<16>([]<SurfaceType D, SurfaceType S>() -> EffectRoutine { return &Blend::CrossFade<D, S>; }),
    MakeRoutineGrid<17>([]<SurfaceType D, SurfaceType S>() -> EffectRoutine { return &Blend::KeyCrossFade<D, S>; }),
};

constinit const EffectRoutine BlendRateXRGB8888Mmx = &Blend::BlendRateMMX;

} // namespace kivotasuGameKit
