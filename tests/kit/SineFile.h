#pragma once
// Sound files for the engine's tests: a sine at half of full scale, stereo
// (44.1 kHz unless asked), as the bytes of a 16-bit PCM WAVE or a
// constant-rate MP3 file.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/AudioEncoder.h"
#include "tests/kit/AudioSignal.h"

namespace testkit {

// The RMS of a channel of such a file, at full volume.
inline const double SineFileRms = 0.5 * 32767 / std::sqrt(2.0);

inline std::string SineFile(double hz, std::uint32_t ms, bool mp3, std::uint32_t rate = 44100)
{
    platform::PcmSound sound{int(rate), 2, Sine(hz, rate, 2, rate * ms / 1000, 0.5)};
    std::vector<std::uint8_t> bytes;
    const bool encoded = mp3 ? platform::EncodeMp3(sound, platform::Mp3Bitrate::Constant, 0.2, bytes)
                             : platform::EncodeWave(sound, platform::WaveEncoding::Pcm16, bytes);
    EXPECT_TRUE(encoded) << hz << " Hz";
    return std::string(bytes.begin(), bytes.end());
}

} // namespace testkit
