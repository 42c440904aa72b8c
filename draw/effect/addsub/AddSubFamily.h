#pragma once

#include "draw/effect/BltTypes.h"

namespace kivotasuGameKit {

// Routine grids of operations 2 to 9 (Add, Sub, KeyAdd, KeySub, AddRate,
// SubRate, KeyAddRate, KeySubRate), indexed by op - 2, one routine for each
// pair EffectBltServes names.
inline constexpr int AddSubFirstOp = 2;
inline constexpr int AddSubOpCount = 8;
extern const RoutineGrid AddSubGrids[AddSubOpCount];

} // namespace kivotasuGameKit
