#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/AudioDecoder.h"

namespace platform {

namespace {

struct MemoryFile {
    std::span<const std::uint8_t> bytes;
    sf_count_t position = 0;
};

MemoryFile& Of(void* user) { return *static_cast<MemoryFile*>(user); }

sf_count_t Length(void* user) { return sf_count_t(Of(user).bytes.size()); }

sf_count_t Seek(sf_count_t offset, int whence, void* user)
{
    MemoryFile& file = Of(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file.position : Length(user);
    const sf_count_t target = base + offset;
    if (target < 0 || target > Length(user))
        return -1;
    return file.position = target;
}

sf_count_t Read(void* buffer, sf_count_t n, void* user)
{
    MemoryFile& file = Of(user);
    n = std::clamp<sf_count_t>(n, 0, Length(user) - file.position);
    if (n > 0)
        std::memcpy(buffer, file.bytes.data() + file.position, std::size_t(n));
    file.position += n;
    return n;
}

sf_count_t Write(const void*, sf_count_t, void*) { return 0; }

sf_count_t Tell(void* user) { return Of(user).position; }

SF_VIRTUAL_IO MemoryIo{Length, Seek, Read, Write, Tell};

class CompressedWaveDecoder : public IAudioDecoder {
public:
    explicit CompressedWaveDecoder(std::span<const std::uint8_t> bytes) { m_file.bytes = bytes; }
    ~CompressedWaveDecoder() override
    {
        if (m_sound)
            sf_close(m_sound);
    }
    CompressedWaveDecoder(const CompressedWaveDecoder&) = delete;
    CompressedWaveDecoder& operator=(const CompressedWaveDecoder&) = delete;

    bool Open(long rate, int channels)
    {
        m_sound = sf_open_virtual(&MemoryIo, SFM_READ, &m_info, &m_file);
        return m_sound && (m_info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV && m_info.samplerate == rate
               && m_info.channels == channels;
    }

    std::size_t Read(void* out, std::size_t n) override
    {
        if (!m_sound)
            return 0;
        const std::size_t frameBytes = std::size_t(m_info.channels) * 2;
        const sf_count_t frames = sf_readf_short(m_sound, static_cast<short*>(out), sf_count_t(n / frameBytes));
        return frames > 0 ? std::size_t(frames) * frameBytes : 0;
    }

    bool Seek(std::uint64_t frame) override
    {
        if (frame > std::uint64_t(m_info.frames))
            return false;
        if (sf_seek(m_sound, sf_count_t(frame), SEEK_SET) >= 0)
            return true;
        // Some codecs (GSM 6.10) cannot seek: decode from the start up to there.
        sf_close(m_sound);
        m_file.position = 0;
        m_sound = sf_open_virtual(&MemoryIo, SFM_READ, &m_info, &m_file);
        if (!m_sound)
            return false;
        std::vector<short> skipped(std::size_t(m_info.channels) * 4096);
        for (sf_count_t left = sf_count_t(frame); left > 0;) {
            const sf_count_t got = sf_readf_short(m_sound, skipped.data(), std::min<sf_count_t>(left, 4096));
            if (got <= 0)
                return false;
            left -= got;
        }
        return true;
    }

    std::optional<std::uint64_t> MeasureFrames() override { return std::uint64_t(m_info.frames); }

private:
    MemoryFile m_file;
    SF_INFO m_info{};
    SNDFILE* m_sound = nullptr;
};

} // namespace

std::unique_ptr<IAudioDecoder> OpenCompressedWave(std::span<const std::uint8_t> file, long rate, int channels)
{
    auto decoder = std::make_unique<CompressedWaveDecoder>(file);
    if (channels <= 0 || !decoder->Open(rate, channels))
        return nullptr;
    return decoder;
}

bool IsMpegWaveFormat(std::uint16_t formatTag) { return formatTag == 0x0050 || formatTag == 0x0055; }

bool CanDecodeWaveFormat(std::uint16_t formatTag)
{
    switch (formatTag) {
    case 0x0002: // MS ADPCM
    case 0x0003: // IEEE float
    case 0x0006: // A-law
    case 0x0007: // mu-law
    case 0x0011: // IMA ADPCM
    case 0x0031: // GSM 6.10
    case 0xFFFE: // extensible
        return true;
    default:
        return IsMpegWaveFormat(formatTag);
    }
}

} // namespace platform
