#pragma once

// The edge walk every polygon member shares: fills the destination polygon
// row by row, stepping the source coordinates in 18-bit fixed point along the
// two side chains and across each span, and hands each span to the member's
// rule: the pixels whose source points fall outside the source one by one,
// held to its edge, the run between them whole.
//
// Held in 64 bits so that coordinates far beyond the 32-bit fixed-point range
// cannot overflow; results inside that range are those of 32-bit arithmetic.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "draw/effect/SurfaceInfo.h"
#include "draw/polygon/PolygonBltParams.h"
#include "draw/polygon/SpanSource.h"

namespace kivotasuGameKit::polygon {

// Beyond this magnitude a coordinate would overflow the 64-bit walk; such a
// polygon is refused.
inline constexpr int64_t kCoordinateLimit = int64_t(1) << 20;
inline constexpr int64_t kHalf = int64_t(1) << 17;

struct Edge {
    POINT from;
    POINT to;
    POINT sourceFrom;
    POINT sourceTo;
};

struct Side {
    size_t next = 0;
    int64_t x = 0, u = 0, v = 0;
    int64_t dx = 0, du = 0, dv = 0;
};

// Edges of zero height are dropped: a horizontal edge at the top or bottom is
// the one the walk leaves out, and any other would divide by zero.
std::vector<Edge> SideChain(const PolygonBltParams& params, int32_t from, int32_t to, int32_t direction);
bool IsDrawable(const PolygonBltParams& params);
RECT ClipOf(const PolygonBltParams& params, const CSurfaceInfo& destination);
// Puts the side on edge k of its chain, rows below the edge's start.
void LoadEdge(Side& side, const std::vector<Edge>& chain, size_t k, int64_t flag, int64_t rows);

// The pixels [from, to) of a span one by one, their source points held to
// the source's edge.
template <int DB, int SB, class Rule>
void HeldPixels(uint8_t* d, const Texture& t, SpanWalk w, int64_t from, int64_t to, const Rule& rule)
{
    w.Advance(from);
    for (int64_t i = from; i < to; ++i, w.u += w.du, w.v += w.dv) {
        const int64_t column = std::clamp<int64_t>(w.u >> 18, 0, t.width - 1);
        const int64_t row = std::clamp<int64_t>(w.v >> 18, 0, t.height - 1);
        rule(d + i * DB, t.pixels + row * t.pitch + column * SB);
    }
}

// An n-pixel span: the run inside the source goes to the rule's span form.
template <int DB, int SB, class Rule>
void DrawSpan(uint8_t* d, const Texture& t, const SpanWalk& w, int64_t n, const Rule& rule)
{
    const Run run = Unheld(w, t, n);
    HeldPixels<DB, SB>(d, t, w, 0, run.first, rule);
    if (run.first < run.end) {
        SpanWalk inside = w;
        inside.Advance(run.first);
        rule.Span(d + run.first * DB, t, inside, run.end - run.first);
    }
    HeldPixels<DB, SB>(d, t, w, run.end, n, rule);
}

template <int DestinationBytes, int SourceBytes, class Rule>
int Walk(CSurfaceInfo* source, CSurfaceInfo* destination, const PolygonBltParams* request, Rule rule)
{
    if (!source || !destination || !request) return -1;
    const PolygonBltParams& params = *request;
    if (!IsDrawable(params)) return 0;
    const int32_t sourceWidth = source->GetWidth();
    const int32_t sourceHeight = source->GetHeight();
    if (sourceWidth <= 0 || sourceHeight <= 0) return 0;

    const POINT* p = params.destinationPoints;
    const int32_t n = params.pointCount;
    int32_t top = 0, bottom = 0;
    for (int32_t i = 1; i < n; ++i) {
        if (p[i].y < p[top].y || (p[i].y == p[top].y && p[i].x < p[top].x))
            top = i;
        else if (p[i].y > p[bottom].y || (p[i].y == p[bottom].y && p[i].x > p[bottom].x))
            bottom = i;
    }
    const int32_t next = (top + 1) % n;
    const int32_t prev = (top + n - 1) % n;
    const int64_t cross = int64_t(p[next].y - p[top].y) * (p[prev].x - p[top].x) -
                          int64_t(p[prev].y - p[top].y) * (p[next].x - p[top].x);
    const std::vector<Edge> left = SideChain(params, top, bottom, cross < 1 ? -1 : 1);
    const std::vector<Edge> right = SideChain(params, top, bottom, cross < 1 ? 1 : -1);
    if (left.empty() || right.empty()) return 0;

    const RECT clip = ClipOf(params, *destination);
    const int32_t topY = p[top].y;
    const int32_t bottomY = p[bottom].y;
    // An empty clip first: its bottom may be the int range's end, below its top.
    if (clip.left >= clip.right || clip.top >= clip.bottom || clip.bottom - 1 < topY || bottomY < clip.top) return 0;
    const int32_t y0 = std::max(topY, clip.top);
    const int32_t y1 = std::min(bottomY, clip.bottom - 1);
    const int64_t flag = params.stepFlag ? 1 : 0;

    Side sides[2];
    const std::vector<Edge>* chains[2] = {&left, &right};
    if (clip.top > topY) {
        const int32_t row = clip.top - 1;
        for (int s = 0; s < 2; ++s) {
            const std::vector<Edge>& chain = *chains[s];
            size_t j = chain.size() - 1;
            for (size_t k = 0; k + 1 < chain.size(); ++k)
                if (chain[k].from.y <= row && row < chain[k].to.y) {
                    j = k;
                    break;
                }
            LoadEdge(sides[s], chain, j, flag, int64_t(row) - chain[j].from.y);
        }
    }

    const int64_t l = clip.left, r = clip.right;
    const int32_t destinationPitch = destination->GetPitch();
    Texture texture{source->GetPixelBytes(), source->GetPitch(), sourceWidth, sourceHeight, nullptr};
    if constexpr (SourceBytes == 4) texture.fetch = FetchFor(texture);
    uint8_t* line = destination->GetPixelBytes() + int64_t(y0) * destinationPitch;
    for (int32_t y = y0; y <= y1; ++y, line += destinationPitch) {
        for (int s = 0; s < 2; ++s) {
            Side& side = sides[s];
            const std::vector<Edge>& chain = *chains[s];
            if (side.next < chain.size() && chain[side.next].from.y == y) {
                LoadEdge(side, chain, side.next, flag, 0);
            } else {
                side.x += side.dx;
                side.u += side.du;
                side.v += side.dv;
            }
        }
        const Side& sl = sides[0];
        const Side& sr = sides[1];
        const int64_t xl = sl.x >> 18;
        const int64_t xr = sr.x >> 18;
        SpanWalk walk{0, 0, 0, 0};
        const int64_t divisor = xr - xl + flag;
        if (xr != xl && divisor != 0) {
            walk.du = (((sr.u >> 18) - (sl.u >> 18)) << 18) / divisor;
            walk.dv = (((sr.v >> 18) - (sl.v >> 18)) << 18) / divisor;
        }
        // The span's pixels xl to xr that lie inside the clip, each sampling
        // what it samples unclipped: source points from the integer parts of
        // the side's, plus the half, walked on to the first pixel drawn.
        const int64_t start = std::max(xl, l), end = std::min(xr, r - 1);
        if (end < start) continue;
        walk.u = (sl.u >> 18 << 18) + kHalf;
        walk.v = (sl.v >> 18 << 18) + kHalf;
        walk.Advance(start - xl);
        DrawSpan<DestinationBytes, SourceBytes>(line + start * DestinationBytes, texture, walk, end - start + 1, rule);
    }
    return 0;
}

} // namespace kivotasuGameKit::polygon
