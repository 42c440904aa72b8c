#include "sound/SoundBuffer.h"

#include "platform/AudioBuffer.h"
#include "sound/WaveSoundSettings.h"

namespace kivotasuGameKit {

CDirectSoundBuffer::CDirectSoundBuffer(std::shared_ptr<platform::AudioMixer> mixer) : m_mixer(std::move(mixer)) {}

CDirectSoundBuffer::~CDirectSoundBuffer() = default;

int CDirectSoundBuffer::Create(const WAVEFORMATEX* format, std::uint32_t size, bool zeroFill,
                               CSmartPtr<CWaveSoundSettings> settings)
{
    m_flags = CtrlVolume | LocSoftware;
    if (!settings.IsNull()) {
        if (settings->IsGlobalFocus()) m_flags |= GlobalFocus;
        if (settings->IsCtrlPan()) m_flags |= CtrlPan;
        if (settings->IsCtrlFrequency()) m_flags |= CtrlFrequency;
    }
    // Only linear PCM whose block is whole samples of every channel.
    if (!format || format->wFormatTag != WAVE_FORMAT_PCM ||
        format->nBlockAlign != format->nChannels * format->wBitsPerSample / 8)
        return 1;
    m_buffer = m_mixer->CreateBuffer({format->nSamplesPerSec, format->nChannels, format->wBitsPerSample}, size,
                                     zeroFill);
    if (!m_buffer) return 1;
    m_format = *format;
    m_format.nAvgBytesPerSec = m_buffer->Format().BytesPerSecond();
    m_format.cbSize = 0;
    return 0;
}

int CDirectSoundBuffer::GetStatus()
{
    if (!m_buffer) return BufferNone;
    switch (m_buffer->GetStatus()) {
    case platform::AudioBufferStatus::Lost: return BufferLost;
    case platform::AudioBufferStatus::Playing: return BufferPlaying;
    default: return BufferStopped;
    }
}

int CDirectSoundBuffer::GetFormat(WAVEFORMATEX* format)
{
    if (!m_buffer) return 1;
    if (!format) return 2;
    *format = m_format;
    return 0;
}

int CDirectSoundBuffer::SetCurrentPosition(std::uint32_t offset)
{
    if (!m_buffer) return 1;
    return m_buffer->SetCurrentPosition(offset) ? 0 : 2;
}

int CDirectSoundBuffer::GetCurrentPosition(std::uint32_t* play, std::uint32_t* write)
{
    if (!m_buffer) return 1;
    m_buffer->GetCurrentPosition(play, write);
    return 0;
}

int CDirectSoundBuffer::SetVolume(std::int32_t volume)
{
    if (!m_buffer) return 1;
    return m_buffer->SetVolume(volume) ? 0 : 2;
}

int CDirectSoundBuffer::GetVolume(std::int32_t* volume)
{
    if (!m_buffer) return 1;
    if (!volume) return 2;
    *volume = m_buffer->GetVolume();
    return 0;
}

int CDirectSoundBuffer::SetPan(std::int32_t pan)
{
    if (!m_buffer) return 1;
    return (m_flags & CtrlPan) && m_buffer->SetPan(pan) ? 0 : 2;
}

int CDirectSoundBuffer::GetPan(std::int32_t* pan)
{
    if (!m_buffer) return 1;
    if (!(m_flags & CtrlPan) || !pan) return 2;
    *pan = m_buffer->GetPan();
    return 0;
}

int CDirectSoundBuffer::SetFrequency(std::uint32_t rate)
{
    if (!m_buffer) return 1;
    return (m_flags & CtrlFrequency) && m_buffer->SetFrequency(rate) ? 0 : 2;
}

int CDirectSoundBuffer::GetFrequency(std::uint32_t* rate)
{
    if (!m_buffer) return 1;
    if (!(m_flags & CtrlFrequency) || !rate) return 2;
    const std::uint32_t frequency = m_buffer->GetFrequency();
    *rate = frequency ? frequency : m_format.nSamplesPerSec;
    return 0;
}

int CDirectSoundBuffer::Lock(std::uint32_t offset, std::uint32_t bytes, void** first, std::uint32_t* firstBytes,
                             void** second, std::uint32_t* secondBytes)
{
    if (!m_buffer) return 1;
    if (m_buffer->Lock(offset, bytes, first, firstBytes, second, secondBytes)) return 0;
    if (m_buffer->GetStatus() != platform::AudioBufferStatus::Lost) return 2;
    m_buffer->Restore();
    return m_buffer->Lock(offset, bytes, first, firstBytes, second, secondBytes) ? 0 : 2;
}

int CDirectSoundBuffer::Unlock(void* first, std::uint32_t, void*, std::uint32_t)
{
    if (!m_buffer) return 1;
    return first ? 0 : 2;
}

int CDirectSoundBuffer::Play(bool loop)
{
    if (!m_buffer) return 1;
    if (m_buffer->Play(loop)) return 0;
    return m_buffer->GetStatus() == platform::AudioBufferStatus::Lost ? 2 : 3;
}

int CDirectSoundBuffer::Stop()
{
    if (!m_buffer) return 1;
    m_buffer->Stop();
    return 0;
}

int CDirectSoundBuffer::Restore()
{
    if (!m_buffer) return 1;
    return m_buffer->Restore() ? 0 : 2;
}

void CDirectSoundBuffer::SetName(const CTextString& name)
{
    if (m_buffer) m_buffer->SetName(name.GetStr());
}

} // namespace kivotasuGameKit
