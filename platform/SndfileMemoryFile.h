#pragma once

#include <sndfile.h>

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

// Bytes in memory as a libsndfile virtual file: read where they lie, between a
// head and a tail of other bytes when given them, or, for a file being
// written, in a vector that grows with the writes.
struct SndfileMemoryFile {
    std::span<const std::uint8_t> head;
    std::span<const std::uint8_t> bytes;
    std::span<const std::uint8_t> tail;
    std::vector<std::uint8_t>* growing = nullptr;
    sf_count_t position = 0;

    SNDFILE* Open(int mode, SF_INFO& info);
};

} // namespace platform
