#include "sound/MidiSegment.h"

#include <mutex>

#include "frame/ErrorLog.h"

namespace kivotasuGameKit {

std::shared_ptr<platform::MidiSynth> MidiSynthesizer()
{
    static std::once_flag logged;
    std::call_once(logged, [] { platform::MidiSynth::SetLog([](const std::string& line) { ErrorLog.Out("%s", line.c_str()); }); });
    return platform::MidiSynth::Get();
}

bool CMidiSegment::Load(const std::uint8_t* data, std::uint32_t size, const std::string& name)
{
    m_sequence.reset();
    if (!m_tempo.Read(data, size)) return false;
    std::shared_ptr<platform::MidiSynth> synth = MidiSynthesizer();
    if (!synth) return false;
    m_sequence = synth->Load(std::vector<std::uint8_t>(data, data + size), name, m_tempo.GetLengthTicks());
    return true;
}

} // namespace kivotasuGameKit
