#include <mpg123.h>

#include <algorithm>
#include <cstring>

#include "platform/AudioDecoder.h"

namespace platform {

namespace {

// The bytes the decoder reads through its replaced reader.
struct MemoryStream {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
};

mpg123_ssize_t ReadStream(void* handle, void* buffer, std::size_t n)
{
    auto& stream = *static_cast<MemoryStream*>(handle);
    n = std::min(n, stream.bytes.size() - stream.position);
    if (n > 0)
        std::memcpy(buffer, stream.bytes.data() + stream.position, n);
    stream.position += n;
    return mpg123_ssize_t(n);
}

off_t SeekStream(void* handle, off_t offset, int whence)
{
    auto& stream = *static_cast<MemoryStream*>(handle);
    const off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? off_t(stream.position) : off_t(stream.bytes.size());
    const off_t target = base + offset;
    if (target < 0 || target > off_t(stream.bytes.size()))
        return -1;
    stream.position = std::size_t(target);
    return target;
}

bool LibraryReady()
{
    static const bool ready = [] { return mpg123_init() == MPG123_OK; }();
    return ready;
}

class MpegAudioDecoder : public IAudioDecoder {
public:
    MpegAudioDecoder(std::span<const std::uint8_t> bytes, int channels) : m_frameBytes(std::size_t(channels) * 2)
    {
        m_stream.bytes = bytes;
    }
    ~MpegAudioDecoder() override
    {
        if (m_handle) {
            mpg123_close(m_handle);
            mpg123_delete(m_handle);
        }
    }

    bool Open(long rate, int channels)
    {
        m_handle = mpg123_new(nullptr, nullptr);
        if (!m_handle)
            return false;
        mpg123_param(m_handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
        const int encoding = MPG123_ENC_SIGNED_16;
        const int mode = channels == 1 ? MPG123_MONO : MPG123_STEREO;
        return mpg123_replace_reader_handle(m_handle, ReadStream, SeekStream, nullptr) == MPG123_OK
               && mpg123_format_none(m_handle) == MPG123_OK
               && mpg123_format(m_handle, rate, mode, encoding) == MPG123_OK
               && mpg123_open_handle(m_handle, &m_stream) == MPG123_OK;
    }

    std::size_t Read(void* out, std::size_t n) override
    {
        n -= n % m_frameBytes;
        std::size_t total = 0;
        while (total < n && !m_ended) {
            std::size_t done = 0;
            const int result = mpg123_read(m_handle, static_cast<unsigned char*>(out) + total, n - total, &done);
            total += done;
            // A format change is the decoder's first word on a stream; every
            // other answer but OK ends the stream.
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
                m_ended = true;
            else if (done == 0 && result == MPG123_OK)
                m_ended = true;
        }
        return total - total % m_frameBytes;
    }

    bool Seek(std::uint64_t frame) override
    {
        m_ended = false;
        return mpg123_seek(m_handle, off_t(frame), SEEK_SET) >= 0;
    }

    // The scan reads every frame's header: a stream of tiny frames takes seconds
    // for a few hundred MiB. The estimate needs the first frame alone.
    std::optional<std::uint64_t> MeasureFrames(std::uint64_t mostFrames) override
    {
        const off_t estimate = mpg123_length(m_handle);
        if (estimate < 0 || std::uint64_t(estimate) > mostFrames || m_stream.bytes.size() > mostFrames)
            return std::nullopt;
        if (mpg123_scan(m_handle) != MPG123_OK)
            return std::nullopt;
        const off_t frames = mpg123_length(m_handle);
        if (frames < 0)
            return std::nullopt;
        return std::uint64_t(frames);
    }

private:
    MemoryStream m_stream;
    mpg123_handle* m_handle = nullptr;
    std::size_t m_frameBytes;
    bool m_ended = false;
};

} // namespace

std::unique_ptr<IAudioDecoder> OpenMpegAudio(std::span<const std::uint8_t> stream, long rate, int channels)
{
    if (!LibraryReady() || (channels != 1 && channels != 2) || rate <= 0)
        return nullptr;
    auto decoder = std::make_unique<MpegAudioDecoder>(stream, channels);
    if (!decoder->Open(rate, channels))
        return nullptr;
    return decoder;
}

} // namespace platform
