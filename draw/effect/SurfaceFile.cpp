// The two picture files a surface writes: a 24-bit BMP and the compressed
// surface file ("ovk").
#include <cstring>
#include <memory>
#include <vector>

#include "draw/effect/PixelConverter.h"
#include "draw/effect/SurfaceInfo.h"
#include "frame/file/File.h"
#include "frame/file/Lzss.h"

namespace kivotasuGameKit {

namespace {

void Put16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* p, uint32_t v)
{
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

} // namespace

int CSurfaceInfo::SaveBitmap(const std::string& fileName, const RECT* rect)
{
    RECT r;
    ClipRect(&r, rect);
    const int64_t w = int64_t(r.right) - r.left, h = int64_t(r.bottom) - r.top;
    if (w < 1 || h < 1) return -1;
    const int64_t rowSize = (3 * w + 3) & ~int64_t(3);
    const int64_t fileSize = 54 + h * rowSize;
    if (fileSize > INT32_MAX) return -1;
    CSurfaceLock lock(*this);
    if (!lock) return -1;

    // Zero-filled, so row padding (and rows the converter cannot serve) is 0.
    std::vector<uint8_t> file(size_t(fileSize), 0);
    uint8_t* p = file.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, uint32_t(fileSize));
    Put32(p + 10, 54);
    Put32(p + 14, 40);
    Put32(p + 18, uint32_t(w));
    Put32(p + 22, uint32_t(h));
    Put16(p + 26, 1);
    Put16(p + 28, 24);
    Put32(p + 38, 3780);
    Put32(p + 42, 3780);
    uint8_t* row = p + 54;
    for (int32_t y = r.bottom - 1; y >= r.top; --y, row += rowSize) {
        const uint8_t* source = GetPixelBytes() + ptrdiff_t(y) * m_pitch + ptrdiff_t(r.left) * GetBytesPerPixel();
        CPixelConverter::Convert(source, m_type, row, RGB888, int32_t(w));
    }
    CFile writer;
    return writer.Write(fileName, file.data(), uint32_t(fileSize));
}

int CSurfaceInfo::SaveCompressed(const std::string& fileName, const RECT* rect, bool compress)
{
    RECT r;
    ClipRect(&r, rect);
    const int64_t w = int64_t(r.right) - r.left, h = int64_t(r.bottom) - r.top;
    if (w < 1 || h < 1) return -1;
    const int64_t rawSize = w * h * 4;
    if (rawSize + 24 > INT32_MAX) return -1;
    CSurfaceLock lock(*this);
    if (!lock) return -1;

    // The surface's own memory serves only when its rows lie packed.
    std::vector<uint8_t> converted;
    const uint8_t* raw = GetPixelBytes();
    const bool whole = r.left == 0 && r.top == 0 && r.right == m_width && r.bottom == m_height;
    if (!(whole && m_type == ARGB8888 && m_pitch == w * 4)) {
        converted.assign(size_t(rawSize), 0);
        for (int32_t y = r.top; y < r.bottom; ++y) {
            const uint8_t* source = GetPixelBytes() + ptrdiff_t(y) * m_pitch + ptrdiff_t(r.left) * GetBytesPerPixel();
            CPixelConverter::Convert(source, m_type, converted.data() + (y - r.top) * w * 4, ARGB8888, int32_t(w));
        }
        raw = converted.data();
    }

    const uint8_t* stored = raw;
    uint32_t storedSize = uint32_t(rawSize), flag = 0;
    CSmartPtr<uint8_t> encoded;
    uint32_t encodedSize = 0;
    if (compress) {
        const auto codec = std::make_unique<CLZSS>();
        if (codec->Encode(raw, encoded, uint32_t(rawSize), &encodedSize) == 0) {
            stored = encoded.Get();
            storedSize = encodedSize;
            flag = 1;
        }
    }
    std::vector<uint8_t> file(24 + size_t(storedSize));
    std::memcpy(file.data(), "ovk", 4);
    Put32(&file[4], uint32_t(w));
    Put32(&file[8], uint32_t(h));
    Put32(&file[12], flag);
    Put32(&file[16], uint32_t(rawSize));
    Put32(&file[20], storedSize);
    std::memcpy(file.data() + 24, stored, storedSize);
    CFile writer;
    return writer.Write(fileName, file.data(), uint32_t(file.size()));
}

} // namespace kivotasuGameKit
