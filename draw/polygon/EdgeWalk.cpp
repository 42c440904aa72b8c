#include "draw/polygon/EdgeWalk.h"

namespace kivotasuGameKit::polygon {

namespace {

bool InRange(const POINT& point)
{
    return point.x >= -kCoordinateLimit && point.x <= kCoordinateLimit && point.y >= -kCoordinateLimit &&
           point.y <= kCoordinateLimit;
}

} // namespace

bool IsDrawable(const PolygonBltParams& params)
{
    if (!params.sourcePoints || !params.destinationPoints || params.pointCount < 2) return false;
    bool twoRows = false;
    for (int32_t i = 0; i < params.pointCount; ++i) {
        if (!InRange(params.sourcePoints[i]) || !InRange(params.destinationPoints[i])) return false;
        twoRows = twoRows || params.destinationPoints[i].y != params.destinationPoints[0].y;
    }
    return twoRows;
}

std::vector<Edge> SideChain(const PolygonBltParams& params, int32_t from, int32_t to, int32_t direction)
{
    const int32_t n = params.pointCount;
    const POINT* p = params.destinationPoints;
    const POINT* s = params.sourcePoints;
    std::vector<Edge> chain;
    for (int32_t i = from; i != to;) {
        const int32_t j = (i + direction + n) % n;
        if (p[i].y != p[j].y) chain.push_back(Edge{p[i], p[j], s[i], s[j]});
        i = j;
    }
    return chain;
}

RECT ClipOf(const PolygonBltParams& params, const CSurfaceInfo& destination)
{
    RECT clip{0, 0, destination.GetWidth(), destination.GetHeight()};
    if (!params.clip) return clip;
    // A rectangle past the destination is cut to it, not trusted.
    clip.left = std::max(clip.left, params.clip->left);
    clip.top = std::max(clip.top, params.clip->top);
    clip.right = std::min(clip.right, params.clip->right);
    clip.bottom = std::min(clip.bottom, params.clip->bottom);
    return clip;
}

void LoadEdge(Side& side, const std::vector<Edge>& chain, size_t k, int64_t flag, int64_t rows)
{
    const Edge& edge = chain[k];
    const int64_t height = int64_t(edge.to.y) - edge.from.y;
    side.dx = ((int64_t(edge.to.x) - edge.from.x) << 18) / height;
    // A span of height -1 with the flag set has a zero divisor; it never
    // comes from a monotone chain, and steps of 0 keep it harmless.
    const int64_t divisor = height + flag;
    side.du = divisor ? ((int64_t(edge.sourceTo.x) - edge.sourceFrom.x) << 18) / divisor : 0;
    side.dv = divisor ? ((int64_t(edge.sourceTo.y) - edge.sourceFrom.y) << 18) / divisor : 0;
    side.x = rows * side.dx + (int64_t(edge.from.x) << 18) + kHalf;
    side.u = rows * side.du + (int64_t(edge.sourceFrom.x) << 18) + kHalf;
    side.v = rows * side.dv + (int64_t(edge.sourceFrom.y) << 18) + kHalf;
    side.next = k + 1;
}

} // namespace kivotasuGameKit::polygon
