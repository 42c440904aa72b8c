#include "platform/AudioBuffer.h"

#include "platform/Resampler.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {
namespace {

constexpr std::int32_t Silent = -10000;

float GainOf(std::int32_t hundredthsOfDecibel)
{
    return hundredthsOfDecibel <= Silent ? 0.0f : static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

} // namespace

AudioBuffer::AudioBuffer(std::shared_ptr<AudioMixer> mixer, const PcmFormat& format, std::uint32_t bytes,
                         bool zeroFill)
    : m_mixer(std::move(mixer)),
      m_format(format),
      m_size(bytes),
      m_playable(bytes - bytes % format.BlockAlign()),
      m_data(new (std::nothrow) std::uint8_t[bytes]),
      m_generation(m_mixer->m_generation)
{
    // Unsigned 8-bit silence is 0x80; a caller that asks for zeros gets zeros.
    if (m_data) std::memset(m_data.get(), !zeroFill && format.bits == 8 ? 0x80 : 0, bytes);
}

AudioBuffer::~AudioBuffer()
{
    m_mixer->Remove(this);
    SDL_FreeAudioStream(m_stream);
}

void AudioBuffer::SetName(std::string name)
{
    std::lock_guard<std::mutex> guard(m_mixer->m_lock);
    m_name = std::move(name);
}

std::uint32_t AudioBuffer::SourceRate() const
{
    const std::uint32_t frequency = m_frequency.load(std::memory_order_relaxed);
    return frequency ? frequency : m_format.rate;
}

bool AudioBuffer::MakeStream()
{
    // SDL converts the samples at their own rate; the rate is ours to
    // change, since SDL's resampler restarts its phase at every piece it
    // converts (a click every few hundred frames) and costs twice the time.
    SDL_AudioStream* stream =
        SDL_NewAudioStream(m_format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB, static_cast<Uint8>(m_format.channels),
                           static_cast<int>(SourceRate()), AUDIO_F32SYS, AudioMixer::OutputChannels,
                           static_cast<int>(SourceRate()));
    if (!stream) return false;
    SDL_FreeAudioStream(m_stream);
    m_stream = stream;
    m_resampler = std::make_unique<Resampler>(SourceRate(), m_mixer->Rate());
    const std::uint64_t frames =
        std::max<std::uint64_t>(256, std::uint64_t{m_mixer->ChunkFrames()} * SourceRate() / m_mixer->Rate() + 1);
    m_feedBytes = static_cast<std::uint32_t>(frames * m_format.BlockAlign());
    return true;
}

bool AudioBuffer::Feed()
{
    const std::uint32_t bytes = std::min(m_playable - m_feed, m_feedBytes);
    if (SDL_AudioStreamPut(m_stream, m_data.get() + m_feed, static_cast<int>(bytes)) != 0) return false;
    m_feed += bytes;
    if (m_feed < m_playable) return true;
    if (m_looping) m_feed = 0;
    else m_draining = true;
    return true;
}

bool AudioBuffer::IsLost() const
{
    return m_generation != m_mixer->m_generation;
}

AudioBufferStatus AudioBuffer::GetStatus()
{
    m_mixer->CatchUp();
    std::lock_guard<std::mutex> guard(m_mixer->m_lock);
    if (IsLost()) return AudioBufferStatus::Lost;
    return m_playing ? AudioBufferStatus::Playing : AudioBufferStatus::Stopped;
}

bool AudioBuffer::Lock(std::uint32_t offset, std::uint32_t bytes, void** first, std::uint32_t* firstBytes,
                       void** second, std::uint32_t* secondBytes)
{
    m_mixer->CatchUp();
    {
        std::lock_guard<std::mutex> guard(m_mixer->m_lock);
        if (IsLost()) return false;
    }
    const std::uint32_t start = offset - offset % m_format.BlockAlign();
    if (bytes == 0 || bytes > m_size || start >= m_size) return false;
    const std::uint32_t head = std::min(bytes, m_size - start);
    *first = m_data.get() + start;
    *firstBytes = head;
    if (second) {
        *second = bytes > head ? m_data.get() : nullptr;
        *secondBytes = bytes - head;
    }
    return true;
}

bool AudioBuffer::Play(bool loop)
{
    m_mixer->CatchUp();
    std::lock_guard<std::mutex> guard(m_mixer->m_lock);
    if (IsLost()) return false;
    m_looping = loop;
    if (m_playing) return true;
    if (m_feed >= m_playable) Rewind(0);
    m_playing = true;
    m_mixer->Notify(AudioEventKind::Play, m_name, m_mixer->m_framesMixed);
    return true;
}

void AudioBuffer::Stop()
{
    m_mixer->CatchUp();
    std::lock_guard<std::mutex> guard(m_mixer->m_lock);
    if (!m_playing) return;
    Rewind(m_playCursor);
    m_playing = false;
    m_mixer->Notify(AudioEventKind::Stop, m_name, m_mixer->m_framesMixed);
}

bool AudioBuffer::SetCurrentPosition(std::uint32_t offset)
{
    m_mixer->CatchUp();
    const std::uint32_t start = offset - offset % m_format.BlockAlign();
    if (start >= m_size) return false;
    std::lock_guard<std::mutex> guard(m_mixer->m_lock);
    Rewind(std::min(start, m_playable));
    return true;
}

void AudioBuffer::GetCurrentPosition(std::uint32_t* play, std::uint32_t* write)
{
    m_mixer->CatchUp();
    const std::uint32_t cursor = m_playCursor.load(std::memory_order_acquire);
    if (play) *play = cursor;
    if (!write) return;
    if (!m_playing) {
        *write = cursor;
        return;
    }
    // One device chunk ahead, or as far as the converter has taken already.
    const std::uint32_t taken = (m_feedCursor.load(std::memory_order_acquire) + m_size - cursor) % m_size;
    *write = static_cast<std::uint32_t>((std::uint64_t{cursor} + std::max(ChunkBytes(), taken)) % m_size);
}

bool AudioBuffer::SetVolume(std::int32_t volume)
{
    if (volume < Silent || volume > 0) return false;
    m_mixer->CatchUp();
    m_volume.store(volume, std::memory_order_relaxed);
    UpdateGains();
    return true;
}

bool AudioBuffer::SetPan(std::int32_t pan)
{
    if (pan < Silent || pan > -Silent) return false;
    m_mixer->CatchUp();
    m_pan.store(pan, std::memory_order_relaxed);
    UpdateGains();
    return true;
}

void AudioBuffer::UpdateGains()
{
    const float gain = GainOf(GetVolume());
    const std::int32_t pan = GetPan();
    m_leftGain.store(gain * (pan > 0 ? GainOf(-pan) : 1.0f), std::memory_order_relaxed);
    m_rightGain.store(gain * (pan < 0 ? GainOf(pan) : 1.0f), std::memory_order_relaxed);
}

bool AudioBuffer::SetFrequency(std::uint32_t rate)
{
    if (rate != 0 && (rate < 100 || rate > 200000)) return false;
    m_mixer->CatchUp();
    std::lock_guard<std::mutex> guard(m_mixer->m_lock);
    const std::uint32_t old = m_frequency.exchange(rate);
    if (!MakeStream()) {
        m_frequency = old;
        return false;
    }
    Rewind(m_playCursor);
    return true;
}

bool AudioBuffer::Restore()
{
    if (!m_mixer->Reopen()) return false;
    std::lock_guard<std::mutex> guard(m_mixer->m_lock);
    m_generation = m_mixer->m_generation;
    return true;
}

void AudioBuffer::Rewind(std::uint32_t offset)
{
    SDL_AudioStreamClear(m_stream);
    m_resampler->Reset();
    m_feed = offset;
    m_draining = false;
    m_tailPushed = false;
    m_playCursor.store(offset, std::memory_order_release);
    m_feedCursor.store(offset, std::memory_order_release);
}

std::uint32_t AudioBuffer::QueuedBytes() const
{
    const std::uint64_t frames =
        SDL_AudioStreamAvailable(m_stream) / (AudioMixer::OutputChannels * sizeof(float)) + m_resampler->Held();
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(frames * m_format.BlockAlign(), UINT32_MAX));
}

std::uint32_t AudioBuffer::ChunkBytes() const
{
    const std::uint64_t rate = m_mixer->Rate();
    const std::uint64_t frames = (std::uint64_t{m_mixer->ChunkFrames()} * SourceRate() + rate - 1) / rate;
    return static_cast<std::uint32_t>(frames * m_format.BlockAlign());
}

bool AudioBuffer::MixInto(float* mix, std::uint32_t frames, std::vector<float>& voice,
                          const std::array<float, 2>& lineGain, std::uint32_t* ended)
{
    constexpr std::uint32_t FrameBytes = AudioMixer::OutputChannels * sizeof(float);
    for (std::uint32_t needed; (needed = m_resampler->Needed(frames)) > 0;) {
        const std::uint32_t converted = static_cast<std::uint32_t>(SDL_AudioStreamAvailable(m_stream)) / FrameBytes;
        if (converted > 0) {
            const std::uint32_t take = std::min(converted, needed);
            voice.resize(static_cast<std::size_t>(take) * AudioMixer::OutputChannels);
            const int got = SDL_AudioStreamGet(m_stream, voice.data(), static_cast<int>(take * FrameBytes));
            if (got <= 0) break;
            m_resampler->Push(voice.data(), static_cast<std::uint32_t>(got) / FrameBytes);
        } else if (!m_draining) {
            if (!Feed()) break;
        } else if (!m_tailPushed) {
            m_resampler->PushTail();
            m_tailPushed = true;
        } else {
            break;
        }
    }
    const std::uint32_t given =
        m_resampler->MixInto(mix, frames, m_leftGain.load(std::memory_order_relaxed) * lineGain[0],
                             m_rightGain.load(std::memory_order_relaxed) * lineGain[1]);
    if (given < frames && m_tailPushed) {
        m_playing = false;
        m_draining = false;
        m_playCursor.store(m_playable, std::memory_order_release);
        *ended = given;
        return true;
    }
    // What the stream still holds was fed from before the feed point, across
    // the loop's seam when the feed has wrapped.
    const std::uint32_t queued = QueuedBytes();
    const std::uint32_t heard =
        m_draining ? m_playable - std::min(queued, m_playable)
                   : static_cast<std::uint32_t>((std::uint64_t{m_feed} + m_playable - queued % m_playable) % m_playable);
    m_playCursor.store(heard - heard % m_format.BlockAlign(), std::memory_order_release);
    m_feedCursor.store(m_feed % m_playable, std::memory_order_release);
    return false;
}

} // namespace platform
