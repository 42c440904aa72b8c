#pragma once

// The polygon walk written from its rules, each row in closed form: which
// destination pixels a convex polygon covers and the source pixel each
// samples. Sides run from the top point (least y, then least x) to the bottom
// one (greatest y, then greatest x); every position is 18-bit fixed point
// from the pixel's half; a side's steps divide by the edge's height (plus 1
// with the step flag for the source's), a span's by its width (likewise),
// taken between the integer parts of its ends; the clip only leaves pixels
// out.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "draw/effect/Geometry.h"

namespace pixelkit {

using kivotasuGameKit::POINT;
using kivotasuGameKit::RECT;

struct RefSample {
    int x, y, sx, sy;
};

inline std::vector<RefSample> RefWalk(const std::vector<POINT>& dst, const std::vector<POINT>& src, RECT clip,
                                      bool stepFlag, int sourceWidth, int sourceHeight)
{
    const int n = int(dst.size());
    const int64_t half = 1 << 17, flag = stepFlag;
    int top = 0, bottom = 0;
    for (int i = 0; i < n; ++i) {
        if (dst[i].y < dst[top].y || (dst[i].y == dst[top].y && dst[i].x < dst[top].x)) top = i;
        if (dst[i].y > dst[bottom].y || (dst[i].y == dst[bottom].y && dst[i].x > dst[bottom].x)) bottom = i;
    }
    if (n < 2 || dst[top].y == dst[bottom].y) return {};
    const POINT &t = dst[top], &next = dst[(top + 1) % n], &prev = dst[(top + n - 1) % n];
    const int64_t turn = int64_t(next.y - t.y) * (prev.x - t.x) - int64_t(prev.y - t.y) * (next.x - t.x);
    // A side at row y: x, u and v on the last edge starting at or above y.
    struct Point {
        int64_t x, u, v;
    };
    const auto side = [&](int direction, int y) {
        int from = top;
        for (int i = top; i != bottom;) {
            const int j = (i + direction + n) % n;
            if (dst[i].y != dst[j].y && dst[i].y <= y) from = i;
            i = j;
        }
        const int to = (from + direction + n) % n;
        const int64_t h = dst[to].y - dst[from].y, rows = y - dst[from].y;
        const auto along = [&](int64_t a, int64_t b, int64_t divisor) {
            return rows * (divisor ? ((b - a) << 18) / divisor : 0) + (a << 18) + half;
        };
        return Point{along(dst[from].x, dst[to].x, h), along(src[from].x, src[to].x, h + flag),
                     along(src[from].y, src[to].y, h + flag)};
    };
    std::vector<RefSample> samples;
    const int64_t l = clip.left, r = clip.right;
    for (int y = std::max<int>(t.y, clip.top); y <= std::min<int>(dst[bottom].y, clip.bottom - 1); ++y) {
        const Point a = side(turn < 1 ? -1 : 1, y), b = side(turn < 1 ? 1 : -1, y);
        const int64_t xl = a.x >> 18, xr = b.x >> 18, width = xr - xl + flag;
        const int64_t du = xr != xl && width ? (((b.u >> 18) - (a.u >> 18)) << 18) / width : 0;
        const int64_t dv = xr != xl && width ? (((b.v >> 18) - (a.v >> 18)) << 18) / width : 0;
        for (int64_t x = std::max(xl, l); x <= std::min(xr, r - 1); ++x) {
            const int64_t i = x - xl;
            const int64_t su = (a.u >> 18) + ((half + i * du) >> 18);
            const int64_t sv = (a.v >> 18) + ((half + i * dv) >> 18);
            samples.push_back({int(x), y, int(std::clamp<int64_t>(su, 0, sourceWidth - 1)),
                               int(std::clamp<int64_t>(sv, 0, sourceHeight - 1))});
        }
    }
    return samples;
}

} // namespace pixelkit
