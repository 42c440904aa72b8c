#pragma once
// The host's monotonic time in seconds, or a processor-time clock's, for tests
// that bound how long real work takes (the virtual clock does not move by itself).

#include <time.h>

namespace testkit {

inline double WallSeconds(clockid_t clock = CLOCK_MONOTONIC)
{
    timespec now;
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace testkit
