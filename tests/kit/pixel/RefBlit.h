#pragma once

// Reference placement of a blit, from the request rules: where the picture
// lies (point, size, anchor), what the clip leaves, and which source pixel
// each destination pixel shows. A clipped blit shows exactly the pixels the
// unclipped one shows at the same places.

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "draw/effect/BltTypes.h"
#include "tests/kit/pixel/TestSurface.h"

namespace pixelkit {

struct RefRequest {
    std::optional<kivotasuGameKit::POINT> point;
    std::optional<kivotasuGameKit::SIZE> size;
    std::optional<kivotasuGameKit::RECT> sourceRect;
    std::optional<kivotasuGameKit::RECT> clipRect;
    int anchor = 0;

    kivotasuGameKit::BltParams Params() const
    {
        kivotasuGameKit::BltParams p;
        p.point = point ? &*point : nullptr;
        p.size = size ? &*size : nullptr;
        p.sourceRect = sourceRect ? &*sourceRect : nullptr;
        p.clipRect = clipRect ? &*clipRect : nullptr;
        p.anchor = anchor;
        return p;
    }
};

// The source index that destination index i (0-based within the picture)
// shows when n source pixels are drawn over m destination pixels: a nearest
// sample that steps by n / m with the remainder spread by an error term.
inline int64_t RefSample(int64_t i, int64_t n, int64_t m)
{
    const int64_t remainder = n % m;
    return (i * n + (remainder ? remainder - 1 : 0)) / m;
}

// The sampling of a body: which source index picture index i shows.
using RefSampler = int64_t (*)(int64_t i, int64_t n, int64_t m);

// Calls visit(dx, dy, sx, sy) for every destination pixel the blit draws,
// rows top to bottom. Returns false when nothing is drawn.
inline bool RefPlace(int srcWidth, int srcHeight, int dstWidth, int dstHeight, const RefRequest& r,
                     const std::function<void(int, int, int, int)>& visit, RefSampler sample = RefSample)
{
    // A rectangle cut to a surface, or the whole surface when none is given.
    const auto within = [](const std::optional<kivotasuGameKit::RECT>& rect, int width, int height) {
        if (!rect) return std::array<int64_t, 4>{0, 0, width, height};
        return std::array<int64_t, 4>{std::max<int64_t>(rect->left, 0), std::max<int64_t>(rect->top, 0),
                                      std::min<int64_t>(rect->right, width), std::min<int64_t>(rect->bottom, height)};
    };
    const auto [sl, st, sr, sb] = within(r.sourceRect, srcWidth, srcHeight);
    if (sl >= sr || st >= sb) return false;
    const int64_t sw = sr - sl, sh = sb - st;
    const int64_t dw = r.size ? r.size->cx : sw, dh = r.size ? r.size->cy : sh;
    if (dw <= 0 || dh <= 0) return false;
    int64_t x = r.point ? r.point->x : 0, y = r.point ? r.point->y : 0;
    const int h = (r.anchor >= 0 && r.anchor <= 8) ? r.anchor % 3 : 0;
    const int v = (r.anchor >= 0 && r.anchor <= 8) ? r.anchor / 3 : 0;
    // Halving rounds towards minus infinity.
    const auto half = [](int64_t n) { return n >= 0 ? n / 2 : -((-n + 1) / 2); };
    x -= h == 1 ? half(dw) : h == 2 ? dw : 0;
    y -= v == 1 ? half(dh) : v == 2 ? dh : 0;
    const auto [cl, ct, cr, cb] = within(r.clipRect, dstWidth, dstHeight);
    bool any = false;
    for (int64_t j = 0; j < dh; ++j) {
        const int64_t dy = y + j;
        if (dy < ct || dy >= cb) continue;
        for (int64_t i = 0; i < dw; ++i) {
            const int64_t dx = x + i;
            if (dx < cl || dx >= cr) continue;
            any = true;
            visit(int(dx), int(dy), int(sl + sample(i, sw, dw)), int(st + sample(j, sh, dh)));
        }
    }
    return any;
}

// The expected bytes of destination d after a blit: op(destination cell,
// source cell) applied to a copy of d's buffer at every placed pixel.
inline std::vector<uint8_t> RefBlit(TestSurface& d, TestSurface& s, const RefRequest& r,
                                    const std::function<void(uint8_t*, const uint8_t*)>& op,
                                    RefSampler sample = RefSample)
{
    std::vector<uint8_t> expected = d.Bytes();
    RefPlace(
        s.Width(), s.Height(), d.Width(), d.Height(), r,
        [&](int dx, int dy, int sx, int sy) { op(expected.data() + d.Offset(dx, dy), s.Cell(sx, sy)); }, sample);
    return expected;
}

} // namespace pixelkit
