#pragma once

#include <cstdint>

#include "platform/FileSystem.h"
#include "sound/WaveFormat.h"

namespace kivotasuGameKit {

// What the chunk walk of a WAVE file found, in the order it looks: the RIFF
// "WAVE" chunk, its "fmt " chunk, then a "data" chunk behind "fmt ".
struct WaveChunks {
    enum class Reached { NoRiff, NoFormat, NoData, All };

    Reached reached = Reached::NoRiff;
    // Only the fmt chunk's own bytes: a 16-byte chunk leaves cbSize 0.
    WAVEFORMATEX format;
    // The whole "fmt " chunk body, or less where the file ends before it.
    std::uint32_t formatOffset = 0;
    std::uint32_t formatSize = 0;
    std::uint32_t dataOffset = 0;
    // The chunk's size, or less where the file ends before it.
    std::uint32_t dataSize = 0;
    // The sample frames a "fact" chunk (anywhere in the RIFF chunk) counts;
    // 0 without one. Compressed data ends with a whole block: this is where
    // the sound does.
    std::uint32_t factFrames = 0;
};

// A "fmt " chunk under 16 bytes holds no whole format and counts as none.
WaveChunks FindWaveChunks(platform::IReadFile& file);

} // namespace kivotasuGameKit
