#pragma once

#include <cstdint>

#include "draw/effect/SurfaceType.h"

namespace kivotasuGameKit {

// The format code of a display surface from its bit count and colour masks
// (the detector's part after the surface has described itself). An unknown
// format is logged and gives 1.
SurfaceType SurfaceTypeFromPixelFormat(uint32_t bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

} // namespace kivotasuGameKit
