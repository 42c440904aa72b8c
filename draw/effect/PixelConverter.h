#pragma once

#include <cstdint>

#include "draw/effect/SurfaceType.h"

namespace kivotasuGameKit {

// Converts one run of pixels between formats (rows are the caller's).
class CPixelConverter {
public:
    // 0 when the pair is served and count pixels were converted; 1 when it is
    // not (nothing written). Source and destination do not overlap.
    static int Convert(const void* source, SurfaceType sourceType, void* destination, SurfaceType destinationType,
                       int32_t count);

    static bool Serves(int32_t sourceType, int32_t destinationType);
};

} // namespace kivotasuGameKit
