#include "draw/effect/PixelConverter.h"

#include <cstddef>
#include <utility>

#include "draw/effect/PixelFormat.h"

namespace kivotasuGameKit {

namespace {

using RunConverter = void (*)(const uint8_t* __restrict s, uint8_t* __restrict d, int32_t count);

template <SurfaceType D, SurfaceType S> void ConvertRun(const uint8_t* __restrict s, uint8_t* __restrict d, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        ConvertPixel<D, S>(d + ptrdiff_t(i) * PixelFormat<D>::Bytes, s + ptrdiff_t(i) * PixelFormat<S>::Bytes);
}

struct ConverterGrid {
    RunConverter cell[SurfaceTypeCount][SurfaceTypeCount]; // [source][destination]
};

template <std::size_t... I> consteval ConverterGrid MakeConverterGrid(std::index_sequence<I...>)
{
    ConverterGrid grid{};
    auto cell = [&]<std::size_t N>() {
        constexpr int32_t s = N / SurfaceTypeCount, d = N % SurfaceTypeCount;
        if constexpr (IsSurfaceType(s) && IsSurfaceType(d) && s != Pal8 && d != Pal8) {
            constexpr bool toAll = s == RGB555 || s == RGB888 || s == ARGB8888;
            if constexpr (s != ABGR8888 && (toAll || d == RGB888 || d == ARGB8888))
                grid.cell[s][d] = &ConvertRun<SurfaceType(d), SurfaceType(s)>;
        }
    };
    (cell.template operator()<I>(), ...);
    return grid;
}

constinit const ConverterGrid Converters =
    MakeConverterGrid(std::make_index_sequence<SurfaceTypeCount * SurfaceTypeCount>());

RunConverter Find(int32_t sourceType, int32_t destinationType)
{
    if (sourceType < 0 || sourceType >= SurfaceTypeCount || destinationType < 0 ||
        destinationType >= SurfaceTypeCount)
        return nullptr;
    return Converters.cell[sourceType][destinationType];
}

} // namespace

bool CPixelConverter::Serves(int32_t sourceType, int32_t destinationType)
{
    return Find(sourceType, destinationType) != nullptr;
}

int CPixelConverter::Convert(const void* source, SurfaceType sourceType, void* destination,
                             SurfaceType destinationType, int32_t count)
{
    const RunConverter run = Find(sourceType, destinationType);
    if (!run) return 1;
    run(static_cast<const uint8_t*>(source), static_cast<uint8_t*>(destination), count);
    return 0;
}

} // namespace kivotasuGameKit
