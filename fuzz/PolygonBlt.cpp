// Random polygons between random surfaces of the served pairs (and some that
// are not): every write and read must stay inside the two pixel buffers,
// which are allocated to their exact size.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "draw/effect/EffectBlitter.h"
#include "draw/polygon/PolygonBltParams.h"

using namespace kivotasuGameKit;

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Byte() { return size ? (--size, *data++) : 0; }
    std::int32_t Int32()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
        return std::int32_t(v);
    }
    // Mostly small coordinates around the surfaces, now and then any 32-bit one.
    std::int32_t Coordinate()
    {
        const std::uint8_t kind = Byte();
        return kind < 0xF0 ? std::int32_t(std::int8_t(Byte())) / 4 + std::int32_t(kind % 8) - 4 : Int32();
    }
};

struct Surface {
    Surface(std::int32_t type, int width, int height)
        : pitch(width * (BytesPerPixel(type) ? BytesPerPixel(type) : 1)),
          pixels(new std::uint8_t[std::size_t(pitch) * height + 1])
    {
        SIZE size{width, height};
        info.Init(pixels.get(), pitch, &size, SurfaceType(type));
    }
    std::int32_t pitch;
    std::unique_ptr<std::uint8_t[]> pixels;
    CSurfaceInfo info;
};

const std::int32_t kTypes[] = {RGB565, RGB555, RGB888, BGR888, XRGB8888, XBGR8888,
                               ARGB4565, ARGB4555, ARGB8888, ABGR8888, Pal8};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool tables = (CEffectBlitter::BuildBlendTables(), true);
    (void)tables;
    Reader in{data, size};
    const std::uint32_t modes[] = {0, 1, 10};
    const std::uint32_t mode = modes[in.Byte() % 3];
    const std::int32_t destinationType = kTypes[in.Byte() % std::size(kTypes)];
    const std::int32_t sourceType = kTypes[in.Byte() % std::size(kTypes)];
    Surface destination(destinationType, 1 + in.Byte() % 24, 1 + in.Byte() % 24);
    Surface source(sourceType, 1 + in.Byte() % 24, 1 + in.Byte() % 24);
    source.info.SetColorKey(std::uint32_t(in.Int32()));
    const int count = in.Byte() % 9;
    std::vector<POINT> sourcePoints(count), destinationPoints(count);
    for (int i = 0; i < count; ++i) {
        destinationPoints[i] = {in.Coordinate(), in.Coordinate()};
        sourcePoints[i] = {in.Coordinate(), in.Coordinate()};
    }
    RECT clip{in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()};
    const std::uint8_t options = in.Byte();
    PolygonBltParams params{sourcePoints.data(), destinationPoints.data(), options & 1 ? &clip : nullptr,
                            std::uint8_t(options & 2), count};
    // The rest of the input is pixel data.
    for (Surface* s : {&destination, &source})
        for (std::int32_t i = 0; i < s->pitch * s->info.GetHeight(); ++i) s->pixels[i] = in.Byte();
    destination.info.PolygonBlt(mode, &source.info, &params, 0);
    return 0;
}
