// The stripes: lines that grow alternately from either edge. The H kinds
// work on rows, the V kinds on columns, each measured along its own line.
#include <algorithm>

#include "draw/wipe/TransitionWipe.h"
#include "draw/wipe/WipePieces.h"

namespace kivotasuGameKit::Draw {

using wipe::CWipePieces;
using wipe::RunWipe;
using wipe::Span;

namespace {

// Every period-th line from first grows over length from the near edge or,
// one line longer, from the far edge.
void GrowLines(CWipePieces& pieces, bool columns, int32_t first, int32_t period, int32_t length, bool fromFar)
{
    const int32_t along = columns ? pieces.Height() : pieces.Width();
    const int32_t count = columns ? pieces.Width() : pieces.Height();
    const int32_t from = fromFar ? std::max(along - length - 1, 0) : 0;
    const int32_t to = fromFar ? along : std::min(length, along);
    if (from >= to) return;
    for (int32_t line = first; line < count; line += period) pieces.Draw(Span(columns, line, from, to));
}

int32_t Scaled(int32_t along, int32_t p, int shift) { return int32_t((int64_t(along) * p) >> shift); }

int StripeOnce(CWipePieces& pieces, int32_t p, bool columns)
{
    const int32_t length = Scaled(columns ? pieces.Height() : pieces.Width(), p, 8);
    GrowLines(pieces, columns, 0, 2, length, false);
    GrowLines(pieces, columns, 1, 2, length, true);
    return 0;
}

// Lines 0 and 2 of every four first at twice the speed, lines 1 and 3 in the
// second half.
int StripeTwice(CWipePieces& pieces, int32_t p, bool columns)
{
    const int32_t along = columns ? pieces.Height() : pieces.Width();
    const int32_t first = std::min(Scaled(along, p, 7), along);
    GrowLines(pieces, columns, 0, 4, first, false);
    GrowLines(pieces, columns, 2, 4, first, true);
    if (p >= 129) {
        const int32_t second = Scaled(along, p - 128, 7);
        GrowLines(pieces, columns, 1, 4, second, false);
        GrowLines(pieces, columns, 3, 4, second, true);
    }
    return 0;
}

} // namespace

int CTransitionWipe::StripeH1(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                              int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [](CWipePieces& pieces, int32_t p) { return StripeOnce(pieces, p, false); });
}

int CTransitionWipe::StripeV1(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                              int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [](CWipePieces& pieces, int32_t p) { return StripeOnce(pieces, p, true); });
}

int CTransitionWipe::StripeH2(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                              int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [](CWipePieces& pieces, int32_t p) { return StripeTwice(pieces, p, false); });
}

int CTransitionWipe::StripeV2(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                              int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [](CWipePieces& pieces, int32_t p) { return StripeTwice(pieces, p, true); });
}

} // namespace kivotasuGameKit::Draw
