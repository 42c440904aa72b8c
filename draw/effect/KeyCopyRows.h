#pragma once

// Vector rows of the keyed copy (operation 1) for the pairs whose cells
// convert within their own width: same-type 16-bit words, 32-bit cells of
// 8-bit channels in any order, and ARGB4565/ARGB4555 onto their own type
// (byte 3 kept). Each does the leading cells of a row that fill whole
// vectors and returns how many; the caller passes the key as stored in key.
// The plain copy (operation 0) has rows of its own for the conversions
// between 32-bit types: a screen goes through one every frame.

#include "draw/effect/SurfaceType.h"
#include "draw/effect/alpha/RowKernels.h"
#include "draw/effect/alpha/SimdLevel.h"

namespace kivotasuGameKit {

struct KeyCopyRowTable {
    Blend::RowFn cell[SurfaceTypeCount][SurfaceTypeCount];
    Blend::RowFn plain[SurfaceTypeCount][SurfaceTypeCount];
};
extern const KeyCopyRowTable Sse2KeyCopyRows;
extern const KeyCopyRowTable Avx2KeyCopyRows;

// The rows of the processor's level; null below SSE2.
inline const KeyCopyRowTable* CurrentCopyRows()
{
    switch (Blend::CurrentSimdLevel()) {
    case Blend::SimdLevel::Avx2: return &Avx2KeyCopyRows;
    case Blend::SimdLevel::Sse2: return &Sse2KeyCopyRows;
    default: return nullptr;
    }
}

// The keyed rows of a pair; null where it has none.
template <SurfaceType D, SurfaceType S> Blend::RowFn KeyCopyRowsFor()
{
    const KeyCopyRowTable* rows = CurrentCopyRows();
    return rows ? rows->cell[D][S] : nullptr;
}

// The plain rows of a pair; null where it has none.
template <SurfaceType D, SurfaceType S> Blend::RowFn CopyRowsFor()
{
    const KeyCopyRowTable* rows = CurrentCopyRows();
    return rows ? rows->plain[D][S] : nullptr;
}

} // namespace kivotasuGameKit
