// The blinds: bands of lines that open one line after another.
#include <algorithm>

#include "draw/wipe/TransitionWipe.h"
#include "draw/wipe/WipeAreas.h"

namespace kivotasuGameKit::Draw {

using wipe::CWipeAreas;
using wipe::Lines;
using wipe::RunWipe;

namespace {

constexpr int32_t Band = 16;

// Block i of n opens T - i lines (at most a block) once T has passed i, so
// the blocks open as a staggered wave; from the far edge the lines count
// back from the end.
void StaggeredBlocks(CWipeAreas& areas, int32_t p, bool columns, bool fromFar, int32_t block)
{
    if (block < 1) return;
    const int64_t size = columns ? areas.Width() : areas.Height();
    const int64_t n = (size + block + 1) / block, opened = ((n + block) * p) / 256;
    for (int64_t i = 0; i < n && i < opened; ++i) {
        const int64_t length = std::min<int64_t>(opened - i, block);
        // Cut at both edges of the picture: its last line opens with its
        // block, like every other.
        const int64_t start = fromFar ? size - i * block - length : i * block;
        const int64_t from = std::max<int64_t>(start, 0), to = std::min(start + length, size);
        if (from < to) areas.Draw(Lines(columns, int32_t(from), int32_t(to), areas));
    }
}

} // namespace

int CTransitionWipe::Blind(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                           int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [](CWipeAreas& areas, int32_t p) {
        // Columns c with (c & 15) <= p >> 4: the first ones of every band, in
        // one blit per band.
        const int32_t open = (p >> 4) + 1;
        for (int32_t band = 0; band < areas.Width(); band += Band)
            areas.Draw(Lines(true, band, band + open, areas));
        return 0;
    });
}

int CTransitionWipe::BlindHorizontal(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y,
                                     int32_t phase, int32_t kind, uint32_t rate, const RECT* clip, bool fromFar,
                                     int32_t block)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [&](CWipeAreas& areas, int32_t p) {
        StaggeredBlocks(areas, p, true, fromFar, block);
        return 0;
    });
}

int CTransitionWipe::BlindVertical(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y,
                                   int32_t phase, int32_t kind, uint32_t rate, const RECT* clip, bool fromFar,
                                   int32_t block)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [&](CWipeAreas& areas, int32_t p) {
        StaggeredBlocks(areas, p, false, fromFar, block);
        return 0;
    });
}

int CTransitionWipe::BlindLeft(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                               int32_t kind, uint32_t rate, const RECT* clip)
{
    return BlindHorizontal(destination, source, x, y, phase, kind, rate, clip, false, Band);
}

int CTransitionWipe::BlindRight(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                                int32_t kind, uint32_t rate, const RECT* clip)
{
    return BlindHorizontal(destination, source, x, y, phase, kind, rate, clip, true, Band);
}

int CTransitionWipe::BlindTop(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                              int32_t kind, uint32_t rate, const RECT* clip)
{
    return BlindVertical(destination, source, x, y, phase, kind, rate, clip, false, Band);
}

int CTransitionWipe::BlindBottom(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                                 int32_t kind, uint32_t rate, const RECT* clip)
{
    return BlindVertical(destination, source, x, y, phase, kind, rate, clip, true, Band);
}

} // namespace kivotasuGameKit::Draw
