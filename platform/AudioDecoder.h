#pragma once
// Compressed sound decoded to signed 16-bit little-endian PCM, channels
// interleaved, from bytes in memory that the caller keeps alive while the
// decoder lives. The sound readers choose what to open; the libraries only
// produce samples.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace platform {

class IAudioDecoder {
public:
    virtual ~IAudioDecoder() = default;
    // Up to n bytes, whole sample frames only; 0 at the end of the stream or
    // after a failure.
    virtual std::size_t Read(void* out, std::size_t n) = 0;
    // To the sample frame counted from the start; false when it cannot go there.
    virtual bool Seek(std::uint64_t frame) = 0;
    // The sample frames the whole stream gives, as the decoder measures it;
    // nothing when it cannot. A stream measured only by a walk over its frames
    // is walked no further than about mostFrames, whatever its size: past
    // them, its frames are estimated, more than mostFrames, not counted. Nor
    // is one with frames of another sample rate than the output's: its frames
    // are those of the walk, each frame at its own rate.
    struct Measure {
        std::uint64_t frames = 0;
        bool counted = true;
    };
    virtual std::optional<Measure> MeasureFrames(std::uint64_t mostFrames) = 0;
};

// MPEG audio, Layers I to III, whose frames start at the first byte; the output
// is fixed to rate and channels, whatever the frames say. Encoder delay and
// padding that a LAME tag records are trimmed (gapless). Null when refused.
std::unique_ptr<IAudioDecoder> OpenMpegAudio(std::span<const std::uint8_t> stream, long rate, int channels);

// A WAVE file in a compressed format (ADPCM, A-law, mu-law, GSM 6.10,
// floating point, PCM wider than 16 bits, extensible with any of these as its
// sub-format), given as the body of its "fmt " chunk and its data as its
// reader found them, of the rate and channels found there. No other chunk of
// the file reaches the library: some (a LIST whose sizes wrap round) keep its
// header parser going for ever. Null when refused, or when the decoder finds
// another rate or count.
std::unique_ptr<IAudioDecoder> OpenCompressedWave(std::span<const std::uint8_t> format,
                                                  std::span<const std::uint8_t> data, long rate, int channels);

// Whether one of the decoders above reads data of this WAVE format tag.
bool CanDecodeWaveFormat(std::uint16_t formatTag);
// The tags that go to the MPEG decoder.
bool IsMpegWaveFormat(std::uint16_t formatTag);

} // namespace platform
