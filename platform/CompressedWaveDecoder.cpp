#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/AudioDecoder.h"
#include "platform/SndfileMemoryFile.h"

namespace platform {

namespace {

void PutLe32(std::vector<std::uint8_t>& out, std::size_t value)
{
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(value >> shift));
}

void PutChunkHeader(std::vector<std::uint8_t>& out, const char (&id)[5], std::size_t size)
{
    out.insert(out.end(), id, id + 4);
    PutLe32(out, size);
}

// The data up to its last whole block: the library decodes a block cut short
// whole, its missing end from what the block before left in its buffer.
std::span<const std::uint8_t> WholeBlocks(std::span<const std::uint8_t> format, std::span<const std::uint8_t> data)
{
    constexpr std::size_t BlockAlignAt = 12;
    if (format.size() < BlockAlignAt + 2)
        return data;
    const std::size_t block = format[BlockAlignAt] | format[BlockAlignAt + 1] << 8;
    return block ? data.first(data.size() - data.size() % block) : data;
}

class CompressedWaveDecoder : public IAudioDecoder {
public:
    // The library reads a file made of these two chunks alone; the data stays
    // where it lies, behind a head built here.
    CompressedWaveDecoder(std::span<const std::uint8_t> format, std::span<const std::uint8_t> whole)
    {
        const std::span<const std::uint8_t> data = WholeBlocks(format, whole);
        const std::size_t paddedFormat = format.size() + (format.size() & 1);
        PutChunkHeader(m_head, "RIFF", 4 + 8 + paddedFormat + 8 + data.size() + (data.size() & 1));
        m_head.insert(m_head.end(), {'W', 'A', 'V', 'E'});
        PutChunkHeader(m_head, "fmt ", format.size());
        m_head.insert(m_head.end(), format.begin(), format.end());
        m_head.resize(m_head.size() + paddedFormat - format.size());
        PutChunkHeader(m_head, "data", data.size());
        m_file.head = m_head;
        m_file.bytes = data;
        // Data of an odd size wants its pad byte: without it the library's
        // chunk walk looks for it past the end and never returns.
        static constexpr std::uint8_t Pad[1] = {0};
        if (data.size() & 1)
            m_file.tail = Pad;
    }
    ~CompressedWaveDecoder() override
    {
        if (m_sound)
            sf_close(m_sound);
    }
    CompressedWaveDecoder(const CompressedWaveDecoder&) = delete;
    CompressedWaveDecoder& operator=(const CompressedWaveDecoder&) = delete;

    bool Open(long rate, int channels)
    {
        if (!OpenSound())
            return false;
        const int type = m_info.format & SF_FORMAT_TYPEMASK;
        return (type == SF_FORMAT_WAV || type == SF_FORMAT_WAVEX) && m_info.samplerate == rate
               && m_info.channels == channels && m_info.frames > 0;
    }

    std::size_t Read(void* out, std::size_t n) override
    {
        if (!m_sound)
            return 0;
        const std::size_t frameBytes = std::size_t(m_info.channels) * 2;
        auto* samples = static_cast<short*>(out);
        const sf_count_t frames =
            IsFloatingPoint() ? ReadFloats(samples, sf_count_t(n / frameBytes))
                              : sf_readf_short(m_sound, samples, sf_count_t(n / frameBytes));
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
        if (!OpenSound())
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

    std::optional<Measure> MeasureFrames(std::uint64_t) override { return Measure{std::uint64_t(m_info.frames)}; }

private:
    bool OpenSound()
    {
        m_sound = m_file.Open(SFM_READ, m_info);
        return m_sound != nullptr;
    }

    bool IsFloatingPoint() const
    {
        const int subtype = m_info.format & SF_FORMAT_SUBMASK;
        return subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
    }

    // Floating-point samples read as shorts come out unscaled (-1..1 is
    // silence), or scaled to the file's peak when asked: full scale is 1.0.
    sf_count_t ReadFloats(short* out, sf_count_t frames)
    {
        m_floats.resize(std::size_t(frames) * std::size_t(m_info.channels));
        const sf_count_t got = sf_readf_float(m_sound, m_floats.data(), frames);
        for (std::size_t i = 0; got > 0 && i < std::size_t(got) * std::size_t(m_info.channels); ++i)
            out[i] = std::isnan(m_floats[i]) ? 0 : short(std::lrint(std::clamp(m_floats[i] * 32768.0f, -32768.0f, 32767.0f)));
        return got;
    }

    std::vector<std::uint8_t> m_head;
    SndfileMemoryFile m_file;
    SF_INFO m_info{};
    SNDFILE* m_sound = nullptr;
    std::vector<float> m_floats;
};

} // namespace

std::unique_ptr<IAudioDecoder> OpenCompressedWave(std::span<const std::uint8_t> format,
                                                  std::span<const std::uint8_t> data, long rate, int channels)
{
    auto decoder = std::make_unique<CompressedWaveDecoder>(format, data);
    if (channels <= 0 || !decoder->Open(rate, channels))
        return nullptr;
    return decoder;
}

bool IsMpegWaveFormat(std::uint16_t formatTag) { return formatTag == 0x0050 || formatTag == 0x0055; }

bool CanDecodeWaveFormat(std::uint16_t formatTag)
{
    switch (formatTag) {
    case 0x0001: // PCM of widths the mixer does not take
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
