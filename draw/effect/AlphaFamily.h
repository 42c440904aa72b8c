#pragma once

#include "draw/effect/BltTypes.h"

namespace kivotasuGameKit {

// Routine grids of the blend family: BlendAlpha (10), BlendRate (14),
// KeyBlendRate (15), CrossFade (16), KeyCrossFade (17), in that order;
// defined with the family in draw/effect/alpha/.
inline constexpr int AlphaOpCount = 5;
extern const RoutineGrid AlphaGrids[AlphaOpCount];

// BlendRate XRGB8888 <- XRGB8888 when the processor has MMX (the grid holds
// the table routine).
extern const EffectRoutine BlendRateXRGB8888Mmx;

} // namespace kivotasuGameKit
