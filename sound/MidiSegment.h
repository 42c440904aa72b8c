#pragma once
// A MIDI file made ready for the synthesiser: its player and its tempo map,
// through which both MIDI outputs turn milliseconds into ticks and back.

#include <cstdint>
#include <memory>
#include <string>

#include "frame/TextString.h"
#include "frame/file/File.h"
#include "platform/MidiSynth.h"
#include "sound/MidiTempoMap.h"

namespace kivotasuGameKit {

// The process's synthesiser, its messages going to the error log; null
// without a sound device.
std::shared_ptr<platform::MidiSynth> MidiSynthesizer();

// Reads the MIDI file name into file, as ReadAtMost: a file larger than the
// synthesiser takes (OverBound) is refused before a byte of it is read, and
// said (SayOverBound).
platform::ReadResult ReadMidiFile(CFile& file, const CTextString& name, ReadFailure* failure = nullptr);

class CMidiSegment {
public:
    // 0 ready; 2 the data is no Standard MIDI File; 3 the synthesiser's reader
    // refuses it, or it is larger than the synthesiser takes; 4 the
    // synthesiser cannot take it, or there is none.
    int Load(const std::uint8_t* data, std::uint32_t size, const std::string& name);
    void Unload() { m_sequence.reset(); }
    bool IsLoaded() const { return m_sequence != nullptr; }

    platform::MidiSequence& Sequence() { return *m_sequence; }
    const CMidiTempoMap& Tempo() const { return m_tempo; }
    std::int32_t TicksToMs(std::int64_t ticks) const { return Clamp(m_tempo.TicksToMs(ticks)); }
    std::int32_t GetLengthMs() const { return Clamp(m_tempo.GetLengthMs()); }
    std::int32_t CurrentMs() { return TicksToMs(m_sequence->CurrentTick()); }

private:
    static std::int32_t Clamp(std::int64_t ms) { return ms > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(ms); }

    CMidiTempoMap m_tempo;
    std::unique_ptr<platform::MidiSequence> m_sequence;
};

} // namespace kivotasuGameKit
