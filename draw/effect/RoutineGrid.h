#pragma once

#include <cstddef>
#include <utility>

#include "draw/effect/BltTypes.h"
#include "draw/effect/EffectBlitter.h"

namespace kivotasuGameKit {

// Sets cells[d][s] to pick.template operator()<D, S>() for each pair that
// EffectBltServes names for operation Op; the other cells keep their value.
// Only the served pairs are instantiated (one fold of 196 per call keeps
// within the compilers' fold limits).
template <uint32_t Op, class Cell, class Pick, std::size_t... I>
consteval void FillServedPairsOf(Cell (&cells)[SurfaceTypeCount][SurfaceTypeCount], Pick pick,
                                 std::index_sequence<I...>)
{
    auto cell = [&]<std::size_t N>() {
        constexpr int32_t d = N / SurfaceTypeCount, s = N % SurfaceTypeCount;
        if constexpr (EffectBltServes(Op, d, s))
            cells[d][s] = pick.template operator()<SurfaceType(d), SurfaceType(s)>();
    };
    (cell.template operator()<I>(), ...);
}

template <uint32_t Op, class Cell, class Pick>
consteval void FillServedPairs(Cell (&cells)[SurfaceTypeCount][SurfaceTypeCount], Pick pick)
{
    FillServedPairsOf<Op>(cells, pick, std::make_index_sequence<SurfaceTypeCount * SurfaceTypeCount>());
}

// An operation's grid: the routine of each served pair, null elsewhere.
template <uint32_t Op, class Pick> consteval RoutineGrid MakeRoutineGrid(Pick pick)
{
    RoutineGrid grid{};
    FillServedPairs<Op>(grid.cell, pick);
    return grid;
}

// The grids of operations 0 and 1; the families declare their own.
extern const RoutineGrid CopyGrid;
extern const RoutineGrid KeyCopyGrid;

} // namespace kivotasuGameKit
