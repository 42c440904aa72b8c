#include "platform/AudioMixer.h"

#include "platform/AudioBuffer.h"

#include <algorithm>
#include <cmath>

namespace platform {

const std::vector<MixerLineInfo>& MixerDestinations()
{
    static const std::vector<MixerLineInfo> destinations{
        {MixerComponent::Speakers,
         MixerLine::Master,
         {{MixerComponent::WaveOut, MixerLine::Wave, {}}, {MixerComponent::Synthesizer, MixerLine::Synth, {}}}}};
    return destinations;
}

AudioMixer::AudioMixer(std::uint32_t rate, std::uint32_t chunkFrames) : m_rate(rate), m_chunkFrames(chunkFrames)
{
    m_mix.reserve(static_cast<std::size_t>(chunkFrames) * OutputChannels);
    m_voice.reserve(static_cast<std::size_t>(chunkFrames) * OutputChannels);
    for (auto& line : m_lines)
        for (auto& value : line) value.store(MixerLineFull, std::memory_order_relaxed);
}

AudioMixer::~AudioMixer() = default;

std::unique_ptr<AudioBuffer> AudioMixer::CreateBuffer(const PcmFormat& format, std::uint32_t bytes, bool zeroFill)
{
    if ((format.bits != 8 && format.bits != 16) || format.channels == 0 || format.channels > 8 || format.rate == 0 ||
        bytes < format.BlockAlign())
        return nullptr;
    std::unique_ptr<AudioBuffer> buffer(new AudioBuffer(shared_from_this(), format, bytes, zeroFill));
    if (!buffer->m_data || !buffer->MakeStream()) return nullptr;
    std::lock_guard<std::mutex> guard(m_lock);
    m_buffers.push_back(buffer.get());
    return buffer;
}

void AudioMixer::Mix(std::int16_t* out, std::uint32_t frames)
{
    std::lock_guard<std::mutex> guard(m_lock);
    // A headless device mixes every second the clock skips, mostly silence.
    if (IsSilent()) {
        std::fill_n(out, static_cast<std::size_t>(frames) * OutputChannels, std::int16_t{0});
        m_framesMixed += frames;
        return;
    }
    m_mix.assign(static_cast<std::size_t>(frames) * OutputChannels, 0.0f);
    for (AudioBuffer* buffer : m_buffers) {
        if (!buffer->m_playing) continue;
        std::uint32_t given = 0;
        const MixerLine line = buffer->GetLine();
        if (buffer->MixInto(m_mix.data(), frames, m_voice, {LineGain(line, 0), LineGain(line, 1)}, &given))
            Notify(AudioEventKind::End, buffer->m_name, m_framesMixed + given);
    }
    for (const Source& source : m_sources) {
        m_voice.assign(m_mix.size(), 0.0f);
        source.source->MixInto(m_voice.data(), frames, m_framesMixed);
        const float gain[OutputChannels] = {LineGain(source.line, 0), LineGain(source.line, 1)};
        // A sample that is no number would leave the clamp below as a
        // full-scale click, or as nothing defined at all: it is silence.
        for (std::size_t i = 0; i < m_mix.size(); ++i)
            if (std::isfinite(m_voice[i])) m_mix[i] += m_voice[i] * gain[i % OutputChannels];
    }
    const float master[OutputChannels] = {LineGain(MixerLine::Master, 0), LineGain(MixerLine::Master, 1)};
    for (std::size_t i = 0; i < m_mix.size(); ++i) m_mix[i] *= master[i % OutputChannels];
    // Samples came in as s / 32768, so a lone voice at full volume goes out
    // bit for bit.
    for (std::size_t i = 0; i < m_mix.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::lrint(std::clamp(m_mix[i] * 32768.0f, -32768.0f, 32767.0f)));
    m_framesMixed += frames;
}

std::uint64_t AudioMixer::SkipSilence(std::uint64_t frames)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!IsSilent()) return 0;
    m_framesMixed += frames;
    return frames;
}

bool AudioMixer::IsSilent() const
{
    return m_sources.empty() &&
           std::none_of(m_buffers.begin(), m_buffers.end(), [](const AudioBuffer* buffer) { return buffer->m_playing.load(); });
}

std::uint64_t AudioMixer::FramesMixed() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_framesMixed;
}

void AudioMixer::SetLineValues(MixerLine line, const MixerLineValues& values)
{
    CatchUp();
    auto& stage = m_lines[static_cast<std::size_t>(line)];
    for (std::size_t channel = 0; channel < stage.size(); ++channel)
        stage[channel].store(std::min(values[channel], MixerLineFull), std::memory_order_relaxed);
}

MixerLineValues AudioMixer::GetLineValues(MixerLine line) const
{
    const auto& stage = m_lines[static_cast<std::size_t>(line)];
    return {stage[0].load(std::memory_order_relaxed), stage[1].load(std::memory_order_relaxed)};
}

float AudioMixer::LineGain(MixerLine line, std::size_t channel) const
{
    return static_cast<float>(m_lines[static_cast<std::size_t>(line)][channel].load(std::memory_order_relaxed)) /
           static_cast<float>(MixerLineFull);
}

void AudioMixer::Attach(IAudioSink* sink)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_sink = sink;
}

void AudioMixer::SetObserver(std::function<void(const AudioEvent&)> observer)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_observer = std::move(observer);
}

void AudioMixer::LoseDevice()
{
    std::lock_guard<std::mutex> guard(m_lock);
    ++m_generation;
    for (AudioBuffer* buffer : m_buffers) {
        if (!buffer->m_playing) continue;
        buffer->Rewind(buffer->m_playCursor);
        buffer->m_playing = false;
        Notify(AudioEventKind::Stop, buffer->m_name, m_framesMixed);
    }
}

void AudioMixer::CatchUp()
{
    IAudioSink* sink;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        sink = m_sink;
    }
    if (sink) sink->CatchUp();
}

bool AudioMixer::Reopen()
{
    IAudioSink* sink;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        sink = m_sink;
    }
    return sink && sink->Reopen();
}

void AudioMixer::Remove(AudioBuffer* buffer)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = std::find(m_buffers.begin(), m_buffers.end(), buffer);
    if (found != m_buffers.end()) m_buffers.erase(found);
}

void AudioMixer::AddSource(IAudioSource* source, MixerLine line)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_sources.push_back({source, line});
}

void AudioMixer::RemoveSource(IAudioSource* source)
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::erase_if(m_sources, [source](const Source& entry) { return entry.source == source; });
}

void AudioMixer::SetSourceLine(IAudioSource* source, MixerLine line)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (Source& entry : m_sources)
        if (entry.source == source) entry.line = line;
}

void AudioMixer::Change(const std::function<void(std::uint64_t frame)>& change)
{
    std::lock_guard<std::mutex> guard(m_lock);
    change(m_framesMixed);
}

void AudioMixer::Notify(AudioEventKind kind, const std::string& name, std::uint64_t frame)
{
    if (m_observer) m_observer({frame, kind, name});
}

} // namespace platform
