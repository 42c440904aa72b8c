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

platform::ReadResult ReadMidiFile(CFile& file, const CTextString& name, ReadFailure* failure)
{
    constexpr std::uint64_t bound = platform::MidiSynth::MaxFileBytes;
    std::uint64_t size = 0;
    ReadFailure failed = ReadFailure::None;
    const platform::ReadResult read = file.ReadAtMost(name.GetStr(), bound, size, &failed);
    if (failed == ReadFailure::OverBound) SayOverBound("シンセサイザがMIDIファイルを読めない: ", CFile::NormalizePath(name.GetStr()), size, bound);
    if (failure) *failure = failed;
    return read;
}

int CMidiSegment::Load(const std::uint8_t* data, std::uint32_t size, const std::string& name)
{
    m_sequence.reset();
    // Before the tempo map, which takes ten times the file's bytes.
    if (size > platform::MidiSynth::MaxFileBytes) return 3;
    if (!m_tempo.Read(data, size)) return 2;
    std::shared_ptr<platform::MidiSynth> synth = MidiSynthesizer();
    if (!synth) return 4;
    switch (synth->Load(std::vector<std::uint8_t>(data, data + size), name, m_tempo.GetLengthTicks(), m_sequence)) {
    case platform::MidiLoad::Loaded: return 0;
    case platform::MidiLoad::Refused: return 3;
    case platform::MidiLoad::NoPlayer: break;
    }
    return 4;
}

} // namespace kivotasuGameKit
