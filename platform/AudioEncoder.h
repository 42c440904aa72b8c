#pragma once
// Sounds written by the player's own tools (the demo game's music and voices)
// and by the tests: 16-bit PCM, channels interleaved, encoded by libsndfile
// (MP3 through the LAME library it is built with).

#include <cstdint>
#include <vector>

namespace platform {

struct PcmSound {
    int rate = 44100;
    int channels = 2;
    std::vector<std::int16_t> samples;
};

enum class WaveEncoding { Pcm16, ImaAdpcm, MsAdpcm, ALaw, MuLaw, Gsm610, Pcm8, Pcm24, Float32, ExtensiblePcm16, ExtensiblePcm24 };

// A RIFF WAVE file of that encoding (GSM 6.10 takes mono only); the Extensible
// ones have the format tag 0xFFFE with the PCM sub-format.
bool EncodeWave(const PcmSound& sound, WaveEncoding encoding, std::vector<std::uint8_t>& out);

enum class Mp3Bitrate { Constant, Variable };

// An MP3 file without ID3 tags, starting with a LAME header frame ("Info" for
// a constant bit rate, "Xing" for a variable one). quality runs from 0 (the
// highest bit rate) to 1 (the lowest); 44.1 kHz gives MPEG-1, 22050 Hz MPEG-2,
// 8000 Hz MPEG-2.5.
bool EncodeMp3(const PcmSound& sound, Mp3Bitrate bitrate, double quality, std::vector<std::uint8_t>& out);

} // namespace platform
