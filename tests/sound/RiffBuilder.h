#pragma once

// RIFF files written byte by byte, so the tests can lay chunks out any way a
// real or broken file might: odd sizes, chunks in any order, sizes that lie.
#include <cstdint>
#include <string>
#include <vector>

namespace riff {

inline std::string Le16(std::uint32_t v) { return {char(v & 0xFF), char(v >> 8 & 0xFF)}; }
inline std::string Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

// One chunk: id, size field (the body's size unless told otherwise), body and
// the pad byte behind an odd body.
inline std::string Chunk(const std::string& id, const std::string& body, std::int64_t sizeField = -1)
{
    std::string out = id + Le32(sizeField < 0 ? std::uint32_t(body.size()) : std::uint32_t(sizeField)) + body;
    if (body.size() & 1) out += '\0';
    return out;
}

inline std::string Riff(const std::vector<std::string>& chunks, const std::string& form = "WAVE")
{
    std::string body = form;
    for (const std::string& chunk : chunks) body += chunk;
    return Chunk("RIFF", body);
}

struct Format {
    std::uint16_t tag = 1;
    std::uint16_t channels = 2;
    std::uint32_t rate = 44100;
    std::uint16_t bits = 16;
    std::uint16_t blockAlign() const { return std::uint16_t(channels * bits / 8); }
    std::uint32_t avg() const { return rate * blockAlign(); }
};

// The 16-byte PCM record, with extra bytes behind it when given.
inline std::string Fmt(const Format& f, const std::string& extra = {})
{
    return Chunk("fmt ", Le16(f.tag) + Le16(f.channels) + Le32(f.rate) + Le32(f.avg()) + Le16(f.blockAlign())
                             + Le16(f.bits) + extra);
}

// Data bytes that tell their own offset: byte i is i mod 251.
inline std::string Ramp(std::size_t n)
{
    std::string out(n, '\0');
    for (std::size_t i = 0; i < n; ++i) out[i] = char(i % 251);
    return out;
}

inline std::string PcmWave(const Format& f, const std::string& data, const std::vector<std::string>& after = {})
{
    std::vector<std::string> chunks{Fmt(f), Chunk("data", data)};
    chunks.insert(chunks.end(), after.begin(), after.end());
    return Riff(chunks);
}

// A LIST "INFO" chunk whose sub-chunk sizes run past it and wrap round:
// libsndfile 1.2.0's header parser never leaves it.
inline std::string WildList()
{
    return "LIST" + Le32(0x2011) + "INFO" + "ISFT" + Le32(5) + std::string(47, '\xFF') + std::string(3, '\0') + "\xF8"
           + std::string(27, '\xFF') + "ool!" + std::string(1, '\0');
}

// The 247-byte file that hung the player: "PCM" of 3 channels in a block of
// one byte, a RIFF size that ends inside the wild LIST behind its data.
inline std::string WildListWave()
{
    return "RIFF" + Le32(0xA2) + "WAVE"
           + Chunk("fmt ", Le16(1) + Le16(3) + Le32(8000) + Le32(8000) + Le16(1) + Le16(8))
           + Chunk("data", Ramp(99)) + WildList();
}

// A second of silence in the format, the wild LIST behind it.
inline std::string WildListBehind(const Format& f) { return PcmWave(f, std::string(f.avg(), '\0'), {WildList()}); }

} // namespace riff
