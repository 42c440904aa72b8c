#pragma once

#include <cstdint>

#include "draw/effect/Geometry.h"

namespace kivotasuGameKit {

// A polygon of the source mapped onto one of the destination; destination
// point i receives source point i. Owned by the caller, only read.
struct PolygonBltParams {
    const POINT* sourcePoints;
    const POINT* destinationPoints;
    const RECT* clip; // null: the whole destination; right and bottom exclusive
    uint8_t stepFlag; // non-zero adds 1 to every texture step's divisor
    int32_t pointCount;
};

} // namespace kivotasuGameKit
