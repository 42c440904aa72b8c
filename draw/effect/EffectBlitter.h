#pragma once

#include <algorithm>
#include <cstdint>

#include "draw/effect/BltTypes.h"
#include "draw/effect/SurfaceInfo.h"

namespace kivotasuGameKit {

// The effect blitter's core: the clipper shared by every routine, the blend
// tables and the packing of keys and rates (the dispatch itself is
// CSurfaceInfo::EffectBlt).
class CEffectBlitter {
public:
    // 0 when something is left to draw, 1 when nothing is. Reads only the
    // sizes of the two records.
    static int ClipBlt(const CSurfaceInfo* destination, const CSurfaceInfo* source, const BltParams* request,
                       BltClipResult* out);

    static void BuildBlendTables();

    // The record a routine of operation op receives: the source's colour key
    // as a cell of the source's format and the rates, laid out as BltKeyRate
    // says.
    static BltKeyRate PackKeyRate(uint32_t op, const CSurfaceInfo& source, SurfaceType destinationType,
                                  const BltRates* rates);
};

// The 26 pairs (destination <- source) that most operations serve.
constexpr bool IsStandardPair(int32_t dst, int32_t src)
{
    if (dst == src) return IsSurfaceType(dst) && dst != Pal8;
    switch (dst) {
    case RGB565: return src == ARGB4565;
    case RGB555: return src == ARGB4555;
    case RGB888: case XRGB8888: return src == ARGB8888;
    case BGR888: case XBGR8888: return src == ABGR8888;
    case ARGB4565: return src == RGB565;
    case ARGB4555: return src == RGB555;
    case ARGB8888: case ABGR8888: return src == RGB888 || src == BGR888 || src == XRGB8888 || src == XBGR8888;
    default: return false;
    }
}

// Whether operation op has a routine for destination <- source. Every family
// builds its grid from this, and the dispatch answers by it.
constexpr bool EffectBltServes(uint32_t op, int32_t dst, int32_t src)
{
    if (!IsSurfaceType(dst) || !IsSurfaceType(src)) return false;
    switch (op) {
    case 0:
        if (src == Pal8) return false;
        switch (dst) {
        case Pal8: return src == RGB555;
        case ARGB4565: return src == RGB565 || HasAlpha(src);
        case ARGB4555: return src == RGB555 || HasAlpha(src);
        case ARGB8888: case ABGR8888: return src >= RGB888;
        default: return true;
        }
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 14: case 15: case 16: case 17:
        return IsStandardPair(dst, src);
    case 8: case 9:
        return dst == src && dst != Pal8 && dst != RGB888;
    case 10:
        return HasAlpha(src) && IsStandardPair(dst, src);
    default:
        return false;
    }
}

// --- inline definitions ---------------------------------------------------

// Moves a stretch's source start and error to where the unclipped walk
// stands after n clipped-away columns (rows): n whole steps, and the carries
// its error has taken by then. An error that reaches 0 exactly on the last
// of them has not carried yet (the walk carries on its next increment), so a
// body that steps after its sample reads there what the unclipped picture
// shows, as does one that steps before it.
inline void SkipStretched(int64_t n, int64_t step, int64_t increment, int64_t decrement, int64_t& start,
                          int64_t& error)
{
    const int64_t carried = n * increment;
    const int64_t carries = carried > 0 ? (carried - 1) / decrement : 0;
    start += n * step + carries;
    error += carried - carries * decrement;
}

inline int CEffectBlitter::ClipBlt(const CSurfaceInfo* destination, const CSurfaceInfo* source,
                                   const BltParams* request, BltClipResult* out)
{
    // 64-bit throughout: offsets times sizes overflow 32 bits for far-off points.
    int64_t sl = 0, st = 0, sr = source->GetWidth(), sb = source->GetHeight();
    if (const RECT* r = request->sourceRect) {
        sl = std::max<int64_t>(r->left, 0);
        st = std::max<int64_t>(r->top, 0);
        sr = std::min<int64_t>(r->right, sr);
        sb = std::min<int64_t>(r->bottom, sb);
        if (sl >= sr || st >= sb) return 1;
    }
    const int64_t sw = sr - sl, sh = sb - st;
    int64_t x = request->point ? request->point->x : 0;
    int64_t y = request->point ? request->point->y : 0;
    const int64_t dw = request->size ? request->size->cx : sw;
    const int64_t dh = request->size ? request->size->cy : sh;
    switch (request->anchor) {
    case 1: x -= dw >> 1; break;
    case 2: x -= dw; break;
    case 3: y -= dh >> 1; break;
    case 4: x -= dw >> 1; y -= dh >> 1; break;
    case 5: x -= dw; y -= dh >> 1; break;
    case 6: y -= dh; break;
    case 7: x -= dw >> 1; y -= dh; break;
    case 8: x -= dw; y -= dh; break;
    default: break;
    }
    RECT clip = request->clipRect ? *request->clipRect
                                  : RECT{0, 0, destination->GetWidth(), destination->GetHeight()};
    clip.left = std::max(clip.left, 0);
    clip.top = std::max(clip.top, 0);
    clip.right = std::min(clip.right, destination->GetWidth());
    clip.bottom = std::min(clip.bottom, destination->GetHeight());

    int64_t dl = x, dt = y, dr, db;
    if (sw == dw && sh == dh) {
        out->sameSize = 1;
        dr = x + sw;
        db = y + sh;
        if (clip.left > x) { sl += clip.left - x; dl = clip.left; }
        if (clip.top > y) { st += clip.top - y; dt = clip.top; }
        if (dr > clip.right) { sr -= dr - clip.right; dr = clip.right; }
        if (db > clip.bottom) { sb -= db - clip.bottom; db = clip.bottom; }
        if (sl >= sr || st >= sb) return 1;
    } else {
        out->sameSize = 0;
        if (dw <= 0 || dh <= 0) return 1;
        dr = x + dw;
        db = y + dh;
        const int64_t xStep = sw / dw, yStep = sh / dh;
        const int64_t xIncrement = sw - xStep * dw, yIncrement = sh - yStep * dh;
        int64_t ex = -dw, ey = -dh;
        if (clip.left > dl) {
            SkipStretched(clip.left - dl, xStep, xIncrement, dw, sl, ex);
            dl = clip.left;
        }
        if (clip.top > dt) {
            SkipStretched(clip.top - dt, yStep, yIncrement, dh, st, ey);
            dt = clip.top;
        }
        dr = std::min<int64_t>(dr, clip.right);
        db = std::min<int64_t>(db, clip.bottom);
        if (sl >= sr || st >= sb || dl >= dr || dt >= db) return 1;
        out->xStep = int32_t(xStep);
        out->xErrorIncrement = int32_t(xIncrement);
        out->xErrorDecrement = int32_t(dw);
        out->xErrorStart = int32_t(ex - 1);
        out->yStep = int32_t(yStep);
        out->yErrorIncrement = int32_t(yIncrement);
        out->yErrorDecrement = int32_t(dh);
        out->yErrorStart = int32_t(ey - 1);
    }
    out->source = RECT{int32_t(sl), int32_t(st), int32_t(sr), int32_t(sb)};
    out->destination = RECT{int32_t(dl), int32_t(dt), int32_t(dr), int32_t(db)};
    out->clip = clip;
    return 0;
}

} // namespace kivotasuGameKit
