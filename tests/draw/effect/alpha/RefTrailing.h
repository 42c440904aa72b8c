#pragma once

// Placement for the body that takes each fractional step after its pixel. It
// draws the same destination pixels as every other body; its first drawn
// column reads the clipped source rect's left column, and every later column
// i reads what the other bodies read at column i - 1, plus the whole step.
// Unclipped, column i thus shows left + i x step + the carries of i steps
// (not i + 1): one fractional step behind RefSample. Rows likewise.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

#include "tests/kit/pixel/RefBlit.h"

namespace pixelkit {

// The source column the clipped source rect starts at when the first n of
// dw columns (stretching sw) are clipped away: the clipper advances past
// every column whose error term reaches 0.
inline int64_t RefClippedStart(int64_t n, int64_t sw, int64_t dw)
{
    const int64_t e = n * sw - dw;
    return n > 0 && e >= 0 ? e / dw + 1 : 0;
}

// Picture column i of n columns drawn over m, the first drawn being first.
inline int64_t RefSampleTrailing(int64_t i, int64_t first, int64_t n, int64_t m)
{
    return i == first ? RefClippedStart(first, n, m) : RefSample(i - 1, n, m) + n / m;
}

inline std::vector<uint8_t> RefBlitTrailing(TestSurface& d, TestSurface& s, const RefRequest& r,
                                            const std::function<void(uint8_t*, const uint8_t*)>& op)
{
    int64_t sl = 0, st = 0, sr = s.Width(), sb = s.Height();
    if (r.sourceRect) {
        sl = std::max<int64_t>(r.sourceRect->left, 0);
        st = std::max<int64_t>(r.sourceRect->top, 0);
        sr = std::min<int64_t>(r.sourceRect->right, sr);
        sb = std::min<int64_t>(r.sourceRect->bottom, sb);
    }
    const int64_t sw = sr - sl, sh = sb - st;
    const int64_t dw = r.size ? r.size->cx : sw, dh = r.size ? r.size->cy : sh;
    // The picture's top-left (the anchor only matters where something is drawn, dw, dh > 0).
    const int h = (r.anchor >= 0 && r.anchor <= 8) ? r.anchor % 3 : 0;
    const int v = (r.anchor >= 0 && r.anchor <= 8) ? r.anchor / 3 : 0;
    const int64_t x0 = (r.point ? r.point->x : 0) - (h == 1 ? dw / 2 : h == 2 ? dw : 0);
    const int64_t y0 = (r.point ? r.point->y : 0) - (v == 1 ? dh / 2 : v == 2 ? dh : 0);
    int firstX = INT_MAX, firstY = INT_MAX;
    RefPlace(s.Width(), s.Height(), d.Width(), d.Height(), r, [&](int dx, int dy, int, int) {
        firstX = std::min(firstX, dx);
        firstY = std::min(firstY, dy);
    });
    std::vector<uint8_t> expected = d.Bytes();
    RefPlace(s.Width(), s.Height(), d.Width(), d.Height(), r, [&](int dx, int dy, int, int) {
        const int sx = int(sl + RefSampleTrailing(dx - x0, firstX - x0, sw, dw));
        const int sy = int(st + RefSampleTrailing(dy - y0, firstY - y0, sh, dh));
        op(expected.data() + d.Offset(dx, dy), s.Cell(sx, sy));
    });
    return expected;
}

} // namespace pixelkit
