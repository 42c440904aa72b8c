#pragma once

// The shade of a plain message window: each ARGB8888 cell becomes opaque
// black blended with it at rate 128, weighed by its own alpha (the rate blend
// of the cell onto black), in place.

#include <cstdint>

namespace kivotasuGameKit::Blend {

// Cells of width x height from first, rows pitch bytes apart.
void HalfShade(uint8_t* first, int64_t pitch, int32_t width, int32_t height);

// The whole vectors of a row at one level; returns the cells done. Null
// where the level is not built.
using HalfShadeCellsFn = int32_t (*)(uint8_t* row, int32_t count);
extern const HalfShadeCellsFn Sse2HalfShadeCells, Avx2HalfShadeCells;

} // namespace kivotasuGameKit::Blend
