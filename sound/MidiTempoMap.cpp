#include "sound/MidiTempoMap.h"

#include <algorithm>
#include <limits>

namespace kivotasuGameKit {

namespace {

constexpr std::int64_t DefaultMicrosPerQuarter = 500000;
// Ticks past this end a track: the synthesiser counts ticks in an int.
constexpr std::int64_t MaxTick = std::numeric_limits<std::int32_t>::max();

std::uint32_t BigEndian(const std::uint8_t* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
    return value;
}

class TrackCursor {
public:
    TrackCursor(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_at >= m_size; }
    bool Byte(std::uint8_t& out)
    {
        if (AtEnd()) return false;
        out = m_data[m_at++];
        return true;
    }
    // A variable-length quantity of at most four bytes.
    bool Number(std::uint32_t& out)
    {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t byte;
            if (!Byte(byte)) return false;
            out = out << 7 | (byte & 0x7F);
            if (!(byte & 0x80)) return true;
        }
        return false;
    }
    // The next bytes, or null when fewer remain.
    const std::uint8_t* Take(std::uint32_t bytes)
    {
        if (bytes > m_size - m_at) return nullptr;
        const std::uint8_t* start = m_data + m_at;
        m_at += bytes;
        return start;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace

bool CMidiTempoMap::Read(const std::uint8_t* data, std::size_t size)
{
    m_division = 0;
    m_tempos.clear();
    m_lengthTicks = 0;
    if (size < 14 || BigEndian(data, 4) != 0x4D546864 /* MThd */) return false;
    const std::uint32_t headerSize = BigEndian(data + 4, 4);
    if (headerSize < 6 || headerSize > size - 8) return false;
    const std::uint32_t tracks = BigEndian(data + 10, 2);
    const std::uint32_t division = BigEndian(data + 12, 2);
    std::int64_t microsPerQuarter = DefaultMicrosPerQuarter;
    bool smpte = false;
    if (division & 0x8000) {
        // Frames per second (negative) and ticks per frame; 29 stands for 29.97.
        const int fps = -static_cast<std::int8_t>(division >> 8);
        const std::int64_t perFrame = division & 0xFF;
        if (fps <= 0 || perFrame == 0) return false;
        m_division = (fps == 29 ? 30 : fps) * perFrame;
        microsPerQuarter = fps == 29 ? 1001000 : 1000000;
        smpte = true;
    } else {
        m_division = division;
    }
    if (m_division == 0 || tracks == 0) {
        m_division = 0;
        return false;
    }

    std::vector<Tempo> changes;
    std::size_t at = 8 + static_cast<std::size_t>(headerSize);
    std::uint32_t found = 0;
    while (found < tracks && size - at >= 8) {
        const std::uint32_t id = BigEndian(data + at, 4);
        const std::size_t chunk = std::min<std::size_t>(BigEndian(data + at + 4, 4), size - at - 8);
        if (id == 0x4D54726B /* MTrk */) {
            ReadTrack(data + at + 8, chunk, changes);
            ++found;
        }
        at += 8 + chunk;
    }
    if (found == 0) {
        m_division = 0;
        return false;
    }
    if (smpte) changes.clear();
    std::stable_sort(changes.begin(), changes.end(), [](const Tempo& a, const Tempo& b) { return a.tick < b.tick; });

    m_tempos.push_back({0, microsPerQuarter, 0});
    for (const Tempo& change : changes) {
        Tempo& last = m_tempos.back();
        if (change.tick == last.tick) {
            last.microsPerQuarter = change.microsPerQuarter;
            continue;
        }
        const std::int64_t scaled = last.scaledMicros + (change.tick - last.tick) * last.microsPerQuarter;
        m_tempos.push_back({change.tick, change.microsPerQuarter, scaled});
    }
    return true;
}

void CMidiTempoMap::ReadTrack(const std::uint8_t* data, std::size_t size, std::vector<Tempo>& changes)
{
    TrackCursor track(data, size);
    std::int64_t tick = 0;
    std::uint8_t running = 0;
    while (!track.AtEnd()) {
        std::uint32_t delta;
        std::uint8_t status;
        if (!track.Number(delta) || !track.Byte(status)) return;
        if (tick + delta > MaxTick) return;
        tick += delta;
        if (status == 0xFF) {
            std::uint8_t type;
            std::uint32_t length;
            if (!track.Byte(type) || !track.Number(length)) return;
            const std::uint8_t* body = track.Take(length);
            if (!body) return;
            m_lengthTicks = std::max(m_lengthTicks, tick);
            if (type == 0x2F) return;
            // A tempo of 0 would stop time; such a change is skipped.
            if (type == 0x51 && length == 3 && BigEndian(body, 3) != 0)
                changes.push_back({tick, BigEndian(body, 3), 0});
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length;
            if (!track.Number(length) || !track.Take(length)) return;
            running = 0;
            m_lengthTicks = std::max(m_lengthTicks, tick);
            continue;
        }
        int dataBytes;
        if (status & 0x80) {
            if (status >= 0xF0) return; // system messages have no place in a file
            running = status;
            dataBytes = (status & 0xE0) == 0xC0 ? 1 : 2;
        } else {
            if (!running) return;
            dataBytes = (running & 0xE0) == 0xC0 ? 0 : 1; // the status byte was the first data byte
        }
        if (!track.Take(static_cast<std::uint32_t>(dataBytes))) return;
        m_lengthTicks = std::max(m_lengthTicks, tick);
    }
}

std::int64_t CMidiTempoMap::ScaledMicros(std::int64_t ticks) const
{
    auto after = std::upper_bound(m_tempos.begin(), m_tempos.end(), ticks,
                                  [](std::int64_t t, const Tempo& tempo) { return t < tempo.tick; });
    const Tempo& tempo = *(after - 1);
    return tempo.scaledMicros + (ticks - tempo.tick) * tempo.microsPerQuarter;
}

std::int64_t CMidiTempoMap::TicksToMs(std::int64_t ticks) const
{
    if (m_tempos.empty() || ticks <= 0) return 0;
    return ScaledMicros(std::min(ticks, MaxTick)) / m_division / 1000;
}

std::int64_t CMidiTempoMap::MsToTicks(std::int64_t ms) const
{
    if (m_tempos.empty() || ms <= 0) return 0;
    if (ms >= GetLengthMs()) return m_lengthTicks;
    const std::int64_t target = ms * 1000 * m_division;
    auto after = std::upper_bound(m_tempos.begin(), m_tempos.end(), target,
                                  [](std::int64_t t, const Tempo& tempo) { return t < tempo.scaledMicros; });
    const Tempo& tempo = *(after - 1);
    const std::int64_t ticks = tempo.tick + (target - tempo.scaledMicros + tempo.microsPerQuarter - 1) / tempo.microsPerQuarter;
    return std::min(ticks, m_lengthTicks);
}

} // namespace kivotasuGameKit
