#include <cstring>

#include "draw/effect/alpha/SimdLevel.h"
#include "draw/polygon/SpanSource.h"

namespace kivotasuGameKit::polygon {

namespace {

void FetchCells(uint8_t* out, const Texture& t, SpanWalk& w, int32_t n)
{
    // Locals: stores through out may alias the walk.
    int64_t u = w.u, v = w.v;
    const int64_t du = w.du, dv = w.dv;
    const uint8_t* pixels = t.pixels;
    const ptrdiff_t pitch = t.pitch;
    if (dv == 0) {
        const uint8_t* row = pixels + (v >> 18) * pitch;
        for (int32_t i = 0; i < n; ++i, u += du) std::memcpy(out + 4 * i, row + (u >> 18) * 4, 4);
    } else {
        for (int32_t i = 0; i < n; ++i, u += du, v += dv)
            std::memcpy(out + 4 * i, pixels + (v >> 18) * pitch + (u >> 18) * 4, 4);
    }
    w.u = u;
    w.v = v;
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
