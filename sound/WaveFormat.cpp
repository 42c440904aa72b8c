#include "sound/WaveFormat.h"

namespace kivotasuGameKit {

WAVEFORMATEX WAVEFORMATEX::FromBytes(const std::uint8_t* bytes, std::size_t size)
{
    std::uint8_t record[RecordSize] = {};
    for (std::size_t i = 0; i < RecordSize && i < size; ++i)
        record[i] = bytes[i];
    auto word = [&](std::size_t at) { return std::uint16_t(record[at] | record[at + 1] << 8); };
    auto dword = [&](std::size_t at) { return std::uint32_t(word(at)) | std::uint32_t(word(at + 2)) << 16; };
    WAVEFORMATEX format;
    format.wFormatTag = word(0);
    format.nChannels = word(2);
    format.nSamplesPerSec = dword(4);
    format.nAvgBytesPerSec = dword(8);
    format.nBlockAlign = word(12);
    format.wBitsPerSample = word(14);
    format.cbSize = word(16);
    return format;
}

bool IsPlainPcm(const WAVEFORMATEX& format)
{
    return format.wFormatTag == WAVE_FORMAT_PCM && (format.wBitsPerSample == 8 || format.wBitsPerSample == 16)
           && format.nChannels >= 1 && format.nChannels <= MaxChannels
           && format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8 && format.nSamplesPerSec >= 1
           && format.nSamplesPerSec <= MaxSamplesPerSec;
}

} // namespace kivotasuGameKit
