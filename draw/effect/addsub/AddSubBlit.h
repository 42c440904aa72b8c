#pragma once

// The body of every member of operations 2 to 9: the common frame with the
// pair's rule, behind the source's colour key for the keyed operations, the
// vector rows taking the 1:1 rows of the screen's formats first.

#include <cstring>

#include "draw/effect/BlitFrame.h"
#include "draw/effect/addsub/AddSubRows.h"
#include "draw/effect/addsub/AddSubRules.h"
#include "draw/effect/alpha/BlendFrame.h"

namespace kivotasuGameKit::AddSub {

// Where the key cell sits in the packed parameter: first for operations 4
// and 5; after the rate for 8 and 9, a 16-bit colour on a 16-bit boundary.
template <uint32_t Op, SurfaceType S> inline constexpr int KeyAt = Op < 8 ? 0 : HasColourWord(S) ? 2 : 1;

template <uint32_t Op, SurfaceType D, SurfaceType S>
int Blit(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate parameter, const BltParams* request)
{
    const uint32_t rate = IsRateOp(Op) ? parameter.bytes[0] : 0;
    const Rule<Op, D, S> rule(rate);
    if constexpr (IsKeyedOp(Op)) {
        BltKeyRate cell{};
        std::memcpy(cell.bytes, parameter.bytes + KeyAt<Op, S>, sizeof cell.bytes - KeyAt<Op, S>);
        const uint32_t key = KeyOf<S>(cell);
        return Blend::RunBlend<D, S>(source, destination, request, MakeKeyed<S>(key, rule), RowsFor<Op, D, S>(),
                                     RowParams{.rate = rate, .key = key, .keyMask = PixelFormat<S>::KeyBits});
    } else {
        return Blend::RunBlend<D, S>(source, destination, request, rule, RowsFor<Op, D, S>(), RowParams{.rate = rate});
    }
}

} // namespace kivotasuGameKit::AddSub
