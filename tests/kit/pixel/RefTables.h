#pragma once

// The blend tables by their definitions, with real divisions: w x c / 255,
// c x (255 - w) / 255, 16-bit fields x level / 15. Shared by the reference
// models of the families that read the tables.

#include <cstdint>

namespace pixelkit {

inline int RefMul(int w, int c) { return w * c / 255; }
inline int RefMulInv(int w, int c) { return c * (255 - w) / 255; }

// A 16-bit colour word with every field scaled by level / 15 (RGB555: bit 15
// dropped).
inline int RefFade(bool is565, int level, int word)
{
    if (is565) {
        const int r = (word >> 11) & 31, g = (word >> 5) & 63, b = word & 31;
        return (r * level / 15) << 11 | (g * level / 15) << 5 | b * level / 15;
    }
    const int r = (word >> 10) & 31, g = (word >> 5) & 31, b = word & 31;
    return (r * level / 15) << 10 | (g * level / 15) << 5 | b * level / 15;
}

} // namespace pixelkit
