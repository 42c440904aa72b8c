#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

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

struct HandleCloser {
    void operator()(mpg123_handle* handle) const
    {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
using Handle = std::unique_ptr<mpg123_handle, HandleCloser>;

// A decoder of the stream whose output is fixed to rate and channels; null when refused.
Handle OpenHandle(MemoryStream& stream, long rate, int channels)
{
    Handle handle(mpg123_new(nullptr, nullptr));
    if (!handle)
        return nullptr;
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    const int encoding = MPG123_ENC_SIGNED_16;
    const int mode = channels == 1 ? MPG123_MONO : MPG123_STEREO;
    const bool opened = mpg123_replace_reader_handle(handle.get(), ReadStream, SeekStream, nullptr) == MPG123_OK
                        && mpg123_format_none(handle.get()) == MPG123_OK
                        && mpg123_format(handle.get(), rate, mode, encoding) == MPG123_OK
                        && mpg123_open_handle(handle.get(), &stream) == MPG123_OK;
    return opened ? std::move(handle) : nullptr;
}

// What the scan may trim off a count of whole frames: the encoder's delay and
// padding, 12 bits each in its tag, at up to six times their rate (frames of
// 8 kHz given out at 48 kHz).
constexpr std::uint64_t MostTrimmedFrames = 2 * 4095 * 6;

class MpegAudioDecoder : public IAudioDecoder {
public:
    MpegAudioDecoder(std::span<const std::uint8_t> bytes, long rate, int channels)
        : m_rate(rate), m_channels(channels), m_frameBytes(std::size_t(channels) * 2)
    {
        m_stream.bytes = bytes;
    }

    bool Open()
    {
        m_handle = OpenHandle(m_stream, m_rate, m_channels);
        return m_handle != nullptr;
    }

    std::size_t Read(void* out, std::size_t n) override
    {
        n -= n % m_frameBytes;
        std::size_t total = 0;
        while (total < n && !m_ended) {
            std::size_t done = 0;
            const int result = mpg123_read(m_handle.get(), static_cast<unsigned char*>(out) + total, n - total, &done);
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
        return mpg123_seek(m_handle.get(), off_t(frame), SEEK_SET) >= 0;
    }

    // Counted by the library's scan, which trims what the encoder's tag says
    // is no sound but reads on to the last frame. A walk of its own comes
    // first and gives up past mostFrames: a file of tiny frames costs no more
    // than a sound of mostFrames, whatever its size or its first frame tells.
    // A walk that gave up has proved the sound longer than that; the rest is
    // taken at the rate of the part walked, as the first frame's rate may be
    // far from the others'. Frames of another sample rate than the decoder's
    // are resampled, to a count the walk knows only to a sample a frame:
    // such a stream is not counted, lest a sound held on it be cut short or
    // end in silence (the scan would count them at the first frame's rate).
    std::optional<Measure> MeasureFrames(std::uint64_t mostFrames) override
    {
        const std::optional<Walk> walk = WalkFrames(mostFrames);
        if (!walk)
            return std::nullopt;
        if (walk->past) {
            const double whole = double(m_stream.bytes.size()) / double(walk->bytes);
            return Measure{std::uint64_t(double(walk->frames) * whole), false};
        }
        if (walk->resampled)
            return Measure{walk->frames, false};
        if (mpg123_scan(m_handle.get()) != MPG123_OK)
            return std::nullopt;
        const off_t frames = mpg123_length(m_handle.get());
        if (frames < 0)
            return std::nullopt;
        return Measure{std::uint64_t(frames)};
    }

private:
    // The sample frames of whole frames over the bytes read, up to the first
    // that gives more than mostFrames and what a scan may trim.
    struct Walk {
        std::uint64_t frames = 0;
        std::size_t bytes = 0;
        bool past = false;
        // A frame of another sample rate than the decoder's.
        bool resampled = false;
    };

    // The frames read through their headers by a decoder of their own;
    // nothing when it cannot be opened.
    std::optional<Walk> WalkFrames(std::uint64_t mostFrames) const
    {
        MemoryStream stream{m_stream.bytes};
        const Handle walker = OpenHandle(stream, m_rate, m_channels);
        if (!walker)
            return std::nullopt;
        Walk walk;
        while (!walk.past) {
            const int result = mpg123_framebyframe_next(walker.get());
            mpg123_frameinfo frame;
            if ((result != MPG123_OK && result != MPG123_NEW_FORMAT) || mpg123_info(walker.get(), &frame) != MPG123_OK
                || frame.rate <= 0)
                break;
            walk.resampled = walk.resampled || frame.rate != m_rate;
            // At most what the frame gives out at the decoder's rate.
            const auto samples = std::uint64_t(std::max(mpg123_spf(walker.get()), 0));
            walk.frames += samples * std::uint64_t(m_rate) / std::uint64_t(frame.rate);
            walk.bytes = stream.position;
            walk.past = walk.frames > MostTrimmedFrames && walk.frames - MostTrimmedFrames > mostFrames;
        }
        return walk;
    }

    MemoryStream m_stream;
    long m_rate;
    int m_channels;
    Handle m_handle;
    std::size_t m_frameBytes;
    bool m_ended = false;
};

} // namespace

std::unique_ptr<IAudioDecoder> OpenMpegAudio(std::span<const std::uint8_t> stream, long rate, int channels)
{
    if (!LibraryReady() || (channels != 1 && channels != 2) || rate <= 0)
        return nullptr;
    auto decoder = std::make_unique<MpegAudioDecoder>(stream, rate, channels);
    if (!decoder->Open())
        return nullptr;
    return decoder;
}

} // namespace platform
