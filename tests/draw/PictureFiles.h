#pragma once
// Picture files built byte by byte for the loader tests, with every header
// field open to damage, and the loader's file made from them in memory.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame/file/File.h"
#include "frame/file/Lzss.h"
#include "tests/kit/pixel/TestSurface.h"

namespace picturekit {

using Bytes = std::vector<uint8_t>;
// A colour 0xRRGGBB (or 0xAARRGGBB) of pixel (x, y), y from the top.
using Pattern = std::function<uint32_t(int x, int y)>;

inline void Put16(Bytes& b, size_t at, uint32_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

inline void Put32(Bytes& b, size_t at, uint32_t v)
{
    Put16(b, at, v);
    Put16(b, at + 2, v >> 16);
}

// Distinct colours so that a flipped, shifted or mirrored picture shows.
inline uint32_t Gradient(int x, int y) { return (uint32_t(x * 40 + 8) << 16) | (uint32_t(y * 50 + 16) << 8) | uint32_t(200 - x * 9 - y * 7); }

struct Bmp {
    int32_t width = 4;
    int32_t height = 3;
    uint16_t bits = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> palette;  // 0xRRGGBB
    std::vector<uint32_t> masks;    // behind the header (bit fields)
    Bytes rows;                     // as stored, bottom row first
};

// The file of a bitmap; the offset is that of the rows unless given.
inline Bytes MakeBmp(const Bmp& bmp, int64_t offset = -1)
{
    const size_t tableSize = bmp.masks.size() * 4 + bmp.palette.size() * 4;
    const size_t rowsAt = 54 + tableSize;
    Bytes file(rowsAt + bmp.rows.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, uint32_t(file.size()));
    Put32(file, 10, uint32_t(offset < 0 ? int64_t(rowsAt) : offset));
    Put32(file, 14, 40);
    Put32(file, 18, uint32_t(bmp.width));
    Put32(file, 22, uint32_t(bmp.height));
    Put16(file, 26, 1);
    Put16(file, 28, bmp.bits);
    Put32(file, 30, bmp.compression);
    Put32(file, 46, uint32_t(bmp.palette.size()));
    size_t at = 54;
    for (uint32_t mask : bmp.masks) Put32(file, at, mask), at += 4;
    for (uint32_t colour : bmp.palette) Put32(file, at, colour), at += 4;
    std::copy(bmp.rows.begin(), bmp.rows.end(), file.begin() + ptrdiff_t(rowsAt));
    return file;
}

inline size_t RowSize(int width, int bits) { return ((size_t(width) * bits + 31) / 32) * 4; }

// A 24-bit bitmap of the pattern.
inline Bmp Bmp24(int width, int height, const Pattern& pattern = Gradient)
{
    Bmp bmp{width, height, 24, 0, {}, {}, Bytes(RowSize(width, 24) * height, 0)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = pattern(x, y);
            uint8_t* cell = bmp.rows.data() + RowSize(width, 24) * (height - 1 - y) + x * 3;
            cell[0] = uint8_t(c), cell[1] = uint8_t(c >> 8), cell[2] = uint8_t(c >> 16);
        }
    return bmp;
}

// A bitmap of palette indexes (1, 4 or 8 bits) of index(x, y).
inline Bmp IndexedBmp(int width, int height, uint16_t bits, std::vector<uint32_t> palette,
                      const std::function<uint32_t(int, int)>& index)
{
    Bmp bmp{width, height, bits, 0, std::move(palette), {}, Bytes(RowSize(width, bits) * height, 0)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t bit = size_t(x) * bits;
            uint8_t& byte = bmp.rows[RowSize(width, bits) * (height - 1 - y) + bit / 8];
            byte |= uint8_t(index(x, y) << (8 - bits - bit % 8));
        }
    return bmp;
}

// The compressed surface file of ARGB pixels, LZSS-coded when asked.
inline Bytes MakeOvk(int width, int height, const Pattern& pattern, bool compress)
{
    Bytes raw(size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) Put32(raw, (size_t(y) * width + x) * 4, pattern(x, y));
    Bytes stored = raw;
    if (compress) {
        kivotasuGameKit::CLZSS codec;
        kivotasuGameKit::CSmartPtr<uint8_t> encoded;
        uint32_t size = 0;
        if (codec.Encode(raw.data(), encoded, uint32_t(raw.size()), &size) != 0) return {};
        stored.assign(encoded.Get(), encoded.Get() + size);
    }
    Bytes file(24 + stored.size());
    std::copy_n("ovk", 4, file.begin());
    Put32(file, 4, uint32_t(width));
    Put32(file, 8, uint32_t(height));
    Put32(file, 12, compress ? 1 : 0);
    Put32(file, 16, uint32_t(raw.size()));
    Put32(file, 20, uint32_t(stored.size()));
    std::copy(stored.begin(), stored.end(), file.begin() + 24);
    return file;
}

// The loader's file over bytes that stay the caller's, named with a suffix.
inline void ReadFromMemory(kivotasuGameKit::CFile& file, const Bytes& bytes, const char* suffix = "")
{
    const kivotasuGameKit::CMemoryName name(bytes.data(), bytes.size(), suffix);
    file.Read(name.Get(), kivotasuGameKit::FileKind::Picture);
}

// What a pixel of the colour reads as in a surface of the type: opaque, or
// with the 8-bit alpha of an ARGB colour.
inline uint32_t Expected(int32_t type, uint32_t colour, bool withAlpha = false)
{
    pixelkit::RefPixel p;
    p.r = int((colour >> 16) & 0xFF), p.g = int((colour >> 8) & 0xFF), p.b = int(colour & 0xFF);
    if (withAlpha) p.kind = pixelkit::RefPixel::Eight, p.alpha = int(colour >> 24);
    uint8_t cell[4] = {};
    pixelkit::RefWrite(type, cell, p);
    return pixelkit::RefValue(type, cell);
}

// Every pixel shows the pattern, and nothing was written beside the pixels.
inline ::testing::AssertionResult Shows(pixelkit::TestSurface& s, const Pattern& pattern, bool withAlpha = false)
{
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) {
            const uint32_t want = Expected(s.Type(), pattern(x, y), withAlpha);
            const uint32_t got = pixelkit::RefValue(s.Type(), s.Cell(x, y));
            if (want != got)
                return ::testing::AssertionFailure() << pixelkit::TypeName(s.Type()) << " pixel (" << x << ", " << y
                                                     << "): want " << std::hex << want << ", got " << got;
        }
    const size_t rowBytes = size_t(s.Width()) * s.CellBytes();
    for (size_t i = 0; i < s.Bytes().size(); ++i) {
        const long row = long(i / size_t(s.Pitch())) - 1;
        const long inRow = long(i % size_t(s.Pitch())) - pixelkit::TestSurface::kGuard;
        const bool pixel = row >= 0 && row < s.Height() && inRow >= 0 && size_t(inRow) < rowBytes;
        if (!pixel && s.Bytes()[i] != 0)
            return ::testing::AssertionFailure() << "guard byte " << i << " written";
    }
    return ::testing::AssertionSuccess();
}

} // namespace picturekit
