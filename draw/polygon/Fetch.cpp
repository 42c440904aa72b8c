#include <cstring>

#include "draw/effect/alpha/SimdLevel.h"
#include "draw/polygon/SpanSource.h"

namespace kivotasuGameKit::polygon {

namespace {

// Four cells a step, each at its own multiple of the step from the group's
// start, so that no cell waits on the last one's coordinates; a span that
// keeps its row finds the row once.
template <bool kFixedRow> void Stepped(uint8_t* out, const Texture& t, SpanWalk& w, int32_t n)
{
    // Locals: stores through out may alias the walk.
    int64_t u = w.u, v = w.v;
    const int64_t du = w.du, dv = kFixedRow ? 0 : w.dv;
    const uint8_t* const pixels = t.pixels;
    const ptrdiff_t pitch = t.pitch;
    const uint8_t* const row = kFixedRow ? pixels + (v >> 18) * pitch : pixels;
    const auto copy = [&](uint8_t* to, int64_t k) {
        const uint8_t* from = kFixedRow ? row : pixels + ((v + k * dv) >> 18) * pitch;
        std::memcpy(to, from + ((u + k * du) >> 18) * 4, 4);
    };
    int32_t i = 0;
    for (; i + 4 <= n; i += 4, u += 4 * du, v += 4 * dv)
        for (int64_t k = 0; k < 4; ++k) copy(out + 4 * (i + k), k);
    for (; i < n; ++i, u += du, v += dv) copy(out + 4 * i, 0);
    w.u = u;
    w.v = v;
}

} // namespace

void SteppedFetch(uint8_t* out, const Texture& t, SpanWalk& w, int32_t n)
{
    (w.dv == 0 ? &Stepped<true> : &Stepped<false>)(out, t, w, n);
}

FetchFn FetchFor(const Texture& t)
{
    // Fixed-point coordinates below 2^31, and byte offsets too.
    const bool narrow = t.width <= 8191 && t.height <= 8191 && t.pitch > 0 && t.pitch * t.height < (int64_t(1) << 31);
    if (narrow && Avx2Fetch && Blend::CurrentSimdLevel() == Blend::SimdLevel::Avx2) return Avx2Fetch;
    return &SteppedFetch;
}

} // namespace kivotasuGameKit::polygon
