#pragma once

#include "draw/effect/BltTypes.h"

namespace kivotasuGameKit {

// Routine grids of operations 2 to 9 (Add, Sub, KeyAdd, KeySub, AddRate,
// SubRate, KeyAddRate, KeySubRate), indexed by op - 2. The dispatch answers
// the served pairs (EffectBltServes) with 0 whether or not a routine is in
// place; a cell still null draws nothing until its routine is written.
inline constexpr int AddSubFirstOp = 2;
inline constexpr int AddSubOpCount = 8;
extern const RoutineGrid AddSubGrids[AddSubOpCount];

} // namespace kivotasuGameKit
