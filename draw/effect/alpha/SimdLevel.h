#pragma once

#include "draw/effect/alpha/RowKernels.h"

namespace kivotasuGameKit::Blend {

// The widest row kernels the processor runs: SSE2 when the processor-feature
// flags report it, AVX2 when the processor and the system also support that.
enum class SimdLevel { None, Sse2, Avx2 };

SimdLevel CurrentSimdLevel();

// The kernels of the current level; null for None.
const RowKernels* CurrentRowKernels();

// Tests hold the level at or below cap (Avx2 lifts the cap).
void CapSimdLevel(SimdLevel cap);

} // namespace kivotasuGameKit::Blend
