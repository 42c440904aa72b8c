// Operation 0: copy with format conversion, one routine per served pair.
#include <cstring>

#include "draw/effect/BlitFrame.h"
#include "draw/effect/KeyCopyRows.h"
#include "draw/effect/PaletteTable.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/RoutineGrid.h"
#include "draw/effect/alpha/BlendFrame.h"

namespace kivotasuGameKit {

namespace {

// Whole cells as stored: a 1:1 row is one move.
template <SurfaceType T> struct SameFormat {
    void operator()(uint8_t* d, const uint8_t* s) const { std::memcpy(d, s, PixelFormat<T>::Bytes); }
    void Row(uint8_t* d, const uint8_t* s, int32_t width) const
    {
        std::memcpy(d, s, size_t(width) * PixelFormat<T>::Bytes);
    }
};

template <SurfaceType D, SurfaceType S>
int CopyRoutine(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate, const BltParams* request)
{
    if constexpr (D == Pal8) {
        return RunEffectBlit<1, 2>(source, destination, request,
                                   [](uint8_t* d, const uint8_t* s) { *d = PaletteTable[LoadWord(s) & 0x7FFF]; });
    } else if constexpr (D == S && PixelFormat<D>::RawBytes == PixelFormat<D>::Bytes) {
        return RunEffectBlit<PixelFormat<D>::Bytes, PixelFormat<D>::Bytes>(source, destination, request, SameFormat<D>());
    } else if constexpr (Is32<D> && Is32<S>) {
        return Blend::RunBlend<D, S>(source, destination, request,
                                     [](uint8_t* d, const uint8_t* s) { ConvertPixel<D, S>(d, s); }, CopyRowsFor<D, S>());
    } else {
        return RunEffectBlit<PixelFormat<D>::Bytes, PixelFormat<S>::Bytes>(
            source, destination, request, [](uint8_t* d, const uint8_t* s) { ConvertPixel<D, S>(d, s); });
    }
}

} // namespace

constinit const RoutineGrid CopyGrid = MakeRoutineGrid<0>([]<SurfaceType D, SurfaceType S>() -> EffectRoutine {
    // ARGB4555 <- RGB555 runs the ARGB4565 <- RGB565 routine: the colour word
    // is carried as stored, bit 15 included.
    if constexpr (D == ARGB4555 && S == RGB555) return &CopyRoutine<ARGB4565, RGB565>;
    else return &CopyRoutine<D, S>;
});

} // namespace kivotasuGameKit
