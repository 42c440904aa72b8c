#include "sound/WaveStaticSound.h"

#include <algorithm>

#include "frame/ErrorLog.h"
#include "platform/CloseLatch.h"
#include "sound/PauseCount.h"
#include "sound/WaveOutput.h"

namespace kivotasuGameKit {

namespace {

constexpr std::uint32_t DecodePieceBytes = 1 << 20;

} // namespace

CWaveStaticSound::CWaveStaticSound(CWaveOutput* output) : m_buffer(new CNullSoundBuffer), m_output(output)
{
    m_output->AddSound(this);
}

CWaveStaticSound::~CWaveStaticSound()
{
    CloseBuffer();
    m_output->RemoveSound(this);
}

int CWaveStaticSound::Load(const CTextString& name)
{
    CloseBuffer();
    m_fileName = name;
    if (name.IsEmpty()) return 0;
    CSmartPtr<CWaveSoundSettings> settings = m_output->GetSettings();
    CSmartPtr<IWaveStream> stream = settings->GetStreamFactory()->CreateStream(name);
    const WAVEFORMATEX* format = stream->GetFormat();
    if (!format) return 0;
    const std::int64_t wanted = static_cast<std::int64_t>(stream->GetLength()) * format->nAvgBytesPerSec / 1000;
    // A buffer made to an estimate would cut the sound short or end it in
    // silence, which a loop hears as a gap: a length not counted streams.
    if (wanted > static_cast<std::int64_t>(MostHeldBytes) || !stream->IsLengthCounted()) {
        m_unheld = stream;
        return NotHeld;
    }
    const auto size = static_cast<std::uint32_t>(wanted);

    m_buffer = m_output->CreateBuffer();
    if (m_buffer->Create(format, size, false, settings) != 0) {
        ErrorLog.Out("CWaveStaticSound::Load サウンドバッファの作成に失敗！");
        m_buffer.Reset(new CNullSoundBuffer);
        return 1;
    }
    m_buffer->SetName(name);
    void* data = nullptr;
    std::uint32_t bytes = 0;
    if (m_buffer->Lock(0, size, &data, &bytes, nullptr, nullptr) != 0) {
        ErrorLog.Out("CWaveStaticSound::Load GetBuffer()->Lock()に失敗！");
        return 2;
    }
    // In pieces, so that a close cuts a long decode short.
    for (std::uint32_t filled = 0; filled < bytes;) {
        if (filled > 0 && platform::CloseAsked()) {
            m_buffer->Unlock(data, bytes, nullptr, 0);
            CloseBuffer();
            return 0;
        }
        const std::uint32_t asked = std::min(bytes - filled, DecodePieceBytes);
        const std::uint32_t got = stream->Read(static_cast<std::uint8_t*>(data) + filled, asked);
        if (got > asked) {
            ErrorLog.Out("CWaveStaticSound::Load stream->Read()に失敗！");
            m_buffer->Unlock(data, bytes, nullptr, 0);
            return 3;
        }
        if (got == 0) break;
        filled += got;
    }
    if (m_buffer->Unlock(data, bytes, nullptr, 0) != 0) {
        ErrorLog.Out("CWaveStaticSound::Load GetBuffer()->Unlock()に失敗！");
        return 4;
    }
    WAVEFORMATEX own;
    m_bytesPerSecond = m_buffer->GetFormat(&own) == 0 ? own.nAvgBytesPerSec : 0;
    m_length = m_bytesPerSecond ? static_cast<std::int32_t>(std::uint64_t{size} * 1000 / m_bytesPerSecond) : 0;
    return 0;
}

CSmartPtr<IWaveStream> CWaveStaticSound::TakeUnheldStream()
{
    CSmartPtr<IWaveStream> stream = m_unheld;
    m_unheld.Release();
    return stream;
}

int CWaveStaticSound::CloseBuffer()
{
    if (IsPlay()) Stop();
    m_buffer.Reset(new CNullSoundBuffer);
    m_unheld.Release();
    m_fileName.Clear();
    m_bytesPerSecond = 0;
    return 0;
}

int CWaveStaticSound::Play()
{
    m_pauseCount = 0;
    m_buffer->SetCurrentPosition(0);
    if (m_buffer->GetStatus() == BufferPlaying) {
        m_buffer->Stop();
        m_buffer->SetCurrentPosition(0);
    }
    if (m_buffer->Play(m_loop) == 0) return 0;
    if (m_buffer->GetStatus() == BufferLost) return RestoreBuffer();
    ErrorLog.Out("CWaveStaticSound::Play GetBuffer()->Play()に失敗！");
    return 1;
}

int CWaveStaticSound::Pause()
{
    m_pauseCount = PauseCountStep(m_pauseCount);
    if (!IsPlay()) return 0;
    m_pauseCount = 1;
    return m_buffer->Stop();
}

int CWaveStaticSound::Replay()
{
    if (m_pauseCount == 0) return 0;
    if (--m_pauseCount != 0) return 0;
    return m_buffer->Play(m_loop);
}

int CWaveStaticSound::Stop()
{
    if (!IsPlay()) return 0;
    const int result = m_buffer->Stop();
    m_buffer->SetCurrentPosition(0);
    return result;
}

bool CWaveStaticSound::IsPlay()
{
    return m_buffer->GetStatus() == BufferPlaying;
}

int CWaveStaticSound::SetLoopPlay(bool loop)
{
    m_loop = loop;
    return 0;
}

int CWaveStaticSound::SetCurrentPos(std::int32_t ms)
{
    if (m_bytesPerSecond == 0) return -1;
    return m_buffer->SetCurrentPosition(static_cast<std::uint32_t>(static_cast<std::int64_t>(ms) * m_bytesPerSecond / 1000));
}

std::int32_t CWaveStaticSound::GetCurrentPos()
{
    std::uint32_t play = 0;
    if (m_bytesPerSecond == 0 || m_buffer->GetCurrentPosition(&play, nullptr) != 0) return -1;
    return static_cast<std::int32_t>(std::uint64_t{play} * 1000 / m_bytesPerSecond);
}

int CWaveStaticSound::SetVolume(std::int32_t volume)
{
    return m_buffer->SetVolume(volume);
}

std::int32_t CWaveStaticSound::GetVolume()
{
    std::int32_t volume = 0;
    if (m_buffer->GetVolume(&volume) == 0) return volume;
    ErrorLog.Out("CWaveStaticSound::GetVolumeに失敗");
    return 0;
}

int CWaveStaticSound::RestoreBuffer()
{
    if (m_buffer->GetStatus() != BufferLost) return 0;
    m_buffer->Restore();
    if (m_fileName.IsEmpty()) return 0;
    const CTextString name = m_fileName;
    return Load(name);
}

} // namespace kivotasuGameKit
