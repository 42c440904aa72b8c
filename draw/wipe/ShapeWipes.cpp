// The wipes that reveal a growing shape: the blend, the centred square and
// disc, and the cell patterns.
#include <algorithm>
#include <array>
#include <cmath>

#include "draw/wipe/TransitionWipe.h"
#include "draw/wipe/WipeAreas.h"

namespace kivotasuGameKit::Draw {

using wipe::CWipeAreas;
using wipe::RunWipe;

namespace {

// The order in which the 8 x 8 blocks of a 32 x 32 cell appear, row by row.
constexpr std::array<int32_t, 16> SpiralOrder = {6, 7, 8, 9, 5, 0, 1, 10, 4, 3, 2, 11, 15, 14, 13, 12};
constexpr int32_t SpiralBlock = 8;
constexpr int32_t RectCell = 16;

} // namespace

int CTransitionWipe::Blend(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                           int32_t kind, uint32_t rate, const RECT* clip)
{
    if (phase >= 1 && phase < 256 && uint32_t(kind) > 3) return -1;
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [&](CWipeAreas&, int32_t p) {
        switch (kind) {
        case 1: return destination->KeyBlendRateBlt(source, x, y, uint32_t(p), nullptr, nullptr, clip);
        case 3: return AutoBlendBlt(destination, source, x, y, uint32_t(p), nullptr, nullptr, clip);
        default: return destination->BlendRateBlt(source, x, y, uint32_t(p), nullptr, nullptr, clip);
        }
    });
}

int CTransitionWipe::Square(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                            int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [](CWipeAreas& areas, int32_t p) {
        const int32_t w = areas.Width(), h = areas.Height(), longer = std::max(w, h);
        const int32_t side = int32_t((int64_t(longer) * p) >> 8), half = int32_t((int64_t(longer) * p) >> 9);
        const int32_t left = std::max((w >> 1) - half, 0), top = std::max((h >> 1) - half, 0);
        areas.Draw(RECT{left, top, left + std::min(side, w - left), top + std::min(side, h - top)});
        return 0;
    });
}

int CTransitionWipe::Circle(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                            int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [](CWipeAreas& areas, int32_t p) {
        const int32_t w = areas.Width(), h = areas.Height();
        const int64_t diameter = ((int64_t(w) + h) * p) >> 8, radius = diameter >> 1;
        const int64_t r2 = diameter * diameter / 4;
        for (int64_t row = (h >> 1) - radius; row <= (h >> 1) + radius - 1; ++row) {
            if (row >= h) break;
            const int64_t dy = row - (h >> 1);
            const int32_t chord = int32_t(2.0 * std::sqrt(double(r2 - dy * dy)));
            const int32_t left = std::max((w >> 1) - (chord >> 1), 0);
            // Rows above the picture are drawn as its first row.
            const int32_t line = int32_t(std::max<int64_t>(row, 0));
            areas.Draw(RECT{left, line, left + std::min(chord, w - left), line + 1});
        }
        return 0;
    });
}

int CTransitionWipe::Rect(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                          int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [](CWipeAreas& areas, int32_t p) {
        const int32_t side = p >> 4;
        if (side == 0) return 0;
        for (int32_t top = 0; top < areas.Height(); top += RectCell)
            for (int32_t left = 0; left < areas.Width(); left += RectCell)
                areas.Draw(RECT{left, top, left + side, top + side});
        return 0;
    });
}

int CTransitionWipe::Spiral(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                            int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [](CWipeAreas& areas, int32_t p) {
        const int32_t step = p >> 4;
        const int32_t columns = (areas.Width() + SpiralBlock - 1) / SpiralBlock;
        for (int32_t j = 0; j * SpiralBlock < areas.Height(); ++j) {
            const int32_t top = j * SpiralBlock;
            // Neighbouring blocks that show go in one blit.
            int32_t run = -1;
            for (int32_t i = 0; i <= columns; ++i) {
                const bool shown = i < columns && SpiralOrder[std::size_t((i & 3) + 4 * (j & 3))] <= step;
                if (shown && run < 0) run = i;
                if (!shown && run >= 0) {
                    areas.Draw(RECT{run * SpiralBlock, top, i * SpiralBlock, top + SpiralBlock});
                    run = -1;
                }
            }
        }
        return 0;
    });
}

} // namespace kivotasuGameKit::Draw
