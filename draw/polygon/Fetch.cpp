#include <cstring>

#include "draw/effect/alpha/SimdLevel.h"
#include "draw/polygon/SpanSource.h"

namespace kivotasuGameKit::polygon {

namespace {

void FetchCells(uint8_t* out, const Texture& t, SpanWalk& w, int32_t n)
{
    if (w.dv == 0) {
        const uint8_t* row = t.pixels + (w.v >> 18) * t.pitch;
        for (int32_t i = 0; i < n; ++i, w.u += w.du) std::memcpy(out + 4 * i, row + (w.u >> 18) * 4, 4);
        return;
    }
    for (int32_t i = 0; i < n; ++i, w.u += w.du, w.v += w.dv)
        std::memcpy(out + 4 * i, t.pixels + (w.v >> 18) * t.pitch + (w.u >> 18) * 4, 4);
}

} // namespace

FetchFn FetchFor(const Texture& t)
{
    // Fixed-point coordinates below 2^31, and byte offsets too.
    const bool narrow = t.width <= 8191 && t.height <= 8191 && t.pitch > 0 && t.pitch * t.height < (int64_t(1) << 31);
    if (narrow && Avx2Fetch && Blend::CurrentSimdLevel() == Blend::SimdLevel::Avx2) return Avx2Fetch;
    return &FetchCells;
}

} // namespace kivotasuGameKit::polygon
