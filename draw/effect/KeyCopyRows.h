#pragma once

// Vector rows of the keyed copy (operation 1) for the pairs whose cells
// convert within their own width: same-type 16-bit words, 32-bit cells of
// 8-bit channels in any order, and ARGB4565/ARGB4555 onto their own type
// (byte 3 kept). Each does the leading cells of a row that fill whole
// vectors and returns how many; the caller passes the key as stored in key.

#include "draw/effect/SurfaceType.h"
#include "draw/effect/alpha/RowKernels.h"
#include "draw/effect/alpha/SimdLevel.h"

namespace kivotasuGameKit {

struct KeyCopyRowTable {
    Blend::RowFn cell[SurfaceTypeCount][SurfaceTypeCount];
};
extern const KeyCopyRowTable Sse2KeyCopyRows;
extern const KeyCopyRowTable Avx2KeyCopyRows;

// The rows of the processor's level for a pair; null where it has none.
template <SurfaceType D, SurfaceType S> Blend::RowFn KeyCopyRowsFor()
{
    switch (Blend::CurrentSimdLevel()) {
    case Blend::SimdLevel::Avx2: return Avx2KeyCopyRows.cell[D][S];
    case Blend::SimdLevel::Sse2: return Sse2KeyCopyRows.cell[D][S];
    default: return nullptr;
    }
}

} // namespace kivotasuGameKit
