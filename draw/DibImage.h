#pragma once

#include <cstddef>
#include <cstdint>

#include "draw/effect/SurfaceInfo.h"

namespace kivotasuGameKit {

// A device-independent bitmap: its info header with the colour table and its
// pixel rows, both in buffers of known size (a BMP file, a plug-in's answer).
// Only bottom-up bitmaps of sane sizes whose rows lie inside their buffer are
// taken; every byte read is inside the buffers.
struct DibView {
    enum Compression : uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = Rgb;
    uint32_t masks[3] = {}; // red, green, blue of BitFields
    const uint8_t* colours = nullptr; // blue, green, red, spare quads
    uint32_t colourCount = 0;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    size_t rowSize = 0; // 4-byte aligned

    // False for anything but such a bitmap.
    static bool Parse(const uint8_t* info, size_t infoSize, const uint8_t* bits, size_t bitsSize, DibView& out);
    // A BMP file: "BM", the info header at 14, the rows at the offset stored at 10.
    static bool ParseFile(const uint8_t* file, size_t size, DibView& out);

    // Draws the bitmap upright at (0, 0) of the record, clipped to it, in the
    // record's type; false for a type that cannot be drawn (Pal8).
    bool Draw(CSurfaceInfo& target) const;
};

} // namespace kivotasuGameKit
