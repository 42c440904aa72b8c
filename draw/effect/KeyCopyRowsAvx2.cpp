// The keyed-copy rows on AVX2; this file alone is built with -mavx2 and runs only
// where the processor has it.
#include "draw/effect/KeyCopyRows.h"

#if defined(__AVX2__)
#include "draw/effect/KeyCopyRowsImpl.h"
#include "draw/effect/alpha/Avx2Lanes.h"

namespace kivotasuGameKit {

constinit const KeyCopyRowTable Avx2KeyCopyRows = KeyCopyRowSet<Blend::Avx2>::Table();

} // namespace kivotasuGameKit

#else

namespace kivotasuGameKit {
constinit const KeyCopyRowTable Avx2KeyCopyRows{};
} // namespace kivotasuGameKit

#endif
