#include "draw/effect/BlendTables.h"
#include "draw/effect/EffectBlitter.h"

#include <mutex>

namespace kivotasuGameKit {

namespace {

void FillBlendTables()
{
    for (uint32_t w = 0; w < 256; ++w) {
        for (uint32_t c = 0; c < 256; ++c) {
            MulTable[w * 256 + c] = uint8_t(w * c / 255);
            MulInvTable[w * 256 + c] = uint8_t(c * (255 - w) / 255);
        }
    }
    for (uint32_t level = 0; level < 16; ++level) {
        uint16_t* fade565 = FadeTable565 + level * 65536;
        uint16_t* fade555 = FadeTable555 + level * 65536;
        for (uint32_t p = 0; p < 65536; ++p) {
            const uint32_t r6 = p >> 11, g6 = (p >> 5) & 0x3F, b6 = p & 0x1F;
            fade565[p] = uint16_t(((r6 * level / 15) << 11) | ((g6 * level / 15) << 5) | (b6 * level / 15));
            const uint32_t r5 = (p >> 10) & 0x1F, g5 = (p >> 5) & 0x1F;
            fade555[p] = uint16_t(((r5 * level / 15) << 10) | ((g5 * level / 15) << 5) | (b6 * level / 15));
        }
    }
}

} // namespace

// The values never change, so one filling serves every screen manager made
// after it, and no blit on another thread reads a table while it is written.
void CEffectBlitter::BuildBlendTables()
{
    static std::once_flag filled;
    std::call_once(filled, FillBlendTables);
}

} // namespace kivotasuGameKit
