// The routine grids of the blend family, one routine per served pair.
#include "draw/effect/AlphaFamily.h"
#include "draw/effect/RoutineGrid.h"
#include "draw/effect/alpha/BlendAlpha.h"
#include "draw/effect/alpha/BlendRate.h"
#include "draw/effect/alpha/CrossFade.h"

namespace kivotasuGameKit {
namespace {
struct PickBlendAlpha {
    template <SurfaceType D, SurfaceType S> constexpr EffectRoutine operator()() const { return &Blend::BlendAlpha<D, S>; }
};
struct PickBlendRate {
    template <SurfaceType D, SurfaceType S> constexpr EffectRoutine operator()() const { return &Blend::BlendRate<D, S>; }
};
struct PickKeyBlendRate {
    template <SurfaceType D, SurfaceType S> constexpr EffectRoutine operator()() const { return &Blend::KeyBlendRate<D, S>; }
};
struct PickCrossFade {
    template <SurfaceType D, SurfaceType S> constexpr EffectRoutine operator()() const { return &Blend::CrossFade<D, S>; }
};
struct PickKeyCrossFade {
    template <SurfaceType D, SurfaceType S> constexpr EffectRoutine operator()() const { return &Blend::KeyCrossFade<D, S>; }
};
} // namespace

constinit const RoutineGrid AlphaGrids[AlphaOpCount] = {
    MakeRoutineGrid<10>(PickBlendAlpha{}),
    MakeRoutineGrid<14>(PickBlendRate{}),
    MakeRoutineGrid<15>(PickKeyBlendRate{}),
    MakeRoutineGrid<16>(PickCrossFade{}),
    MakeRoutineGrid<17>(PickKeyCrossFade{}),
};

constinit const EffectRoutine BlendRateXRGB8888Mmx = &Blend::BlendRateMMX;

} // namespace kivotasuGameKit
