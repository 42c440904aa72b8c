#pragma once

#include <cstdint>

#include "draw/effect/SurfaceType.h"
#include "draw/effect/alpha/RowKernels.h"
#include "draw/effect/alpha/SimdLevel.h"

namespace kivotasuGameKit::AddSub {

using Blend::RowFn;
using Blend::RowParams;

// Vector forms of the rules for the screen's formats: the same-type 16-bit
// words, and 32-bit cells of 8-bit channels in one byte order (XRGB8888 and
// ARGB8888, XBGR8888 and ABGR8888). Each does the leading cells of a row that
// fill whole vectors and returns how many; the rule does the rest. The
// callers pass the rate, and for the keyed operations the key as stored with
// its compared bits in keyMask. Results equal the rules bit for bit.
template <SurfaceType D, SurfaceType S>
inline constexpr bool VectorPair =
    (D == S && (D == RGB565 || D == RGB555)) ||
    (BytesPerPixel(D) == 4 && BytesPerPixel(S) == 4 && D != ARGB4565 && D != ARGB4555 && S != ARGB4565 &&
     S != ARGB4555 && (D == BGR888 || D == XBGR8888 || D == ABGR8888) == (S == BGR888 || S == XBGR8888 || S == ABGR8888));

// By operation (2 to 9, at op - 2) and pair; null where no vector form exists.
inline constexpr int OpSlots = 8;
struct RowTable {
    RowFn cell[OpSlots][SurfaceTypeCount][SurfaceTypeCount];
};
extern const RowTable Sse2Rows;
extern const RowTable Avx2Rows;

// Rows of every other served pair.
extern const RowTable Sse2PairRows;
extern const RowTable Avx2PairRows;

// The vector rows of the processor's level for a pair; null where it has none.
template <uint32_t Op, SurfaceType D, SurfaceType S> RowFn RowsFor()
{
    constexpr bool own = VectorPair<D, S>;
    switch (Blend::CurrentSimdLevel()) {
    case Blend::SimdLevel::Avx2: return (own ? Avx2Rows : Avx2PairRows).cell[Op - 2][D][S];
    case Blend::SimdLevel::Sse2: return (own ? Sse2Rows : Sse2PairRows).cell[Op - 2][D][S];
    default: return nullptr;
    }
}

} // namespace kivotasuGameKit::AddSub
