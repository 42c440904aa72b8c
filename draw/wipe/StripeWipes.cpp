// The stripes: lines that grow alternately from either edge. The H kinds
// work on rows, the V kinds on columns, each measured along its own line.
#include <algorithm>
#include <array>

#include "draw/wipe/TransitionWipe.h"
#include "draw/wipe/WipeAreas.h"

namespace kivotasuGameKit::Draw {

using wipe::CWipeAreas;
using wipe::Lines;
using wipe::RunWipe;
using wipe::Span;

namespace {

// The part [from, to) along a line that a class of lines shows.
struct Reach {
    int32_t from, to;
};

Reach FromNear(int32_t along, int32_t length) { return {0, std::min(length, along)}; }
// One line longer than from the near edge.
Reach FromFar(int32_t along, int32_t length) { return {std::max(along - length - 1, 0), along}; }

// Line n shows reaches[n % period]. Where every class reaches, the lines are
// drawn across in one blit; elsewhere line by line, so each pixel is drawn
// once either way.
template <std::size_t Period> void DrawLines(CWipeAreas& areas, bool columns, const std::array<Reach, Period>& reaches)
{
    const int32_t count = columns ? areas.Width() : areas.Height();
    std::array<int32_t, 2 * Period> edges;
    for (std::size_t c = 0; c < Period; ++c) edges[2 * c] = reaches[c].from, edges[2 * c + 1] = reaches[c].to;
    std::sort(edges.begin(), edges.end());
    for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
        const int32_t from = edges[e], to = edges[e + 1];
        if (from >= to) continue;
        auto shows = [&](std::size_t c) { return reaches[c].from <= from && to <= reaches[c].to; };
        bool all = true;
        for (std::size_t c = 0; c < Period; ++c) all = all && shows(c);
        if (all) {
            areas.Draw(Lines(!columns, from, to, areas));
            continue;
        }
        for (std::size_t c = 0; c < Period; ++c)
            if (shows(c))
                for (int32_t line = int32_t(c); line < count; line += int32_t(Period))
                    areas.Draw(Span(columns, line, from, to));
    }
}

int32_t Scaled(int32_t along, int32_t p, int shift) { return int32_t((int64_t(along) * p) >> shift); }

int StripeOnce(CWipeAreas& areas, int32_t p, bool columns)
{
    const int32_t along = columns ? areas.Height() : areas.Width(), length = Scaled(along, p, 8);
    DrawLines<2>(areas, columns, {FromNear(along, length), FromFar(along, length)});
    return 0;
}

// Lines 0 and 2 of every four first at twice the speed, lines 1 and 3 in the
// second half.
int StripeTwice(CWipeAreas& areas, int32_t p, bool columns)
{
    const int32_t along = columns ? areas.Height() : areas.Width();
    const int32_t first = std::min(Scaled(along, p, 7), along);
    const Reach none{0, 0};
    const int32_t second = p >= 129 ? Scaled(along, p - 128, 7) : 0;
    DrawLines<4>(areas, columns,
                 {FromNear(along, first), p >= 129 ? FromNear(along, second) : none, FromFar(along, first),
                  p >= 129 ? FromFar(along, second) : none});
    return 0;
}

} // namespace

int CTransitionWipe::StripeH1(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                              int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [](CWipeAreas& areas, int32_t p) { return StripeOnce(areas, p, false); });
}

int CTransitionWipe::StripeV1(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                              int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [](CWipeAreas& areas, int32_t p) { return StripeOnce(areas, p, true); });
}

int CTransitionWipe::StripeH2(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                              int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [](CWipeAreas& areas, int32_t p) { return StripeTwice(areas, p, false); });
}

int CTransitionWipe::StripeV2(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase,
                              int32_t kind, uint32_t rate, const RECT* clip)
{
    return RunWipe(destination, source, x, y, phase, kind, rate, clip,
                   [](CWipeAreas& areas, int32_t p) { return StripeTwice(areas, p, true); });
}

} // namespace kivotasuGameKit::Draw
