#pragma once
// One sound buffer of the mixer, as the wave sounds use a DirectSound
// secondary buffer: the bytes are the caller's to lock and fill (as one or two
// regions of a ring), the buffer plays once or looping from its play cursor,
// and stopping leaves the cursor where it was. The play cursor is the first
// byte not yet heard; the write cursor is one device chunk ahead of it while
// playing, or as far as the converter has already taken. Offsets are rounded
// down to whole sample blocks.

#include "platform/AudioMixer.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _SDL_AudioStream;

namespace platform {

class Resampler;

enum class AudioBufferStatus { Lost, Stopped, Playing };

class AudioBuffer {
public:
    AudioBuffer(const AudioBuffer&) = delete;
    AudioBuffer& operator=(const AudioBuffer&) = delete;
    ~AudioBuffer();

    const PcmFormat& Format() const { return m_format; }
    std::uint32_t Size() const { return m_size; }
    // The name the mixer's events carry (the sound's file).
    void SetName(std::string name);

    AudioBufferStatus GetStatus();
    // Regions from offset for bytes, wrapping at the end; second may be null
    // to take the first region only. False when lost or bytes exceed the size.
    bool Lock(std::uint32_t offset, std::uint32_t bytes, void** first, std::uint32_t* firstBytes, void** second,
              std::uint32_t* secondBytes);
    // False when lost. A buffer that ran to its end starts again from 0.
    bool Play(bool loop);
    void Stop();
    // False beyond the end.
    bool SetCurrentPosition(std::uint32_t offset);
    void GetCurrentPosition(std::uint32_t* play, std::uint32_t* write);
    // Hundredths of a decibel, -10000..0; false outside.
    bool SetVolume(std::int32_t volume);
    std::int32_t GetVolume() const { return m_volume.load(std::memory_order_relaxed); }
    // Hundredths of a decibel taken off the far side, -10000..10000.
    bool SetPan(std::int32_t pan);
    std::int32_t GetPan() const { return m_pan.load(std::memory_order_relaxed); }
    // Samples per second the data is played at, 100..200000; 0 is the format's.
    bool SetFrequency(std::uint32_t rate);
    std::uint32_t GetFrequency() const { return m_frequency.load(std::memory_order_relaxed); }
    // The mixer line whose gain the buffer passes through; Wave at first.
    void SetLine(MixerLine line) { m_line.store(line, std::memory_order_relaxed); }
    MixerLine GetLine() const { return m_line.load(std::memory_order_relaxed); }
    // False while the device cannot be opened again.
    bool Restore();

private:
    friend class AudioMixer;

    AudioBuffer(std::shared_ptr<AudioMixer> mixer, const PcmFormat& format, std::uint32_t bytes, bool zeroFill);
    bool MakeStream();
    // Puts the next piece of the data into the converter; false when it refused.
    bool Feed();
    std::uint32_t SourceRate() const;
    bool IsLost() const;
    // Under the mixer's lock. Adds frames into mix; true when the buffer ran
    // out and stopped (ended holds the frames it still gave).
    bool MixInto(float* mix, std::uint32_t frames, std::vector<float>& voice, const std::array<float, 2>& lineGain,
                 std::uint32_t* ended);
    void Rewind(std::uint32_t offset);
    std::uint32_t QueuedBytes() const;
    std::uint32_t ChunkBytes() const;
    void UpdateGains();

    std::shared_ptr<AudioMixer> m_mixer;
    PcmFormat m_format;
    std::uint32_t m_size;
    std::uint32_t m_playable;
    std::unique_ptr<std::uint8_t[]> m_data;
    std::string m_name;

    // Written under the mixer's lock.
    _SDL_AudioStream* m_stream = nullptr;
    std::uint32_t m_generation;
    std::uint32_t m_feed = 0;
    std::uint32_t m_feedBytes = 0;
    std::unique_ptr<Resampler> m_resampler;
    bool m_tailPushed = false;
    bool m_looping = false;
    bool m_draining = false;
    std::atomic<bool> m_playing{false};
    std::atomic<std::uint32_t> m_frequency{0};
    std::atomic<std::uint32_t> m_playCursor{0};
    std::atomic<std::uint32_t> m_feedCursor{0};
    std::atomic<std::int32_t> m_volume{0};
    std::atomic<std::int32_t> m_pan{0};
    std::atomic<float> m_leftGain{1.0f};
    std::atomic<float> m_rightGain{1.0f};
    std::atomic<MixerLine> m_line{MixerLine::Wave};
};

} // namespace platform
