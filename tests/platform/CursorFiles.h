#pragma once
// Cursor files built byte by byte: bitmaps of 1 to 32 bits with their AND
// mask, .cur/.ico directories around them, and animated .ani files.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cursorkit {

using Bytes = std::vector<std::uint8_t>;
// 0xAARRGGBB of pixel (x, y), y from the top; alpha 0 is a masked pixel.
using Pattern = std::function<std::uint32_t(int x, int y)>;

inline void Put(Bytes& b, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) b.push_back(std::uint8_t(value >> (8 * i)));
}

inline void PutTag(Bytes& b, const char* tag)
{
    // Byte by byte: g++ 12 takes a ranged insert into a small vector for an overflow.
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(tag[i]));
}

// A two-colour palette (black, then the pattern's colour at (0, 0)) serves
// the indexed depths.
inline Bytes Dib(int width, int height, int bits, const Pattern& pattern, bool withMask = true)
{
    Bytes b;
    const std::uint32_t colours = bits <= 8 ? 2 : 0;
    Put(b, 40, 4), Put(b, std::uint32_t(width), 4), Put(b, std::uint32_t(height * 2), 4), Put(b, 1, 2), Put(b, std::uint32_t(bits), 2);
    Put(b, 0, 4), Put(b, 0, 4), Put(b, 0, 4), Put(b, 0, 4), Put(b, colours, 4), Put(b, 0, 4);
    const std::uint32_t ink = pattern(0, 0) & 0xFFFFFF;
    if (colours) Put(b, 0, 4), Put(b, ink, 4);
    const std::size_t row = (std::size_t(width) * bits + 31) / 32 * 4, maskRow = (std::size_t(width) + 31) / 32 * 4;
    for (int y = height - 1; y >= 0; --y) {
        Bytes line(row, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = pattern(x, y);
            if (bits == 32) for (int i = 0; i < 4; ++i) line[std::size_t(x) * 4 + i] = std::uint8_t(c >> (8 * i));
            else if (bits == 24) for (int i = 0; i < 3; ++i) line[std::size_t(x) * 3 + i] = std::uint8_t(c >> (8 * i));
            else if ((c & 0xFFFFFF) == ink && (c >> 24)) line[std::size_t(x) * bits / 8] |= std::uint8_t(1 << (8 - bits - x * bits % 8));
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    if (!withMask) return b;
    for (int y = height - 1; y >= 0; --y) {
        Bytes line(maskRow, 0);
        for (int x = 0; x < width; ++x)
            if ((pattern(x, y) >> 24) == 0) line[std::size_t(x) / 8] |= std::uint8_t(0x80 >> (x % 8));
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

struct Entry {
    int width, height, hotX, hotY;
    Bytes image;
};

// type 2 a cursor, 1 an icon.
inline Bytes IconFile(const std::vector<Entry>& entries, int type = 2)
{
    Bytes b;
    Put(b, 0, 2), Put(b, std::uint32_t(type), 2), Put(b, std::uint32_t(entries.size()), 2);
    std::uint32_t offset = 6 + 16 * std::uint32_t(entries.size());
    for (const Entry& e : entries) {
        Put(b, std::uint32_t(e.width & 0xFF), 1), Put(b, std::uint32_t(e.height & 0xFF), 1), Put(b, 0, 2);
        Put(b, std::uint32_t(e.hotX), 2), Put(b, std::uint32_t(e.hotY), 2);
        Put(b, std::uint32_t(e.image.size()), 4), Put(b, offset, 4);
        offset += std::uint32_t(e.image.size());
    }
    for (const Entry& e : entries) b.insert(b.end(), e.image.begin(), e.image.end());
    return b;
}

inline void Chunk(Bytes& b, const char* tag, const Bytes& data)
{
    PutTag(b, tag), Put(b, std::uint32_t(data.size()), 4);
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1) b.push_back(0);
}

// An animated cursor of these icon files; rates and sequence when not empty.
inline Bytes Ani(const std::vector<Bytes>& frames, std::uint32_t steps, std::uint32_t jiffies,
                 const std::vector<std::uint32_t>& rates = {}, const std::vector<std::uint32_t>& sequence = {})
{
    Bytes header;
    Put(header, 36, 4), Put(header, std::uint32_t(frames.size()), 4), Put(header, steps, 4);
    for (int i = 0; i < 4; ++i) Put(header, 0, 4);
    Put(header, jiffies, 4), Put(header, sequence.empty() ? 1 : 3, 4);
    Bytes body;
    PutTag(body, "ACON");
    Chunk(body, "anih", header);
    auto list = [](const std::vector<std::uint32_t>& values) { Bytes b; for (auto v : values) Put(b, v, 4); return b; };
    if (!rates.empty()) Chunk(body, "rate", list(rates));
    if (!sequence.empty()) Chunk(body, "seq ", list(sequence));
    Bytes fram;
    PutTag(fram, "fram");
    for (const Bytes& frame : frames) Chunk(fram, "icon", frame);
    Chunk(body, "LIST", fram);
    Bytes file;
    Chunk(file, "RIFF", body);
    return file;
}

} // namespace cursorkit
