#pragma once

// The exhaustive sweeps of the add/subtract tests run in full in the separate
// program tests_draw_addsub_exhaustive (built with QUILTOR_EXHAUSTIVE) and on
// every Stride-th value in the test command.

#include <cstdint>
#include <vector>

namespace pixelkit {

#if defined(QUILTOR_EXHAUSTIVE)
inline constexpr int Stride = 1;
#else
inline constexpr int Stride = 1021;
#endif

// Every Stride-th value below end, and always the first and the last few.
inline std::vector<uint32_t> Sampled(uint32_t end)
{
    std::vector<uint32_t> values;
    for (uint32_t v = 0; v < end; ++v)
        if (v % Stride == 0 || v + 4 > end) values.push_back(v);
    return values;
}

} // namespace pixelkit
