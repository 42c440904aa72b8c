#include "platform/AudioEncoder.h"

#include "platform/SndfileMemoryFile.h"

namespace platform {

namespace {

template <typename Configure>
bool Encode(const PcmSound& sound, int format, std::vector<std::uint8_t>& out, Configure configure)
{
    if (sound.channels <= 0 || sound.samples.size() % std::size_t(sound.channels) != 0)
        return false;
    out.clear();
    SndfileMemoryFile file;
    file.growing = &out;
    SF_INFO info{};
    info.samplerate = sound.rate;
    info.channels = sound.channels;
    info.format = format;
    SNDFILE* handle = file.Open(SFM_WRITE, info);
    if (!handle)
        return false;
    const sf_count_t frames = sf_count_t(sound.samples.size() / std::size_t(sound.channels));
    bool written = configure(handle);
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG || (format & SF_FORMAT_SUBMASK) == SF_FORMAT_FLOAT) {
        // libsndfile 1.2.0 hands 16-bit samples to LAME wrongly, and writes
        // them to a float file unscaled; its floats are right.
        std::vector<float> samples(sound.samples.begin(), sound.samples.end());
        for (float& sample : samples) sample /= 32768.0f;
        written = written && sf_writef_float(handle, samples.data(), frames) == frames;
    } else {
        written = written && sf_writef_short(handle, sound.samples.data(), frames) == frames;
    }
    return sf_close(handle) == 0 && written;
}

int WaveSubtype(WaveEncoding encoding)
{
    switch (encoding) {
    case WaveEncoding::ImaAdpcm: return SF_FORMAT_IMA_ADPCM;
    case WaveEncoding::MsAdpcm: return SF_FORMAT_MS_ADPCM;
    case WaveEncoding::ALaw: return SF_FORMAT_ALAW;
    case WaveEncoding::MuLaw: return SF_FORMAT_ULAW;
    case WaveEncoding::Gsm610: return SF_FORMAT_GSM610;
    case WaveEncoding::Pcm8: return SF_FORMAT_PCM_U8;
    case WaveEncoding::Pcm24:
    case WaveEncoding::ExtensiblePcm24: return SF_FORMAT_PCM_24;
    case WaveEncoding::Float32: return SF_FORMAT_FLOAT;
    case WaveEncoding::Pcm16:
    case WaveEncoding::ExtensiblePcm16: break;
    }
    return SF_FORMAT_PCM_16;
}

bool IsExtensible(WaveEncoding encoding)
{
    return encoding == WaveEncoding::ExtensiblePcm16 || encoding == WaveEncoding::ExtensiblePcm24;
}

} // namespace

bool EncodeWave(const PcmSound& sound, WaveEncoding encoding, std::vector<std::uint8_t>& out)
{
    return Encode(sound, (IsExtensible(encoding) ? SF_FORMAT_WAVEX : SF_FORMAT_WAV) | WaveSubtype(encoding), out, [](SNDFILE*) { return true; });
}

bool EncodeMp3(const PcmSound& sound, Mp3Bitrate bitrate, double quality, std::vector<std::uint8_t>& out)
{
    return Encode(sound, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, out, [&](SNDFILE* handle) {
        int mode = bitrate == Mp3Bitrate::Constant ? SF_BITRATE_MODE_CONSTANT : SF_BITRATE_MODE_VARIABLE;
        // Both answer SF_TRUE when the encoder took the setting, though
        // libsndfile 1.2.0 reports a taken bit-rate mode as 0.
        sf_command(handle, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
        return sf_command(handle, SFC_SET_COMPRESSION_LEVEL, &quality, sizeof quality) == SF_TRUE;
    });
}

} // namespace platform
