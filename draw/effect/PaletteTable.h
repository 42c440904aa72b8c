#pragma once

#include <cstdint>

namespace kivotasuGameKit {

// One system-palette index per RGB555 colour (red5 << 10 | green5 << 5 |
// blue5), kept by the screen manager and read by the RGB555 to Pal8 copy.
inline uint8_t PaletteTable[32768];

} // namespace kivotasuGameKit
