#pragma once

// How a member draws the run of a span whose source points need no holding:
// pixel by pixel through its rule, or, between 32-bit cells, the source cells
// fetched into a row (the widest way the processor allows) and the row
// handed to the effect family's row kernel of the same rule.

#include <algorithm>
#include <cstdint>

#include "draw/effect/alpha/RowKernels.h"
#include "draw/polygon/SpanSource.h"

namespace kivotasuGameKit::polygon {

// Pixel by pixel; a span that keeps its row reads that row alone.
template <int DB, int SB, class Pixel>
void EachPixel(uint8_t* d, const Texture& t, SpanWalk w, int64_t n, const Pixel& pixel)
{
    if (w.dv == 0) {
        const uint8_t* row = t.pixels + (w.v >> 18) * t.pitch;
        for (; n > 0; --n, d += DB, w.u += w.du) pixel(d, row + (w.u >> 18) * SB);
        return;
    }
    for (; n > 0; --n, d += DB, w.u += w.du, w.v += w.dv) pixel(d, t.pixels + (w.v >> 18) * t.pitch + (w.u >> 18) * SB);
}

// A rule on 32-bit cells with its row kernel. Without a kernel the rule goes
// pixel by pixel, save a plain same-type copy (direct), which fetches straight
// into the destination.
template <class Pixel> struct FetchedRule {
    static constexpr int32_t kChunk = 256;
    Pixel pixel;
    Blend::RowFn rows = nullptr;
    Blend::RowParams params{};
    bool direct = false;

    void operator()(uint8_t* d, const uint8_t* s) const { pixel(d, s); }
    void Span(uint8_t* d, const Texture& t, SpanWalk w, int64_t n) const
    {
        if (direct) {
            for (int32_t m; n > 0; n -= m, d += 4 * m) t.fetch(d, t, w, m = int32_t(std::min<int64_t>(n, INT32_MAX)));
            return;
        }
        if (!rows) return EachPixel<4, 4>(d, t, w, n, pixel);
        alignas(32) uint8_t cells[4 * kChunk];
        for (int32_t m; n > 0; n -= m, d += 4 * m) {
            m = int32_t(std::min<int64_t>(n, kChunk));
            t.fetch(cells, t, w, m);
            for (int32_t i = rows(d, cells, m, params); i < m; ++i) pixel(d + 4 * i, cells + 4 * i);
        }
    }
};

// Any other pair: pixel by pixel.
template <int DB, int SB, class Pixel> struct EachPixelRule {
    Pixel pixel;
    void operator()(uint8_t* d, const uint8_t* s) const { pixel(d, s); }
    void Span(uint8_t* d, const Texture& t, const SpanWalk& w, int64_t n) const { EachPixel<DB, SB>(d, t, w, n, pixel); }
};

} // namespace kivotasuGameKit::polygon
