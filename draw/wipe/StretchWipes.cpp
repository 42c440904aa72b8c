// The stretches: a band of the picture in place, and the line beside it
// stretched over the rest of the destination up to its edge.
#include "draw/wipe/TransitionWipe.h"
#include "draw/wipe/WipeAreas.h"

namespace kivotasuGameKit::Draw {

using wipe::CWipeAreas;
using wipe::Lines;
using wipe::RunWipe;

namespace {

// Along columns (horizontal stretches) or rows. Flag 1: the far band
// size - L .. size in place, line size - L - 1 stretched from the
// destination's near edge up to the band. Flag 0: the band 0 .. L in place,
// line L stretched from the band to the destination's far edge.
int StretchBand(CWipeAreas& areas, int32_t p, bool columns, int flag)
{
    const int32_t size = columns ? areas.Width() : areas.Height();
    const int32_t across = columns ? areas.Height() : areas.Width();
    const int32_t at = columns ? areas.X() : areas.Y();
    const int32_t length = int32_t((int64_t(size) * p) / 256);
    int destinationWidth = 0, destinationHeight = 0;
    areas.Destination()->GetSize(&destinationWidth, &destinationHeight);
    const int64_t destinationSize = columns ? destinationWidth : destinationHeight;

    const int32_t bandFrom = flag == 1 ? size - length : 0;
    const int32_t line = flag == 1 ? size - length - 1 : length;
    if (length > 0) areas.Draw(Lines(columns, bandFrom, bandFrom + length, areas));
    const int64_t from = flag == 1 ? 0 : int64_t(at) + length;
    const int64_t stretched = flag == 1 ? int64_t(at) + size - length : destinationSize - length - at;
    if (stretched <= 0 || stretched > INT32_MAX) return 0;
    const SIZE to = columns ? SIZE{int32_t(stretched), across} : SIZE{across, int32_t(stretched)};
    const int32_t other = columns ? areas.Y() : areas.X();
    if (columns) areas.DrawStretched(Lines(true, line, line + 1, areas), int32_t(from), other, to);
    else areas.DrawStretched(Lines(false, line, line + 1, areas), other, int32_t(from), to);
    return 0;
}

} // namespace

int CTransitionWipe::StretchHorizontal(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y,
                                       int32_t phase, int32_t kind, uint32_t rate, const RECT* clip, int flag)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [&](CWipeAreas& areas, int32_t p) { return StretchBand(areas, p, true, flag); });
}

int CTransitionWipe::StretchVertical(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y,
                                     int32_t phase, int32_t kind, uint32_t rate, const RECT* clip, int flag)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [&](CWipeAreas& areas, int32_t p) { return StretchBand(areas, p, false, flag); });
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
