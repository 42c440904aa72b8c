#pragma once
// An audio device that exists only in memory: it mixes on the process clock
// (the virtual one in tests) up to the present whenever a buffer is touched or
// the recording is read, and keeps every frame it mixed and every event.

#include "platform/AudioOutput.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace platform {

class HeadlessAudioOutput final : public IAudioOutput, private IAudioSink {
public:
    explicit HeadlessAudioOutput(std::uint32_t rate = 48000, std::uint32_t chunkFrames = 1024);
    ~HeadlessAudioOutput() override;

    std::shared_ptr<AudioMixer> Mixer() override;

    // Without a device no mixer is made; taking away an open one loses it.
    void SetAvailable(bool available);
    // Off, the frames are still mixed (sounds end and report as they would)
    // but not kept: a long run's recording need not fill the memory.
    void SetRecording(bool keep) { m_keep = keep; }
    // Interleaved stereo from the first use of the mixer up to the clock's now.
    std::vector<std::int16_t> Recording();
    std::vector<AudioEvent> Events();
    // The clock's time at an output frame.
    std::uint32_t TimeOf(std::uint64_t frame) const;
    std::uint32_t Rate() const { return m_rate; }

private:
    void CatchUp() override;
    bool Reopen() override;

    const std::uint32_t m_rate;
    const std::uint32_t m_chunkFrames;
    std::mutex m_lock;
    std::shared_ptr<AudioMixer> m_mixer;
    bool m_available = true;
    std::uint32_t m_start = 0;
    bool m_keep = true;
    std::uint64_t m_mixed = 0;
    std::vector<std::int16_t> m_recording;
    std::vector<std::int16_t> m_chunk;
    std::mutex m_eventLock;
    std::vector<AudioEvent> m_events;
};

} // namespace platform
