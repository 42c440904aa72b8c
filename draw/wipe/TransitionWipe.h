#pragma once
// The transition wipes: each draws the part of a new picture that a phase of
// 0..256 reveals onto the destination, in areas through the plane blits, and
// keeps nothing between frames.
//
// Common arguments: destination, source (the new picture), the point where
// the source's top-left corner lands, the phase (below 1 nothing is drawn;
// 256 or more draws the whole source in one blit and returns its result),
// the kind of blit (0 copy, 1 colour-keyed copy, 2 blend by rate, 3 AutoBlt;
// any other kind draws nothing), the rate for kind 2, and a clip rectangle
// (null: the whole destination) that every blit receives. A wipe that drew
// areas returns 0.
//
// Ranges of columns or rows are half-open: "a .. b" is a <= c < b, as the
// blitter's rectangles are.

#include <cstdint>

#include "draw/PlaneBase.h"

namespace kivotasuGameKit {
class CMersenneTwister;
}

namespace kivotasuGameKit::Draw {

class CTransitionWipe {
public:
    // (destination, source, x, y, phase, kind, rate, clip)
    using Wipe = int(CPlaneBase*, CPlaneBase*, int32_t, int32_t, int32_t, int32_t, uint32_t, const RECT*);

    // The whole source blended by the phase as rate; -1 for a kind above 3.
    static Wipe Blend;
    // A square growing from the centre.
    static Wipe Square;
    // A disc growing from the centre, row by row.
    static Wipe Circle;
    // Every 16 x 16 cell fills from its top-left corner.
    static Wipe Rect;
    // Every 32 x 32 cell fills in 8 x 8 blocks, spiralling out of its centre.
    static Wipe Spiral;
    // Every 16-pixel band of columns opens from its left column.
    static Wipe Blind;
    static Wipe BlindLeft;
    static Wipe BlindRight;
    static Wipe BlindTop;
    static Wipe BlindBottom;
    // Rows (H) or columns (V) grow alternately from either edge; 2 in two
    // passes of every other pair.
    static Wipe StripeH1;
    static Wipe StripeH2;
    static Wipe StripeV1;
    static Wipe StripeV2;
    // The whole source, pixelated in blocks that shrink from 64 to 1; the
    // mosaic's result.
    static Wipe Mosaic;
    // Every row shifted sideways on a cosine of 64 rows whose amplitude falls
    // to 0.
    static Wipe Wave;
    // A band of the source in place, and the line next to it stretched to the
    // destination's edge.
    static Wipe StretchLeft;
    static Wipe StretchRight;
    static Wipe StretchTop;
    static Wipe StretchBottom;
    // Not a transition: the source upside down (below 1 nothing, from 256 the
    // source as it is).
    static Wipe FlipVertical;

    // Every row shifted sideways at random, by less as the phase grows; the
    // numbers come from the generator, so a seeded one repeats the frames.
    static int CutIn(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase, int32_t kind,
                     uint32_t rate, const RECT* clip, CMersenneTwister& random);

    // Blind of b-pixel blocks from the left (fromFar false) or the right,
    // opening as a staggered wave; BlindVertical the same with rows.
    static int BlindHorizontal(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                               int32_t kind, uint32_t rate, const RECT* clip, bool fromFar, int32_t block);
    static int BlindVertical(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                             int32_t kind, uint32_t rate, const RECT* clip, bool fromFar, int32_t block);
    // Flag 1: the far band in place and the line before it stretched to the
    // near edge; flag 0 the other way round.
    static int StretchHorizontal(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                                 int32_t kind, uint32_t rate, const RECT* clip, int flag);
    static int StretchVertical(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                               int32_t kind, uint32_t rate, const RECT* clip, int flag);

    // Blend by the source's alpha when it has one, else the colour-keyed copy.
    static int AutoBlt(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, const SIZE* size = nullptr,
                       const RECT* sourceRect = nullptr, const RECT* clip = nullptr, int anchor = 0);
    // Below rate 255 the rate blend (keyed without alpha); at 255 AutoBlt.
    static int AutoBlendBlt(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, uint32_t rate,
                            const SIZE* size = nullptr, const RECT* sourceRect = nullptr, const RECT* clip = nullptr,
                            int anchor = 0);
};

} // namespace kivotasuGameKit::Draw
