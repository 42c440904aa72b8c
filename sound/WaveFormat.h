#pragma once

#include <cstddef>
#include <cstdint>

namespace kivotasuGameKit {

constexpr std::uint16_t WAVE_FORMAT_PCM = 0x0001;
constexpr std::uint16_t WAVE_FORMAT_MPEGLAYER3 = 0x0055;

// The 18-byte wave format record of a "fmt " chunk, as the sounds and the
// wave output read it.
struct WAVEFORMATEX {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0;

    static constexpr std::size_t RecordSize = 18;

    // Field by field from little-endian bytes; bytes beyond size read as 0.
    static WAVEFORMATEX FromBytes(const std::uint8_t* bytes, std::size_t size);
    friend bool operator==(const WAVEFORMATEX&, const WAVEFORMATEX&) = default;
};

// The widest layouts a header can truly hold: more would make rings and
// lengths of gigabytes from a few bytes of header.
constexpr std::uint16_t MaxChannels = 8;
constexpr std::uint32_t MaxSamplesPerSec = 384000;

// The most PCM bytes a sound is decoded to whole, some six minutes of
// CD-quality sound: a longer one plays streamed from its file, so that no
// file holds gigabytes of memory, or the player for seconds.
constexpr std::uint64_t MostHeldBytes = std::uint64_t{64} << 20;

// PCM the mixer plays as it stands: 8 or 16 bits, a block of one sample per
// channel, channels and rate within the limits above.
bool IsPlainPcm(const WAVEFORMATEX& format);

// The format record of an MPEG Layer-3 source.
struct MPEGLAYER3WAVEFORMAT {
    WAVEFORMATEX wfx;
    std::uint16_t wID = 0;
    std::uint32_t fdwFlags = 0;
    std::uint16_t nBlockSize = 0;
    std::uint16_t nFramesPerBlock = 0;
    std::uint16_t nCodecDelay = 0;
};

} // namespace kivotasuGameKit
