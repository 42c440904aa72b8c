#pragma once

#include "draw/effect/BltTypes.h"

namespace kivotasuGameKit {

// Routine grids of the blend family: BlendAlpha (10), BlendRate (14),
// KeyBlendRate (15), CrossFade (16), KeyCrossFade (17), in that order. The
// dispatch answers the served pairs (EffectBltServes) with 0 whether or not a
// routine is in place; a cell still null draws nothing until it is written.
inline constexpr int AlphaOpCount = 5;
extern const RoutineGrid AlphaGrids[AlphaOpCount];

// BlendRate XRGB8888 <- XRGB8888 when the processor has MMX (the grid holds
// the table routine); null until written, then the grid's routine serves.
extern const EffectRoutine BlendRateXRGB8888Mmx;

} // namespace kivotasuGameKit
