#include "draw/effect/addsub/AddSubFamily.h"

namespace kivotasuGameKit {

// The family's routines are not written yet: every cell is still empty.
constinit const RoutineGrid AddSubGrids[AddSubOpCount] = {};

} // namespace kivotasuGameKit
