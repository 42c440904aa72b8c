#include "platform/HeadlessAudioOutput.h"

#include "platform/Clock.h"

#include <algorithm>

namespace platform {

HeadlessAudioOutput::HeadlessAudioOutput(std::uint32_t rate, std::uint32_t chunkFrames)
    : m_rate(rate), m_chunkFrames(chunkFrames)
{
}

HeadlessAudioOutput::~HeadlessAudioOutput()
{
    if (m_mixer) m_mixer->Attach(nullptr);
}

std::shared_ptr<AudioMixer> HeadlessAudioOutput::Mixer()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_mixer && m_available) {
        m_mixer = std::make_shared<AudioMixer>(m_rate, m_chunkFrames);
        m_mixer->Attach(this);
        m_mixer->SetObserver([this](const AudioEvent& event) {
            std::lock_guard<std::mutex> events(m_eventLock);
            m_events.push_back(event);
        });
        m_start = Clock().Now();
    }
    return m_mixer;
}

void HeadlessAudioOutput::SetAvailable(bool available)
{
    std::shared_ptr<AudioMixer> lost;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_available && !available) lost = m_mixer;
        m_available = available;
    }
    if (lost) {
        CatchUp();
        lost->LoseDevice();
    }
}

void HeadlessAudioOutput::CatchUp()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_mixer) return;
    const std::uint64_t due = std::uint64_t{Clock().Now() - m_start} * m_rate / 1000;
    while (m_mixed < due) {
        // Unkept, silence costs nothing however long the clock skipped.
        if (!m_keep && (m_mixed += m_mixer->SkipSilence(due - m_mixed)) == due) break;
        const std::uint32_t frames = static_cast<std::uint32_t>(std::min<std::uint64_t>(due - m_mixed, m_chunkFrames));
        std::int16_t* out;
        if (m_keep) {
            const std::size_t kept = m_recording.size();
            m_recording.resize(kept + std::size_t{frames} * AudioMixer::OutputChannels);
            out = m_recording.data() + kept;
        } else {
            m_chunk.resize(std::size_t{frames} * AudioMixer::OutputChannels);
            out = m_chunk.data();
        }
        m_mixer->Mix(out, frames);
        m_mixed += frames;
    }
}

bool HeadlessAudioOutput::Reopen()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_available;
}

std::vector<std::int16_t> HeadlessAudioOutput::Recording()
{
    CatchUp();
    std::lock_guard<std::mutex> guard(m_lock);
    return m_recording;
}

std::vector<AudioEvent> HeadlessAudioOutput::Events()
{
    CatchUp();
    std::lock_guard<std::mutex> guard(m_eventLock);
    return m_events;
}

std::uint32_t HeadlessAudioOutput::TimeOf(std::uint64_t frame) const
{
    return m_start + static_cast<std::uint32_t>(frame * 1000 / m_rate);
}

} // namespace platform
