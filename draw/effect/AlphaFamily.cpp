#include "draw/effect/AlphaFamily.h"

namespace kivotasuGameKit {

// The family's routines are not written yet: every cell is still empty.
constinit const RoutineGrid AlphaGrids[AlphaOpCount] = {};
constinit const EffectRoutine BlendRateXRGB8888Mmx = nullptr;

} // namespace kivotasuGameKit
