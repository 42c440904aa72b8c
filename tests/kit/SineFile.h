#pragma once
// Sound files for the engine's tests: a sine at half of full scale, 44.1 kHz
// stereo, as the bytes of a 16-bit PCM WAVE or a constant-rate MP3 file.

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

inline std::string SineFile(double hz, std::uint32_t ms, bool mp3)
{
    platform::PcmSound sound{44100, 2, Sine(hz, 44100, 2, 44100 * ms / 1000, 0.5)};
    std::vector<std::uint8_t> bytes;
    const bool encoded = mp3 ? platform::EncodeMp3(sound, platform::Mp3Bitrate::Constant, 0.2, bytes)
                             : platform::EncodeWave(sound, platform::WaveEncoding::Pcm16, bytes);
    EXPECT_TRUE(encoded) << hz << " Hz";
    return std::string(bytes.begin(), bytes.end());
}

} // namespace testkit
