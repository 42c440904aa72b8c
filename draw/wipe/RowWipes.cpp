// The wipes that draw the whole picture and disturb it: the mosaic, rows
// shifted at random or on a wave, and the vertical flip.
#include <algorithm>

#include "draw/wipe/FixedMathTable.h"
#include "draw/wipe/TransitionWipe.h"
#include "draw/wipe/WipeAreas.h"
#include "frame/MersenneTwister.h"

namespace kivotasuGameKit::Draw {

using wipe::CWipeAreas;
using wipe::RunWipe;

namespace {

constexpr int32_t WaveRows = 64;

// Every row of the source, moved sideways by shift(row).
template <class Shift> void ShiftRows(CWipeAreas& areas, Shift shift)
{
    for (int32_t row = 0; row < areas.Height(); ++row) areas.Draw(RECT{0, row, areas.Width(), row + 1}, shift(row));
}

} // namespace

int CTransitionWipe::Mosaic(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                            int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [](CWipeAreas& areas, int32_t p) {
        areas.DrawWhole();
        RECT area{areas.X(), areas.Y(), int32_t(std::min<int64_t>(int64_t(areas.X()) + areas.Width(), INT32_MAX)),
                  int32_t(std::min<int64_t>(int64_t(areas.Y()) + areas.Height(), INT32_MAX))};
        if (const RECT* clip = areas.Clip()) {
            area.left = std::max(area.left, clip->left);
            area.top = std::max(area.top, clip->top);
            area.right = std::min(area.right, clip->right);
            area.bottom = std::min(area.bottom, clip->bottom);
        }
        return areas.Destination()->MosaicEffect(((255 - p) >> 2) + 1, &area);
    });
}

int CTransitionWipe::CutIn(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                           int32_t kind, uint32_t rate, const RECT* clip, CMersenneTwister& random)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [&](CWipeAreas& areas, int32_t p) {
        const int32_t spread = 256 - p;
        ShiftRows(areas, [&](int32_t) { return int32_t(random.Get() % uint32_t(spread)) - (spread >> 1); });
        return 0;
    });
}

int CTransitionWipe::Wave(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                          int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [](CWipeAreas& areas, int32_t p) {
        const CFixedMathTable& table = CFixedMathTable::GetInstance();
        // An arithmetic shift: negative shifts round down.
        ShiftRows(areas, [&](int32_t row) {
            return int32_t((int64_t(255 - p) * table.Cos((row % WaveRows) * (CFixedMathTable::Steps / WaveRows))) >> 16);
        });
        return 0;
    });
}

int CTransitionWipe::FlipVertical(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                                  int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip, [](CWipeAreas& areas, int32_t) {
        const int32_t h = areas.Height();
        for (int32_t row = 0; row < h; ++row) areas.Draw(RECT{0, row, areas.Width(), row + 1}, 0, h - 1 - 2 * row);
        return 0;
    });
}

} // namespace kivotasuGameKit::Draw
