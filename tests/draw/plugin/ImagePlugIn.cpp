// An image plug-in for the loader tests. Its format "QPIC": the magic, width
// and height (32-bit), a behaviour byte, three spare bytes, then the rows top
// first, three bytes (red, green, blue) a pixel. Behaviour 1 answers with a
// header that claims twice the rows it hands out; 2 refuses to decode.
#include "draw/ImagePlugIn.h"

#include <cstring>
#include <new>

namespace {

constexpr uint32_t HeaderSize = 16;

uint32_t Read32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void Put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

bool Parse(const uint8_t* data, uint32_t size, uint32_t* width, uint32_t* height, uint8_t* behaviour)
{
    if (size < HeaderSize || std::memcmp(data, "QPIC", 4) != 0) return false;
    *width = Read32(data + 4);
    *height = Read32(data + 8);
    *behaviour = data[12];
    return *width > 0 && *height > 0 && *width <= 4096 && *height <= 4096
           && uint64_t(size) >= HeaderSize + uint64_t(*width) * *height * 3;
}

ImagePlugInBuffer* NewBuffer(uint32_t size)
{
    auto* bytes = new (std::nothrow) uint8_t[size]();
    auto* buffer = new (std::nothrow) ImagePlugInBuffer{bytes, size};
    if (!bytes || !buffer) {
        delete[] bytes;
        delete buffer;
        return nullptr;
    }
    return buffer;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t IsSupported(const char*, const uint8_t* data)
{
    return std::memcmp(data, "QPIC", 4) == 0;
}

__attribute__((visibility("default"))) int32_t GetPictureInfo(const uint8_t* data, uint32_t size, uint32_t,
                                                              ImagePlugInInfo* info)
{
    uint32_t width, height;
    uint8_t behaviour;
    if (!Parse(data, size, &width, &height, &behaviour)) return 1;
    *info = {0, 0, int32_t(width), int32_t(height)};
    return 0;
}

__attribute__((visibility("default"))) int32_t GetPicture(const uint8_t* data, uint32_t size, uint32_t,
                                                          ImagePlugInBuffer** info, ImagePlugInBuffer** bits,
                                                          ImagePlugInProgress, intptr_t)
{
    uint32_t width, height;
    uint8_t behaviour;
    if (!Parse(data, size, &width, &height, &behaviour) || behaviour == 2) return 1;
    const uint32_t rowSize = (width * 3 + 3) & ~3u;
    *info = NewBuffer(40);
    *bits = NewBuffer(rowSize * height);
    if (!*info || !*bits) return 1;
    uint8_t* header = (*info)->data;
    Put32(header, 40);
    Put32(header + 4, width);
    Put32(header + 8, behaviour == 1 ? height * 2 : height);
    header[12] = 1;
    header[14] = 24;
    uint8_t* rows = (*bits)->data;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* from = data + HeaderSize + size_t(y) * width * 3;
        uint8_t* to = rows + size_t(height - 1 - y) * rowSize;
        for (uint32_t x = 0; x < width; ++x) {
            to[x * 3] = from[x * 3 + 2];
            to[x * 3 + 1] = from[x * 3 + 1];
            to[x * 3 + 2] = from[x * 3];
        }
    }
    return 0;
}

__attribute__((visibility("default"))) void FreeBuffer(ImagePlugInBuffer* buffer)
{
    if (!buffer) return;
    delete[] buffer->data;
    delete buffer;
}

} // extern "C"
