#include "draw/effect/alpha/HalfShade.h"

#include <cstring>

#include "draw/effect/alpha/SimdLevel.h"

namespace kivotasuGameKit::Blend {

void HalfShade(uint8_t* first, int64_t pitch, int32_t width, int32_t height)
{
    const SimdLevel level = CurrentSimdLevel();
    const HalfShadeCellsFn cells = level == SimdLevel::Avx2 ? Avx2HalfShadeCells
                                   : level == SimdLevel::Sse2 ? Sse2HalfShadeCells
                                                              : nullptr;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = first + y * pitch;
        for (int32_t x = cells ? cells(row, width) : 0; x < width; ++x) {
            uint32_t p;
            std::memcpy(&p, row + size_t(x) * 4, 4);
            const uint32_t weight = (p >> 24) * 128 / 255;
            uint32_t shaded = 0xFF000000;
            for (int shift = 0; shift < 24; shift += 8) shaded |= ((p >> shift & 0xFF) * weight / 255) << shift;
            std::memcpy(row + size_t(x) * 4, &shaded, 4);
        }
    }
}

} // namespace kivotasuGameKit::Blend
