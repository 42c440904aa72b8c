// The row kernels of every served pair on SSE2, the x86-64 baseline.
#include "draw/effect/alpha/RowKernels.h"

#if defined(__SSE2__)
#include "draw/effect/alpha/Sse2Lanes.h"
#include "draw/effect/alpha/PairRowsImpl.h"

namespace kivotasuGameKit::Blend {

constinit const PairRowTable Sse2PairRows = PairRowSet<Sse2>::Table();

} // namespace kivotasuGameKit::Blend

#else

namespace kivotasuGameKit::Blend {
constinit const PairRowTable Sse2PairRows{};
} // namespace kivotasuGameKit::Blend

#endif
