// The keyed-copy rows on SSE2, the x86-64 baseline.
#include "draw/effect/KeyCopyRows.h"

#if defined(__SSE2__)
#include "draw/effect/KeyCopyRowsImpl.h"
#include "draw/effect/alpha/Sse2Lanes.h"

namespace kivotasuGameKit {

constinit const KeyCopyRowTable Sse2KeyCopyRows = KeyCopyRowSet<Blend::Sse2>::Table();

} // namespace kivotasuGameKit

#else

namespace kivotasuGameKit {
constinit const KeyCopyRowTable Sse2KeyCopyRows{};
} // namespace kivotasuGameKit

#endif
