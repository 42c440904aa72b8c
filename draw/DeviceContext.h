#pragma once

#include "draw/effect/SurfaceInfo.h"

namespace kivotasuGameKit {

// A device context is the bitmap selected into it: pictures are drawn into it
// through its surface record, in the record's own pixel format.
using HDC = CSurfaceInfo*;

struct PALETTEENTRY {
    uint8_t peRed;
    uint8_t peGreen;
    uint8_t peBlue;
    uint8_t peFlags;
};

inline constexpr uint8_t PC_RESERVED = 0x01;
inline constexpr uint8_t PC_EXPLICIT = 0x02;
inline constexpr uint8_t PC_NOCOLLAPSE = 0x04;

} // namespace kivotasuGameKit
