#pragma once

// The polygon members, one per format pair and mode, and the dispatch that
// holds both surfaces locked around the chosen one.

#include <cstdint>

#include "draw/effect/SurfaceInfo.h"
#include "draw/polygon/PolygonBltParams.h"

namespace kivotasuGameKit {

class CPolygonBlitter {
public:
    // (source, destination, operand, params): -1 when a pointer is null, else 0.
    using Member = int (*)(CSurfaceInfo*, CSurfaceInfo*, uint32_t, const PolygonBltParams*);

    // Copy, KeyCopy or BlendAlpha member of the pair; null when none serves it.
    static Member Find(uint32_t mode, int32_t destinationType, int32_t sourceType);
    // The colour key in the source's own pixel layout, as KeyCopy compares it.
    static uint32_t PackKey(int32_t sourceType, uint32_t colorKey);
    // Locks both (source last), draws and answers 0; 2 for a pair of
    // different types that no member serves.
    static int Dispatch(uint32_t mode, CSurfaceInfo* source, CSurfaceInfo* destination, const PolygonBltParams* params);
};

} // namespace kivotasuGameKit
