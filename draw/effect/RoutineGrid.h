#pragma once

#include <cstddef>
#include <utility>

#include "draw/effect/BltTypes.h"
#include "draw/effect/EffectBlitter.h"

namespace kivotasuGameKit {

// Builds an operation's grid at compile time: pick.template operator()<D, S>()
// yields the routine of each pair EffectBltServes names; every other cell is
// null. Only the served pairs are instantiated.
template <uint32_t Op, class Pick, std::size_t... I>
consteval RoutineGrid MakeRoutineGridOf(Pick pick, std::index_sequence<I...>)
{
    RoutineGrid grid{};
    auto cell = [&]<std::size_t N>() {
        constexpr int32_t d = N / SurfaceTypeCount, s = N % SurfaceTypeCount;
        if constexpr (EffectBltServes(Op, d, s))
            grid.cell[d][s] = pick.template operator()<SurfaceType(d), SurfaceType(s)>();
    };
    (cell.template operator()<I>(), ...);
    return grid;
}

template <uint32_t Op, class Pick> consteval RoutineGrid MakeRoutineGrid(Pick pick)
{
    return MakeRoutineGridOf<Op>(pick, std::make_index_sequence<SurfaceTypeCount * SurfaceTypeCount>());
}

// The grids of operations 0 and 1; the families declare their own.
extern const RoutineGrid CopyGrid;
extern const RoutineGrid KeyCopyGrid;

} // namespace kivotasuGameKit
