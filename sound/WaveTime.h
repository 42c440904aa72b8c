#pragma once

#include <cstdint>

namespace kivotasuGameKit {

// Bytes of a stream to milliseconds at its average rate: -1 when the rate is 0.
inline std::int32_t BytesToMs(std::uint64_t bytes, std::uint32_t avgBytesPerSec)
{
    if (avgBytesPerSec == 0)
        return -1;
    return std::int32_t(bytes * 1000 / avgBytesPerSec);
}

// Milliseconds to a byte offset at the average rate, cut to 32 bits as the
// readers keep positions; 0xFFFFFFFF stands for "cannot be reached".
inline std::uint32_t MsToBytes(std::int32_t ms, std::uint32_t avgBytesPerSec)
{
    return std::uint32_t(std::int64_t(ms) * std::int64_t(avgBytesPerSec) / 1000);
}

// Whether a reader whose data lasts length ms can stand at ms: the start is
// always a place, since a loop goes back there, even in data shorter than a
// millisecond.
inline bool IsWithinLength(std::int32_t ms, std::int32_t length) { return ms == 0 || (ms > 0 && ms < length); }

} // namespace kivotasuGameKit
