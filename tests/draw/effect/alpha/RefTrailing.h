#pragma once

// Sampling of the body that takes each fractional step after its pixel:
// picture column i shows left + i x step + the carries of i steps (not
// i + 1), one fractional step behind RefSample. It draws the same pixels as
// every other body, and clipped it shows what it shows unclipped. Rows
// likewise.

#include <cstdint>

#include "tests/kit/pixel/RefBlit.h"

namespace pixelkit {

inline int64_t RefSampleTrailing(int64_t i, int64_t n, int64_t m)
{
    return i == 0 ? 0 : RefSample(i - 1, n, m) + n / m;
}

} // namespace pixelkit
