#pragma once

#include <cstdint>

namespace kivotasuGameKit {

// Process-wide tables, zero until CEffectBlitter::BuildBlendTables fills them,
// read-only afterwards. Defined inline so that every blit family reads them
// without a link-time dependency on this library.
//   MulTable[w * 256 + c]      = w * c / 255
//   MulInvTable[w * 256 + c]   = c * (255 - w) / 255
//   FadeTable565[L * 65536 + p] = RGB565 p with each field * L / 15
//   FadeTable555[L * 65536 + p] = RGB555 p & 0x7FFF likewise (bit 15 ignored)
inline uint8_t MulTable[256 * 256];
inline uint8_t MulInvTable[256 * 256];
inline uint16_t FadeTable565[16 * 65536];
inline uint16_t FadeTable555[16 * 65536];

} // namespace kivotasuGameKit
