#include "sound/SwitchWaveSound.h"

#include "sound/WaveStaticSound.h"
#include "sound/WaveStreamSound.h"

namespace kivotasuGameKit {

CSwitchWaveSound::CSwitchWaveSound(CWaveOutput* output) : m_output(output)
{
    m_inner = MakeInner(false);
}

CSmartPtr<IWaveSound> CSwitchWaveSound::MakeInner(bool stream)
{
    if (stream) return CSmartPtr<IWaveSound>(new CWaveStreamSound(m_output));
    return CSmartPtr<IWaveSound>(new CWaveStaticSound(m_output));
}

void CSwitchWaveSound::SetStreamMode(bool stream)
{
    if (m_streamMode == stream) return;
    m_streamMode = stream;
    const CTextString name = m_inner->GetFileName();
    const bool loop = m_inner->IsLoopPlay();
    const std::int32_t volume = m_inner->GetVolume();
    const bool playing = m_inner->IsPlay();
    m_inner->Close();
    m_inner = MakeInner(stream);
    m_inner->SetLoopPlay(loop);
    m_inner->Open(name);
    if (playing) m_inner->Play();
    m_inner->SetVolume(volume);
}

int CSwitchWaveSound::Open(const CTextString& fileName)
{
    if (m_streamMode) return m_inner->Open(fileName);
    auto* held = static_cast<CWaveStaticSound*>(m_inner.Get());
    const int result = held->Load(fileName);
    if (result != CWaveStaticSound::NotHeld) return result;
    // The reader opened goes on streaming; only the loop flag carries over,
    // as no buffer was made to play or to have a volume.
    CSmartPtr<IWaveStream> stream = held->TakeUnheldStream();
    const bool loop = held->IsLoopPlay();
    auto* streamed = new CWaveStreamSound(m_output);
    m_inner.Reset(streamed);
    m_streamMode = true;
    streamed->SetLoopPlay(loop);
    return streamed->Load(fileName, stream);
}

int CSwitchWaveSound::Stop()
{
    m_savedVolume = m_inner->GetVolume();
    m_inner->Stop();
    m_inner->SetVolume(m_savedVolume);
    return 0;
}

} // namespace kivotasuGameKit
