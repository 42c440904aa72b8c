#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "frame/file/File.h"
#include "platform/AudioEncoder.h"

// The General MIDI SoundFonts a player may find: the packaged one, and
// FluidR3, which default-GM.sf2 names where its package is installed.
inline const char* const GeneralMidiSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                                     "/usr/share/sounds/sf2/FluidR3_GM.sf2"};

// The internal name under which the file layer reads bytes straight from
// memory (the block must outlive the reads): what an archive member gives a
// reader, without the archive. The names stay open for the test program's run.
inline std::string MemoryName(const std::string& bytes)
{
    static std::deque<kivotasuGameKit::CMemoryName> names;
    return names.emplace_back(bytes.data(), bytes.size()).Get();
}

// A tone of ms milliseconds: 440 Hz on the left (or only) channel, 660 Hz on
// the right, at a quarter of full scale.
inline platform::PcmSound Tone(int rate, int channels, int ms)
{
    platform::PcmSound sound;
    sound.rate = rate;
    sound.channels = channels;
    const std::size_t frames = std::size_t(rate) * std::size_t(ms) / 1000;
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            sound.samples.push_back(
                std::int16_t(8192 * std::sin(2 * M_PI * (c == 0 ? 440.0 : 660.0) * double(i) / rate)));
    return sound;
}

inline std::string Bytes(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

inline std::string Mp3(const platform::PcmSound& sound, platform::Mp3Bitrate bitrate, double quality)
{
    std::vector<std::uint8_t> out;
    if (!platform::EncodeMp3(sound, bitrate, quality, out)) return {};
    return Bytes(out);
}

// LAME's constant 128 kbps at 44.1 kHz stereo: joint stereo with an "Info" header frame.
constexpr double Cbr128 = 0.65;

// frames of MPEG-1 Layer III whose empty side information decodes to
// silence, by default at 32 kbps, 48 kHz stereo: 96 bytes for 1152 sample
// frames (4608 bytes of PCM), the most the format makes of a byte. kbps is
// 32 or 320, rate 48000 or 32000.
inline std::string SilentMp3(std::size_t frames, int kbps = 32, int rate = 48000, bool mono = false)
{
    const char bitrate = kbps == 320 ? '\xE0' : '\x10';
    const char sampling = rate == 32000 ? '\x08' : '\x04';
    const std::size_t bytes = std::size_t(144) * std::size_t(kbps) * 1000 / std::size_t(rate);
    const std::string frame = std::string("\xFF\xFB", 2) + char(bitrate | sampling) + (mono ? '\xC0' : '\0')
                              + std::string(bytes - 4, '\0');
    std::string out;
    for (std::size_t i = 0; i < frames; ++i) out += frame;
    return out;
}
