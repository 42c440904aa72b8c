#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "sound/WaveFormat.h"

namespace kivotasuGameKit {

// Where the frames of an MP3 file lie and what its first frame says.
struct Mp3Layout {
    // The ID3v2 tag in front of the first frame, with its header and footer.
    std::uint32_t tagSize = 0;
    // The bytes from the first frame to the end, less an ID3v1 tag.
    std::uint32_t dataSize = 0;
    std::uint32_t kbps = 0;
    MPEGLAYER3WAVEFORMAT format;
    // A first frame of MPEG-2 or MPEG-2.5 audio, refused: what it is, as the
    // author is told ("MPEG-2 Layer III（22.05 kHz）"); empty otherwise.
    std::string otherVersion;
};

// Reads the tags and the first frame header of an MPEG-1 audio file: 0, or 1
// with the reason logged (too small, a tag larger than the file, no frame
// sync, not MPEG-1, no layer, a free or bad bit rate, a bad sample rate, no
// frame left beside an ID3v1 tag).
int ReadMp3Layout(std::span<const std::uint8_t> file, Mp3Layout& out);

} // namespace kivotasuGameKit
