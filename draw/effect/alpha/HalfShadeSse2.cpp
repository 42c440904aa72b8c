// The half shade on SSE2, the x86-64 baseline.
#include "draw/effect/alpha/HalfShade.h"

#if defined(__SSE2__)
#include "draw/effect/alpha/Sse2Lanes.h"
#include "draw/effect/alpha/HalfShadeImpl.h"

namespace kivotasuGameKit::Blend {
const HalfShadeCellsFn Sse2HalfShadeCells = &HalfShadeCells<Sse2>;
} // namespace kivotasuGameKit::Blend

#else

namespace kivotasuGameKit::Blend {
const HalfShadeCellsFn Sse2HalfShadeCells = nullptr;
} // namespace kivotasuGameKit::Blend

#endif
