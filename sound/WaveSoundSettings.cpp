#include "sound/WaveSoundSettings.h"

namespace kivotasuGameKit {

CWaveSoundSettings::CWaveSoundSettings() : m_streamFactory(new CWaveStreamFactory) {}

void CWaveSoundSettings::MakeDefault(CSmartPtr<CWaveSoundSettings>& settings)
{
    settings.Reset(new CWaveSoundSettings);
}

} // namespace kivotasuGameKit
