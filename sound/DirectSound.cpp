#include "sound/DirectSound.h"

#include "frame/ErrorLog.h"
#include "platform/AudioOutput.h"

namespace kivotasuGameKit {

namespace {
constexpr int NormalLevel = 1;
}

CDirectSound::CDirectSound() : m_mixer(platform::Audio().Mixer())
{
    if (m_mixer) {
        SetCooperativeLevel(NormalLevel);
        return;
    }
    ErrorLog.Out("CDirectSound::CDirectSound() objectの作成に失敗");
    m_status = 1;
}

CDirectSound::~CDirectSound()
{
    SetCooperativeLevel(NormalLevel);
}

int CDirectSound::SetCooperativeLevel(int level)
{
    if (m_status == 0) return 0;
    ErrorLog.Out("CDirectSound::SetCooperativeLevel(%d) DirectSoundの初期化に失敗している", level);
    return 1;
}

bool CDirectSound::CanUseDirectSound()
{
    return platform::Audio().Mixer() != nullptr;
}

} // namespace kivotasuGameKit
