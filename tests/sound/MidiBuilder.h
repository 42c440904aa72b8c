#pragma once
// Standard MIDI Files for the tests, event by event.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace midi {

class Track {
public:
    // One event delta ticks after the previous one.
    Track& Event(std::uint32_t delta, std::vector<std::uint8_t> bytes)
    {
        Number(delta);
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Track& Tempo(std::uint32_t delta, std::uint32_t microsPerQuarter)
    {
        return Event(delta, {0xFF, 0x51, 0x03, std::uint8_t(microsPerQuarter >> 16), std::uint8_t(microsPerQuarter >> 8),
                             std::uint8_t(microsPerQuarter)});
    }
    Track& Program(std::uint32_t delta, std::uint8_t channel, std::uint8_t program)
    {
        return Event(delta, {std::uint8_t(0xC0 | channel), program});
    }
    // A note held for length ticks.
    Track& Note(std::uint32_t delta, std::uint8_t channel, std::uint8_t key, std::uint32_t length,
                std::uint8_t velocity = 100)
    {
        Event(delta, {std::uint8_t(0x90 | channel), key, velocity});
        return Event(length, {std::uint8_t(0x80 | channel), key, 0});
    }
    Track& End(std::uint32_t delta = 0) { return Event(delta, {0xFF, 0x2F, 0x00}); }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    void Number(std::uint32_t value)
    {
        std::uint8_t groups[4];
        int count = 0;
        do {
            groups[count++] = value & 0x7F;
            value >>= 7;
        } while (value && count < 4);
        while (count-- > 0) m_bytes.push_back(std::uint8_t(groups[count] | (count ? 0x80 : 0)));
    }
    std::vector<std::uint8_t> m_bytes;
};

inline void BigEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) out.push_back(char(value >> (8 * i)));
}

// Format 1 (0 with one track), division ticks per quarter note.
inline std::string File(std::uint16_t division, const std::vector<Track>& tracks)
{
    std::string out = "MThd";
    BigEndian(out, 6, 4);
    BigEndian(out, tracks.size() == 1 ? 0 : 1, 2);
    BigEndian(out, static_cast<std::uint32_t>(tracks.size()), 2);
    BigEndian(out, division, 2);
    for (const Track& track : tracks) {
        out += "MTrk";
        BigEndian(out, static_cast<std::uint32_t>(track.Bytes().size()), 4);
        out.append(track.Bytes().begin(), track.Bytes().end());
    }
    return out;
}

inline std::string Bytes(std::initializer_list<int> bytes)
{
    std::string out;
    for (int byte : bytes) out.push_back(char(byte));
    return out;
}

// One track of raw bytes under a header of any track count and division,
// the track length the body's unless given: for damaged files.
inline std::string RawFile(const std::string& body, std::uint16_t tracks = 1, std::uint16_t division = 480,
                           std::uint32_t length = 0)
{
    std::string out = "MThd";
    BigEndian(out, 6, 4);
    BigEndian(out, 0, 2);
    BigEndian(out, tracks, 2);
    BigEndian(out, division, 2);
    out += "MTrk";
    BigEndian(out, length ? length : static_cast<std::uint32_t>(body.size()), 4);
    return out + body;
}

} // namespace midi
