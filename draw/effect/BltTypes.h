#pragma once

#include <cstdint>

#include "draw/effect/Geometry.h"
#include "draw/effect/SurfaceType.h"

namespace kivotasuGameKit {

class CSurfaceInfo;

// Operation codes of CSurfaceInfo::EffectBlt (compared unsigned; 11..13 and
// everything above 17 are refused).
enum class EffectBltOp : uint32_t {
    Copy = 0,
    KeyCopy = 1,
    Add = 2,
    Sub = 3,
    KeyAdd = 4,
    KeySub = 5,
    AddRate = 6,
    SubRate = 7,
    KeyAddRate = 8,
    KeySubRate = 9,
    BlendAlpha = 10,
    BlendRate = 14,
    KeyBlendRate = 15,
    CrossFade = 16,
    KeyCrossFade = 17,
};

inline constexpr int EffectBltOpCount = 18;

// Effects of CSurfaceInfo::SurfaceEffect.
enum class SurfaceEffectOp : uint32_t {
    Fill = 0,
    Fade = 1,
    AddColor = 2,
    SubColor = 3,
    Invert = 4,
    Mosaic = 5,
};

// The request: every pointer may be null (point (0, 0), no stretching, the
// whole source, the whole destination). anchor = 3 x vertical + horizontal.
struct BltParams {
    const POINT* point = nullptr;
    const SIZE* size = nullptr;
    const RECT* sourceRect = nullptr;
    const RECT* clipRect = nullptr;
    int32_t anchor = 0;
};

// What the clipper hands a routine; the stepping terms only when stretching.
struct BltClipResult {
    uint8_t sameSize;
    RECT source;
    RECT destination;
    RECT clip;
    int32_t xErrorStart, xErrorIncrement, xErrorDecrement, xStep;
    int32_t yErrorStart, yErrorIncrement, yErrorDecrement, yStep;
};

// The extra parameter: the low byte of rate is the rate (or rate a), the low
// byte of rateB is rate b.
struct BltRates {
    uint32_t rate = 0;
    uint32_t rateB = 0;
};

// The key cell and rates packed for one routine, byte by byte:
//   0, 2, 3, 10    nothing
//   1, 4, 5        the key cell (in the source's format)
//   6, 7, 14       rate
//   16             a, b
//   8, 9           16-bit sources: rate, 0, key word; 4-byte 16-bit-colour
//                  sources: rate, 0, key cell; others: rate, key cell
//   15             key cell (a 16-bit key padded to 2 bytes), rate
//   17             key cell (16-bit key: 2 bytes), a, b
struct BltKeyRate {
    uint8_t bytes[8];
};

// One effect-blit routine: 0 when it drew, 1 when the clip left nothing.
using EffectRoutine = int (*)(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate keyRate,
                              const BltParams* request);

// Routines of one operation by (destination type, source type); null where
// there is none.
struct RoutineGrid {
    EffectRoutine cell[SurfaceTypeCount][SurfaceTypeCount];
};

} // namespace kivotasuGameKit
