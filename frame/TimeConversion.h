#pragma once

#include <cstdint>

namespace kivotasuGameKit {

// Milliseconds to hours (not limited to 24), minutes, seconds and milliseconds;
// -1 with the outputs untouched for a negative time.
int MsToHmsm(std::int32_t ms, std::int32_t& hours, std::int32_t& minutes, std::int32_t& seconds,
             std::int32_t& milliseconds);
// The reverse, wrapping in 32 bits; -1 with the output untouched when any
// input is negative.
int HmsmToMs(std::int32_t& ms, std::int32_t hours, std::int32_t minutes, std::int32_t seconds,
             std::int32_t milliseconds);

} // namespace kivotasuGameKit
