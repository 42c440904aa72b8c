// LZSS streams: the first two bytes give the expanded size, the rest is the
// stream, decoded into a block of exactly that size. The whole input is also
// encoded and must decode to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "frame/file/Lzss.h"

using kivotasuGameKit::CLZSS;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static auto codec = std::make_unique<CLZSS>();
    if (size >= 2) {
        const std::uint32_t expanded = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8;
        auto stream = std::make_unique<std::uint8_t[]>(size - 2);
        std::memcpy(stream.get(), data + 2, size - 2);
        std::uint8_t* out = nullptr;
        const int result = codec->Decode(stream.get(), std::uint32_t(size - 2), &out, expanded, true);
        if (expanded == 0 ? result != 1 : result == 1) std::abort();
        delete[] out;
    }

    std::uint8_t* packed = nullptr;
    std::uint32_t packedSize = 0;
    if (codec->Encode(data, &packed, std::uint32_t(size), &packedSize, true) != 0) return 0;
    if (packedSize >= size - 8) std::abort();
    auto round = std::make_unique<std::uint8_t[]>(size);
    std::uint8_t* out = round.get();
    if (codec->Decode(packed, packedSize, &out, std::uint32_t(size), false) != 0 ||
        std::memcmp(round.get(), data, size) != 0)
        std::abort();
    delete[] packed;
    return 0;
}
