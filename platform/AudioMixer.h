#pragma once
// The process's sound mixer: any number of PCM buffers with the semantics the
// wave sounds expect of DirectSound, mixed into one interleaved stereo 16-bit
// stream that an audio device pulls chunk by chunk. Each buffer converts and
// resamples through an SDL audio stream of its own; the mix itself is ours.
// Gain stages of lines and other sources (a synthesiser) join the mix here.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

class AudioBuffer;

// Linear PCM: 8-bit unsigned or 16-bit signed samples, interleaved.
struct PcmFormat {
    std::uint32_t rate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bits = 0;

    std::uint32_t BlockAlign() const { return channels * bits / 8u; }
    std::uint32_t BytesPerSecond() const { return rate * BlockAlign(); }
};

enum class AudioEventKind { Play, Stop, End };

// The mixer's volume lines: gain stages of two channels, each value 0..65535
// (the gain value / 65535), all at 65535 at first. Master scales the whole
// mix; a buffer joins the Wave line unless it is put on another.
enum class MixerLine : std::uint8_t { Master, Wave, Synth };
constexpr std::size_t MixerLineCount = 3;
constexpr std::uint32_t MixerLineFull = 65535;
using MixerLineValues = std::array<std::uint32_t, 2>;

// The lines as a sound card's mixer shows them: one speakers destination (the
// Master line) whose sources are the wave output and the synthesiser. There is
// no compact-disc source: nothing here plays a CD.
namespace MixerComponent {
constexpr std::uint32_t Speakers = 4;
constexpr std::uint32_t Synthesizer = 0x1004;
constexpr std::uint32_t CompactDisc = 0x1005;
constexpr std::uint32_t WaveOut = 0x1008;
} // namespace MixerComponent

struct MixerLineInfo {
    std::uint32_t component;
    MixerLine line;
    std::vector<MixerLineInfo> sources;
};
const std::vector<MixerLineInfo>& MixerDestinations();

// What a buffer did, at the output frame where it happened.
struct AudioEvent {
    std::uint64_t frame = 0;
    AudioEventKind kind = AudioEventKind::Play;
    std::string name;
};

// The device side of a mixer.
class IAudioSink {
public:
    virtual ~IAudioSink() = default;
    // Called before a buffer is touched: the headless device mixes up to its
    // clock, a real one notices that it has gone.
    virtual void CatchUp() = 0;
    // Opens the device again after a loss; false while it cannot be.
    virtual bool Reopen() = 0;
};

// A source that renders into the mix by itself (the synthesiser).
class IAudioSource {
public:
    virtual ~IAudioSource() = default;
    // Under the mixer's lock: adds frames of stereo, scaled as s / 32768, into
    // mix; firstFrame is the output frame of mix[0].
    virtual void MixInto(float* mix, std::uint32_t frames, std::uint64_t firstFrame) = 0;
};

class AudioMixer : public std::enable_shared_from_this<AudioMixer> {
public:
    static constexpr std::uint16_t OutputChannels = 2;

    // chunkFrames: the frames the device asks for at a time.
    AudioMixer(std::uint32_t rate, std::uint32_t chunkFrames);
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;
    ~AudioMixer();

    std::uint32_t Rate() const { return m_rate; }
    std::uint32_t ChunkFrames() const { return m_chunkFrames; }

    // Null for a size of 0 or a format the converter cannot take. zeroFill
    // clears the bytes; otherwise they hold the format's silence.
    std::unique_ptr<AudioBuffer> CreateBuffer(const PcmFormat& format, std::uint32_t bytes, bool zeroFill);

    // frames of interleaved stereo into out; the device's callback.
    void Mix(std::int16_t* out, std::uint32_t frames);
    // While nothing sounds, counts the frames as mixed without writing them
    // and returns them; 0 while something sounds.
    std::uint64_t SkipSilence(std::uint64_t frames);
    std::uint64_t FramesMixed() const;

    // The source mixes from the next chunk on until it is removed, through the
    // line's gain; removing waits for a mix under way.
    void AddSource(IAudioSource* source, MixerLine line = MixerLine::Synth);
    void RemoveSource(IAudioSource* source);
    // Moves a source to another line; nothing for a source not added.
    void SetSourceLine(IAudioSource* source, MixerLine line);
    // Frames already due are mixed first: call before a source changes.
    void CatchUp();
    // Runs change under the mixer's lock, so no chunk is mixed meanwhile; it
    // gets the frame mixed next, for the events it notifies. A source takes
    // its own lock inside it, in the order the mixing thread takes the two.
    void Change(const std::function<void(std::uint64_t frame)>& change);
    // Under the mixer's lock (in Change or a source's MixInto).
    void Notify(AudioEventKind kind, const std::string& name, std::uint64_t frame);

    // Values above 65535 are taken as 65535. Frames already due are mixed at
    // the old values first.
    void SetLineValues(MixerLine line, const MixerLineValues& values);
    MixerLineValues GetLineValues(MixerLine line) const;
    // value / 65535; lock-free, for the device's callback.
    float LineGain(MixerLine line, std::size_t channel) const;

    // Null detaches the device; buffers then never play on.
    void Attach(IAudioSink* sink);
    void SetObserver(std::function<void(const AudioEvent&)> observer);
    // The device went away: every buffer stops and reports itself lost until
    // it is restored.
    void LoseDevice();

private:
    friend class AudioBuffer;

    bool Reopen();
    void Remove(AudioBuffer* buffer);
    // Under the lock: no buffer plays and no source is added.
    bool IsSilent() const;

    const std::uint32_t m_rate;
    const std::uint32_t m_chunkFrames;
    mutable std::mutex m_lock;
    std::vector<AudioBuffer*> m_buffers;
    struct Source {
        IAudioSource* source;
        MixerLine line;
    };
    std::vector<Source> m_sources;
    std::vector<float> m_mix;
    std::vector<float> m_voice;
    std::uint64_t m_framesMixed = 0;
    std::uint32_t m_generation = 0;
    IAudioSink* m_sink = nullptr;
    std::function<void(const AudioEvent&)> m_observer;
    // Read by the device's callback without the lock.
    std::array<std::array<std::atomic<std::uint32_t>, 2>, MixerLineCount> m_lines;
};

} // namespace platform
