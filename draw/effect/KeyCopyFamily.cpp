// Operation 1: the copy with the source's colour key as the transparent colour.
#include "draw/effect/BlitFrame.h"
#include "draw/effect/KeyCopyRows.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/RoutineGrid.h"
#include "draw/effect/alpha/BlendFrame.h"

namespace kivotasuGameKit {

namespace {

template <SurfaceType D, SurfaceType S>
int KeyCopyRoutine(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate keyRate,
                   const BltParams* request)
{
    const uint32_t key = KeyOf<S>(keyRate);
    return Blend::RunBlend<D, S>(source, destination, request,
                                 MakeKeyed<S>(key, [](uint8_t* d, const uint8_t* s) { ConvertPixel<D, S>(d, s); }),
                                 KeyCopyRowsFor<D, S>(), {.key = key, .keyMask = PixelFormat<S>::KeyBits});
}

} // namespace

constinit const RoutineGrid KeyCopyGrid = MakeRoutineGrid<1>([]<SurfaceType D, SurfaceType S>() -> EffectRoutine {
    // ARGB4555 <- RGB555 runs the ARGB4565 <- RGB565 routine: the colour word
    // is carried as stored, bit 15 included.
    if constexpr (D == ARGB4555 && S == RGB555) return &KeyCopyRoutine<ARGB4565, RGB565>;
    else return &KeyCopyRoutine<D, S>;
});

} // namespace kivotasuGameKit
