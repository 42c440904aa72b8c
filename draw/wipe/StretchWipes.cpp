// The stretches: a band of the picture in place, and the line beside it
// stretched over the rest of the destination up to its edge.
#include "draw/wipe/TransitionWipe.h"
#include "draw/wipe/WipePieces.h"

namespace kivotasuGameKit::Draw {

using wipe::CWipePieces;
using wipe::Lines;
using wipe::RunWipe;

namespace {

// Along columns (horizontal stretches) or rows. Flag 1: the far band
// size - L .. size in place, line size - L - 1 stretched from the
// destination's near edge up to the band. Flag 0: the band 0 .. L in place,
// line L stretched from the band to the destination's far edge.
int StretchBand(CWipePieces& pieces, int32_t p, bool columns, int flag)
{
    const int32_t size = columns ? pieces.Width() : pieces.Height();
    const int32_t across = columns ? pieces.Height() : pieces.Width();
    const int32_t at = columns ? pieces.X() : pieces.Y();
    const int32_t length = int32_t((int64_t(size) * p) / 256);
    int destinationWidth = 0, destinationHeight = 0;
    pieces.Destination()->GetSize(&destinationWidth, &destinationHeight);
    const int64_t destinationSize = columns ? destinationWidth : destinationHeight;

    const int32_t bandFrom = flag == 1 ? size - length : 0;
    const int32_t line = flag == 1 ? size - length - 1 : length;
    if (length > 0) pieces.Draw(Lines(columns, bandFrom, bandFrom + length, pieces));
    const int64_t from = flag == 1 ? 0 : int64_t(at) + length;
    const int64_t stretched = flag == 1 ? int64_t(at) + size - length : destinationSize - length - at;
    if (stretched <= 0 || stretched > INT32_MAX) return 0;
    const SIZE to = columns ? SIZE{int32_t(stretched), across} : SIZE{across, int32_t(stretched)};
    const int32_t other = columns ? pieces.Y() : pieces.X();
    if (columns) pieces.DrawStretched(Lines(true, line, line + 1, pieces), int32_t(from), other, to);
    else pieces.DrawStretched(Lines(false, line, line + 1, pieces), other, int32_t(from), to);
    return 0;
}

} // namespace

int CTransitionWipe::StretchHorizontal(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y,
                                       int32_t phase, int32_t kind, uint32_t rate, const RECT* clip, int flag)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [&](CWipePieces& pieces, int32_t p) { return StretchBand(pieces, p, true, flag); });
}

int CTransitionWipe::StretchVertical(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y,
                                     int32_t phase, int32_t kind, uint32_t rate, const RECT* clip, int flag)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [&](CWipePieces& pieces, int32_t p) { return StretchBand(pieces, p, false, flag); });
}

int CTransitionWipe::StretchLeft(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                                 int32_t kind, uint32_t rate, const RECT* clip)
{
    return StretchHorizontal(destination, source, x, y, phase, kind, rate, clip, 1);
}

int CTransitionWipe::StretchRight(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                                  int32_t kind, uint32_t rate, const RECT* clip)
{
    return StretchHorizontal(destination, source, x, y, phase, kind, rate, clip, 0);
}

int CTransitionWipe::StretchTop(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                                int32_t kind, uint32_t rate, const RECT* clip)
{
    return StretchVertical(destination, source, x, y, phase, kind, rate, clip, 1);
}

int CTransitionWipe::StretchBottom(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                                   int32_t kind, uint32_t rate, const RECT* clip)
{
    return StretchVertical(destination, source, x, y, phase, kind, rate, clip, 0);
}

} // namespace kivotasuGameKit::Draw
