#pragma once
// The timing of a Standard MIDI File: its division, every tempo change and
// its length in ticks, read from untrusted bytes. Converts between ticks and
// milliseconds, tempo changes included, in 64-bit arithmetic.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kivotasuGameKit {

class CMidiTempoMap {
public:
    // False for anything that is not a whole, well-formed SMF header with at
    // least one track; tracks cut short end where the bytes end.
    bool Read(const std::uint8_t* data, std::size_t size);

    std::int64_t GetLengthTicks() const { return m_lengthTicks; }
    std::int64_t GetLengthMs() const { return TicksToMs(m_lengthTicks); }
    // Rounded down; ticks beyond the length keep the last tempo.
    std::int64_t TicksToMs(std::int64_t ticks) const;
    // The first tick at or after ms, clamped to 0..the length.
    std::int64_t MsToTicks(std::int64_t ms) const;

private:
    struct Tempo {
        std::int64_t tick;
        std::int64_t microsPerQuarter;
        // Microseconds from the start to tick, times the division.
        std::int64_t scaledMicros;
    };
    // Microseconds times the division at tick.
    std::int64_t ScaledMicros(std::int64_t ticks) const;
    void ReadTrack(const std::uint8_t* data, std::size_t size, std::vector<Tempo>& changes);

    // Ticks per quarter note, or with SMPTE timing the ticks per second
    // (a fixed tempo of a million microseconds per "quarter").
    std::int64_t m_division = 0;
    std::vector<Tempo> m_tempos;
    std::int64_t m_lengthTicks = 0;
};

} // namespace kivotasuGameKit
