#pragma once

// What one destination span reads: pixel i of the span samples the source at
// (u + i du, v + i dv) in 18-bit fixed point, each held to the source's
// edge. Both sums move one way, so the pixels that need no holding form one
// run, found once per span; only the pixels before and after it are held.

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace kivotasuGameKit::polygon {

struct Texture;
struct SpanWalk;

// Fills out with the n 32-bit cells of a span that needs no holding (all of
// its points inside the source) and moves the walk past them.
using FetchFn = void (*)(uint8_t* out, const Texture& t, SpanWalk& w, int32_t n);

struct Texture {
    const uint8_t* pixels;
    ptrdiff_t pitch;
    int64_t width, height;
    FetchFn fetch; // of a 32-bit source: the one FetchFor gives
};

struct SpanWalk {
    int64_t u, v, du, dv;
    void Advance(int64_t n)
    {
        u += n * du;
        v += n * dv;
    }
};

struct Run {
    int64_t first, end;
};

// The run of i in [0, n) with 0 <= a + i d < limit.
inline Run InRange(int64_t a, int64_t d, int64_t limit, int64_t n)
{
    int64_t first = 0, end = n;
    if (d > 0) {
        first = a >= 0 ? 0 : (d - a - 1) / d;
        end = a >= limit ? 0 : (limit - a + d - 1) / d;
    } else if (d < 0) {
        first = a < limit ? 0 : (a - limit) / -d + 1;
        end = a < 0 ? 0 : a / -d + 1;
    } else if (a < 0 || a >= limit) {
        end = 0;
    }
    return {std::min(first, n), std::min(end, n)};
}

// The pixels of an n-pixel span whose source points lie inside the source;
// an empty run starts at n.
inline Run Unheld(const SpanWalk& w, const Texture& t, int64_t n)
{
    const Run across = InRange(w.u, w.du, t.width << 18, n), down = InRange(w.v, w.dv, t.height << 18, n);
    const Run run{std::max(across.first, down.first), std::min(across.end, down.end)};
    return run.first < run.end ? run : Run{n, n};
}

// The widest fetch the processor and the texture allow: the AVX2 fetch takes
// 32-bit offsets and coordinates.
FetchFn FetchFor(const Texture& t);

// Cell by cell by plain loads, on any processor.
void SteppedFetch(uint8_t* out, const Texture& t, SpanWalk& w, int32_t n);

// On AVX2 (null where the build has none): a span that keeps its row by plain
// loads, spread by permutes where it steps two columns a cell or less; others
// by gathers.
extern const FetchFn Avx2Fetch;

} // namespace kivotasuGameKit::polygon
