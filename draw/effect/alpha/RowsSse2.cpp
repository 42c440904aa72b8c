// The row kernels on SSE2, the x86-64 baseline.
#include "draw/effect/alpha/RowKernels.h"

#if defined(__SSE2__)
#include "draw/effect/alpha/RowKernelsImpl.h"
#include "draw/effect/alpha/Sse2Lanes.h"

namespace kivotasuGameKit::Blend {

constinit const RowKernels Sse2RowKernels = KernelSet<Sse2>::Table();

} // namespace kivotasuGameKit::Blend

#else

namespace kivotasuGameKit::Blend {
constinit const RowKernels Sse2RowKernels{};
} // namespace kivotasuGameKit::Blend

#endif
