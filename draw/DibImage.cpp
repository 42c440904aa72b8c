#include "draw/DibImage.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "draw/effect/PixelConverter.h"
#include "platform/PictureDecoder.h"

namespace kivotasuGameKit {

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;

uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

bool ValidLayout(uint16_t bitCount, uint32_t compression)
{
    switch (compression) {
    case DibView::Rgb: return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
    case DibView::Rle8: return bitCount == 8;
    case DibView::Rle4: return bitCount == 4;
    case DibView::BitFields: return bitCount == 16 || bitCount == 32;
    default: return false;
    }
}

// One channel of a bit-field pixel as 8 bits: wider fields keep their top
// bits, narrower ones are shifted up without filling the low bits.
uint8_t Channel(uint32_t pixel, uint32_t mask)
{
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::countr_one(mask >> shift);
    const uint32_t value = (pixel & mask) >> shift;
    return uint8_t(width >= 8 ? value >> (width - 8) : value << (8 - width));
}

void PutColour(uint8_t* to, const uint8_t* quad)
{
    to[0] = quad[0];
    to[1] = quad[1];
    to[2] = quad[2];
}

// A row of palette indexes (1, 4 or 8 bits) or bit-field/32-bit pixels as
// RGB888 (blue, green, red).
void ExpandRow(const DibView& dib, const uint8_t* row, int count, uint8_t* out)
{
    static constexpr uint8_t Black[4] = {};
    for (int x = 0; x < count; ++x, out += 3) {
        switch (dib.bitCount) {
        case 1: case 4: case 8: {
            const int bitOffset = x * dib.bitCount;
            const uint32_t index = (row[bitOffset >> 3] >> (8 - dib.bitCount - (bitOffset & 7))) & ((1u << dib.bitCount) - 1);
            PutColour(out, index < dib.colourCount ? dib.colours + index * 4 : Black);
            break;
        }
        case 16: {
            const uint32_t pixel = Read16(row + x * 2);
            out[0] = Channel(pixel, dib.masks[2]);
            out[1] = Channel(pixel, dib.masks[1]);
            out[2] = Channel(pixel, dib.masks[0]);
            break;
        }
        default: {
            const uint8_t* cell = row + x * 4;
            if (dib.compression == DibView::BitFields) {
                const uint32_t pixel = Read32(cell);
                out[0] = Channel(pixel, dib.masks[2]);
                out[1] = Channel(pixel, dib.masks[1]);
                out[2] = Channel(pixel, dib.masks[0]);
            } else {
                PutColour(out, cell);
            }
            break;
        }
        }
    }
}

// Run-length rows into palette indexes of the part that is drawn (top row
// first); pixels the stream skips keep index 0. Reading stops at the end of
// the stream, at its end mark or at the first malformed code.
void ExpandRle(const DibView& dib, int width, int height, std::vector<uint8_t>& indexes)
{
    indexes.assign(size_t(width) * size_t(height), 0);
    const bool four = dib.compression == DibView::Rle4;
    int64_t x = 0, row = 0; // row counts from the bottom
    auto put = [&](uint32_t index) {
        const int64_t y = int64_t(dib.height) - 1 - row;
        if (x < width && y >= 0 && y < height) indexes[size_t(y) * size_t(width) + size_t(x)] = uint8_t(index);
        ++x;
    };
    const uint8_t* p = dib.bits;
    const uint8_t* end = dib.bits + dib.bitsSize;
    while (end - p >= 2 && row < dib.height) {
        const uint8_t count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(four ? (i & 1 ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (end - p < 2) return;
            x += p[0];
            row += p[1];
            p += 2;
        } else {
            const size_t bytes = four ? (value + 1) / 2 : value;
            const size_t padded = (bytes + 1) & ~size_t(1);
            if (size_t(end - p) < padded) return;
            for (int i = 0; i < value; ++i) put(four ? (i & 1 ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i]);
            p += padded;
        }
    }
}

} // namespace

bool DibView::Parse(const uint8_t* info, size_t infoSize, const uint8_t* bits, size_t bitsSize, DibView& out)
{
    if (!info || !bits || infoSize < InfoHeaderSize) return false;
    const uint32_t headerSize = Read32(info);
    if (headerSize < InfoHeaderSize || headerSize > infoSize) return false;

    DibView dib;
    dib.width = int32_t(Read32(info + 4));
    dib.height = int32_t(Read32(info + 8));
    dib.bitCount = Read16(info + 14);
    dib.compression = Read32(info + 16);
    // Top-down bitmaps (a negative height) are refused like every other oddity.
    if (!platform::IsAcceptedPictureSize(dib.width, dib.height)) return false;
    if (!ValidLayout(dib.bitCount, dib.compression)) return false;

    size_t tableAt = headerSize;
    if (dib.compression == BitFields) {
        // The masks follow the plain info header, or are part of a larger one.
        if (infoSize < InfoHeaderSize + 12) return false;
        for (int i = 0; i < 3; ++i) dib.masks[i] = Read32(info + InfoHeaderSize + 4 * i);
        if (headerSize == InfoHeaderSize) tableAt += 12;
    } else if (dib.bitCount == 16) {
        dib.masks[0] = 0x7C00;
        dib.masks[1] = 0x03E0;
        dib.masks[2] = 0x001F;
    }
    if (dib.bitCount <= 8) {
        const uint32_t most = 1u << dib.bitCount;
        const uint32_t used = Read32(info + 32);
        dib.colourCount = used == 0 ? most : std::min(used, most);
        if (infoSize - std::min(infoSize, tableAt) < size_t(dib.colourCount) * 4) return false;
        dib.colours = info + tableAt;
    }

    dib.rowSize = ((size_t(dib.width) * dib.bitCount + 31) / 32) * 4;
    if ((dib.compression == Rgb || dib.compression == BitFields) && dib.rowSize * size_t(dib.height) > bitsSize)
        return false;
    dib.bits = bits;
    dib.bitsSize = bitsSize;
    out = dib;
    return true;
}

bool DibView::ParseFile(const uint8_t* file, size_t size, DibView& out)
{
    if (!file || size < FileHeaderSize + InfoHeaderSize || file[0] != 'B' || file[1] != 'M') return false;
    const uint32_t offset = Read32(file + 10);
    if (offset >= size) return false;
    return Parse(file + FileHeaderSize, size - FileHeaderSize, file + offset, size - offset, out);
}

bool DibView::Draw(CSurfaceInfo& target) const
{
    const SurfaceType type = target.GetType();
    if (!CPixelConverter::Serves(RGB888, type)) return false;
    const int width = std::min(this->width, target.GetWidth());
    const int height = std::min(this->height, target.GetHeight());
    if (width <= 0 || height <= 0) return true;

    std::vector<uint8_t> expanded(size_t(width) * 3);
    std::vector<uint8_t> indexes;
    const bool runLength = compression == Rle8 || compression == Rle4;
    if (runLength) ExpandRle(*this, width, height, indexes);
    DibView indexed = *this;
    indexed.bitCount = 8;

    for (int y = 0; y < height; ++y) {
        uint8_t* to = target.GetPixelBytes() + ptrdiff_t(y) * target.GetPitch();
        if (runLength) {
            ExpandRow(indexed, indexes.data() + size_t(y) * size_t(width), width, expanded.data());
            CPixelConverter::Convert(expanded.data(), RGB888, to, type, width);
            continue;
        }
        const uint8_t* row = bits + size_t(this->height - 1 - y) * rowSize;
        if (compression == Rgb && bitCount == 24)
            CPixelConverter::Convert(row, RGB888, to, type, width);
        else if (compression == Rgb && bitCount == 16)
            CPixelConverter::Convert(row, RGB555, to, type, width);
        else {
            ExpandRow(*this, row, width, expanded.data());
            CPixelConverter::Convert(expanded.data(), RGB888, to, type, width);
        }
    }
    return true;
}

} // namespace kivotasuGameKit
