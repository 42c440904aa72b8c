#include "sound/DirectMusic.h"

#include <algorithm>
#include <cmath>

#include "sound/MidiSegment.h"

namespace kivotasuGameKit {

CDirectMusic::CDirectMusic(CDirectSound*) : m_synth(MidiSynthesizer())
{
    if (!m_synth) m_status = 2;
}

float CDirectMusic::MasterGain() const
{
    return static_cast<float>(std::pow(10.0, std::clamp(m_volume, -10000, 0) / 2000.0));
}

bool CDirectMusic::CanUseDirectMusic()
{
    return MidiSynthesizer() != nullptr;
}

} // namespace kivotasuGameKit
