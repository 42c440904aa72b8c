#include "sound/WaveOutput.h"

#include <algorithm>

#include "frame/AppManager.h"
#include "frame/Exceptions.h"
#include "sound/DirectSound.h"
#include "sound/IWaveSound.h"

namespace kivotasuGameKit {

namespace {
constexpr int StaticWaveType = 3;
constexpr int StreamWaveType = 4;
} // namespace

CWaveOutput::CWaveOutput()
{
    CWaveSoundSettings::MakeDefault(m_settings);
}

void CWaveOutput::SetSettings(const CSmartPtr<CWaveSoundSettings>& settings)
{
    if (settings.Get() != m_settings.Get()) m_settings = settings;
}

int CWaveOutput::AddSound(ISound* sound)
{
    // Streaming sounds too: a ring lost while the application was away comes
    // back only through this list.
    const int type = sound->GetType();
    if (type != StaticWaveType && type != StreamWaveType) return 1;
    m_sounds.push_back(sound);
    return 0;
}

int CWaveOutput::RemoveSound(ISound* sound)
{
    auto found = std::find(m_sounds.begin(), m_sounds.end(), sound);
    if (found == m_sounds.end()) return 1;
    m_sounds.erase(found);
    return 0;
}

CWaveOutputDirectSound::CWaveOutputDirectSound(CDirectSound* directSound) : m_directSound(directSound)
{
    if (!directSound) throw KTL::CSyntaxException("引数がNULLなのでCWaveOutputDirectSoundのコンストラクトが出来ません");
    CAppManager::GetInstance()->Hook(this);
}

CWaveOutputDirectSound::~CWaveOutputDirectSound()
{
    CAppManager::GetInstance()->Unhook(this);
}

CSmartPtr<ISoundBuffer> CWaveOutputDirectSound::CreateBuffer()
{
    if (m_directSound->GetStatus() != 0) return CSmartPtr<ISoundBuffer>(new CNullSoundBuffer);
    return CSmartPtr<ISoundBuffer>(new CDirectSoundBuffer(m_directSound->GetMixer()));
}

std::intptr_t CWaveOutputDirectSound::WndProc(platform::WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                              std::intptr_t)
{
    if (message != platform::WM_ACTIVATEAPP || wParam == 0) return 0;
    for (ISound* sound : GetSoundList()) static_cast<IWaveSound*>(sound)->RestoreBuffer();
    return 0;
}

} // namespace kivotasuGameKit
