// The row kernels on AVX2; this file alone is built with -mavx2 and runs only
// where the processor has it.
#include "draw/effect/alpha/RowKernels.h"

#if defined(__AVX2__)
#include "draw/effect/alpha/Avx2Lanes.h"
#include "draw/effect/alpha/RowKernelsImpl.h"

namespace kivotasuGameKit::Blend {

constinit const RowKernels Avx2RowKernels = KernelSet<Avx2>::Table();

} // namespace kivotasuGameKit::Blend

#else

namespace kivotasuGameKit::Blend {
constinit const RowKernels Avx2RowKernels{};
} // namespace kivotasuGameKit::Blend

#endif
