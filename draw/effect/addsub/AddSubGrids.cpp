// The routine grids of the add/subtract family, one routine per served pair.
#include "draw/effect/RoutineGrid.h"
#include "draw/effect/addsub/AddSubBlit.h"
#include "draw/effect/addsub/AddSubFamily.h"

namespace kivotasuGameKit {
namespace {
template <uint32_t Op> struct Pick {
    template <SurfaceType D, SurfaceType S> constexpr EffectRoutine operator()() const { return &AddSub::Blit<Op, D, S>; }
};
} // namespace

constinit const RoutineGrid AddSubGrids[AddSubOpCount] = {
    MakeRoutineGrid<2>(Pick<2>{}), MakeRoutineGrid<3>(Pick<3>{}), MakeRoutineGrid<4>(Pick<4>{}),
    MakeRoutineGrid<5>(Pick<5>{}), MakeRoutineGrid<6>(Pick<6>{}), MakeRoutineGrid<7>(Pick<7>{}),
    MakeRoutineGrid<8>(Pick<8>{}), MakeRoutineGrid<9>(Pick<9>{}),
};

} // namespace kivotasuGameKit
