// The half shade on AVX2; this file alone is built with -mavx2 and runs only
// where the processor has it.
#include "draw/effect/alpha/HalfShade.h"

#if defined(__AVX2__)
#include "draw/effect/alpha/Avx2Lanes.h"
#include "draw/effect/alpha/HalfShadeImpl.h"

namespace kivotasuGameKit::Blend {
const HalfShadeCellsFn Avx2HalfShadeCells = &HalfShadeCells<Avx2>;
} // namespace kivotasuGameKit::Blend

#else

namespace kivotasuGameKit::Blend {
const HalfShadeCellsFn Avx2HalfShadeCells = nullptr;
} // namespace kivotasuGameKit::Blend

#endif
