// The row kernels of every served pair on AVX2; this file alone is built
// with -mavx2 and runs only where the processor has it.
#include "draw/effect/alpha/RowKernels.h"

#if defined(__AVX2__)
#include "draw/effect/alpha/Avx2Lanes.h"
#include "draw/effect/alpha/PairRowsImpl.h"

namespace kivotasuGameKit::Blend {

constinit const PairRowTable Avx2PairRows = PairRowSet<Avx2>::Table();

} // namespace kivotasuGameKit::Blend

#else

namespace kivotasuGameKit::Blend {
constinit const PairRowTable Avx2PairRows{};
} // namespace kivotasuGameKit::Blend

#endif
