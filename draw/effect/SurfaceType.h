#pragma once

#include <cstdint>

namespace kivotasuGameKit {

// Pixel-format code of a surface. Any 32-bit value may be stored; only the
// named ones describe a format (9 and everything outside 2..13 name none).
enum SurfaceType : int32_t {
    Pal8 = 2,
    RGB565 = 3,
    RGB555 = 4,
    RGB888 = 5,
    BGR888 = 6,
    XRGB8888 = 7,
    XBGR8888 = 8,
    ARGB4565 = 10,
    ARGB4555 = 11,
    ARGB8888 = 12,
    ABGR8888 = 13,
};

// Codes 0..13 index the dispatch grids.
inline constexpr int SurfaceTypeCount = 14;

constexpr bool IsSurfaceType(int32_t type) { return type >= Pal8 && type <= ABGR8888 && type != 9; }

constexpr bool HasAlpha(int32_t type) { return type >= ARGB4565; }

constexpr int BytesPerPixel(int32_t type)
{
    switch (type) {
    case Pal8: return 1;
    case RGB565: case RGB555: return 2;
    case RGB888: case BGR888: return 3;
    case XRGB8888: case XBGR8888: case ARGB4565: case ARGB4555: case ARGB8888: case ABGR8888: return 4;
    default: return 0;
    }
}

constexpr int BitsPerPixel(int32_t type)
{
    switch (type) {
    case Pal8: return 8;
    case RGB565: case RGB555: case ARGB4565: case ARGB4555: return 16;
    case RGB888: case BGR888: return 24;
    case XRGB8888: case XBGR8888: case ARGB8888: case ABGR8888: return 32;
    default: return 0;
    }
}

} // namespace kivotasuGameKit
