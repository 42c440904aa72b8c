#pragma once

// Reference copy and keyed copy of one pixel, from the conversion rules.

#include <cstdint>
#include <cstring>

#include "tests/kit/pixel/RefFormat.h"

namespace pixelkit {

inline void RefCopyPixel(int32_t dt, int32_t st, uint8_t* d, const uint8_t* s, const uint8_t* palette)
{
    if (dt == st) {
        // The stored bits; ARGB4565/ARGB4555 leave byte 3 alone.
        std::memcpy(d, s, (dt == kARGB4565 || dt == kARGB4555) ? 3 : RefBytes(dt));
    } else if (dt == kPal8) {
        d[0] = palette[Word(s) % 32768];
    } else if (dt == kARGB4555 && st == kRGB555) {
        // Served by the RGB565 routine: the colour word as stored.
        d[0] = s[0];
        d[1] = s[1];
        d[2] = 15;
    } else {
        RefWrite(dt, d, RefRead(st, s));
    }
}

// Whether a stored source pixel matches the colour key (value form), by the
// comparison its format uses.
inline bool RefKeyMatches(int32_t st, const uint8_t* s, uint32_t key)
{
    const int r = (key >> 16) & 0xFF, g = (key >> 8) & 0xFF, b = key & 0xFF;
    RefPixel k;
    k.r = r;
    k.g = g;
    k.b = b;
    switch (st) {
    case kRGB565: case kARGB4565: return Word(s) == Join565(k);
    case kRGB555: case kARGB4555: return Word(s) == Join555(k);
    case kRGB888: return s[0] == b && s[1] == g && s[2] == r;
    case kBGR888: return s[0] == r && s[1] == g && s[2] == b;
    case kXRGB8888: return s[0] == b && s[1] == g && s[2] == r && s[3] == 0;
    case kXBGR8888: return s[0] == r && s[1] == g && s[2] == b && s[3] == 0;
    case kARGB8888: return s[0] == b && s[1] == g && s[2] == r;
    case kABGR8888: return s[0] == r && s[1] == g && s[2] == b;
    default: return false;
    }
}

// The key of colour (value form) as the vector rows take it: the key cell
// stored as a number, and the bits RefKeyMatches compares.
struct RefStoredKey {
    uint32_t key, mask;
};
inline RefStoredKey RefKeyCell(int32_t st, uint32_t colour)
{
    RefPixel k;
    k.r = (colour >> 16) & 0xFF;
    k.g = (colour >> 8) & 0xFF;
    k.b = colour & 0xFF;
    uint8_t cell[4] = {0, 0, 0, 0};
    RefWrite(st, cell, k);
    const uint32_t mask = RefBytes(st) == 2 || IsAlpha4(st) ? 0xFFFF : st == kXRGB8888 || st == kXBGR8888 ? 0xFFFFFFFF : 0xFFFFFF;
    const uint32_t stored = uint32_t(cell[0] | cell[1] << 8 | cell[2] << 16 | cell[3] << 24);
    return {stored & mask, mask};
}

} // namespace pixelkit
