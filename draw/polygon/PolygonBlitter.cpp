#include "draw/polygon/PolygonBlitter.h"

#include <array>
#include <utility>

#include "draw/effect/KeyCopyRows.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/alpha/BlendFrame.h"
#include "draw/polygon/EdgeWalk.h"
#include "draw/polygon/PixelRules.h"
#include "draw/polygon/SpanRules.h"

namespace kivotasuGameKit {

namespace {

using polygon::PixelRule;
using polygon::Walk;

// Pairs of 32-bit cells with 8-bit channels: their spans can go through rows.
template <SurfaceType D, SurfaceType S> constexpr bool Fetched = Is32<D> && Is32<S>;

// The member's walk: through the row kernel rows (null: none) with its
// params where the pair's cells can be fetched, else pixel by pixel.
template <SurfaceType D, SurfaceType S, class Pixel>
int Draw(CSurfaceInfo* source, CSurfaceInfo* destination, const PolygonBltParams* params, const Pixel& pixel,
         Blend::RowFn rows, const Blend::RowParams& rowParams = {}, bool direct = false)
{
    constexpr int DB = BytesPerPixel(D), SB = BytesPerPixel(S);
    if constexpr (Fetched<D, S>)
        return Walk<DB, SB>(source, destination, params, polygon::FetchedRule<Pixel>{pixel, rows, rowParams, direct});
    else return Walk<DB, SB>(source, destination, params, polygon::EachPixelRule<DB, SB, Pixel>{pixel});
}

template <SurfaceType D, SurfaceType S>
int Copy(CSurfaceInfo* source, CSurfaceInfo* destination, uint32_t, const PolygonBltParams* params)
{
    const auto pixel = [](uint8_t* d, const uint8_t* s) { PixelRule<D, S>::Copy(d, s); };
    return Draw<D, S>(source, destination, params, pixel, CopyRowsFor<D, S>(), {}, D == S);
}

template <SurfaceType D, SurfaceType S>
int KeyCopy(CSurfaceInfo* source, CSurfaceInfo* destination, uint32_t key, const PolygonBltParams* params)
{
    const auto pixel = [key](uint8_t* d, const uint8_t* s) {
        if (!PixelRule<D, S>::IsKey(s, key)) PixelRule<D, S>::Copy(d, s);
    };
    return Draw<D, S>(source, destination, params, pixel, KeyCopyRowsFor<D, S>(),
                      {.key = key, .keyMask = PixelFormat<S>::KeyBits});
}

// Pairs of one channel order blend through the alpha family's rate rows: by
// the source's alpha, or at 255 for a source without one.
template <SurfaceType D, SurfaceType S> Blend::RowFn BlendRows()
{
    const Blend::RowKernels* k = Blend::KernelsFor<D, S>();
    return k ? k->rate[HasAlpha(S) ? Blend::SourceAlpha : Blend::ConstantRate][0] : nullptr;
}

template <SurfaceType D, SurfaceType S>
int BlendAlpha(CSurfaceInfo* source, CSurfaceInfo* destination, uint32_t, const PolygonBltParams* params)
{
    const auto pixel = [](uint8_t* d, const uint8_t* s) { PixelRule<D, S>::BlendAlpha(d, s); };
    return Draw<D, S>(source, destination, params, pixel, BlendRows<D, S>(), {.rate = 255, .byte3 = Blend::Byte3Of<D>});
}

struct Members {
    SurfaceType destination;
    SurfaceType source;
    CPolygonBlitter::Member copy;
    CPolygonBlitter::Member keyCopy;
    CPolygonBlitter::Member blendAlpha;
};

// Every pair served, in all three modes alike.
constexpr std::pair<SurfaceType, SurfaceType> kPairs[] = {
    {RGB565, RGB565},     {RGB555, RGB555},     {RGB888, RGB888},     {BGR888, BGR888},
    {XRGB8888, XRGB8888}, {XBGR8888, XBGR8888}, {ARGB4565, ARGB4565}, {ARGB4555, ARGB4555},
    {ARGB8888, ARGB8888}, {ABGR8888, ABGR8888}, {RGB565, ARGB4565},   {RGB555, ARGB4555},
    {RGB888, ARGB8888},   {BGR888, ABGR8888},   {XRGB8888, ARGB8888}, {XBGR8888, ABGR8888},
    {ARGB4565, RGB565},   {ARGB4555, RGB555},   {ARGB8888, RGB888},   {ARGB8888, BGR888},
    {ARGB8888, XRGB8888}, {ARGB8888, XBGR8888}, {ABGR8888, RGB888},   {ABGR8888, BGR888},
    {ABGR8888, XRGB8888}, {ABGR8888, XBGR8888},
};

template <size_t... I> constexpr auto MakeMembers(std::index_sequence<I...>)
{
    return std::array<Members, sizeof...(I)>{
        Members{kPairs[I].first, kPairs[I].second, &Copy<kPairs[I].first, kPairs[I].second>,
                &KeyCopy<kPairs[I].first, kPairs[I].second>, &BlendAlpha<kPairs[I].first, kPairs[I].second>}...};
}

constexpr auto kMembers = MakeMembers(std::make_index_sequence<std::size(kPairs)>());

} // namespace

CPolygonBlitter::Member CPolygonBlitter::Find(uint32_t mode, int32_t destinationType, int32_t sourceType)
{
    for (const Members& members : kMembers) {
        if (members.destination != destinationType || members.source != sourceType) continue;
        return mode == 0 ? members.copy : mode == 1 ? members.keyCopy : mode == 10 ? members.blendAlpha : nullptr;
    }
    return nullptr;
}

uint32_t CPolygonBlitter::PackKey(int32_t sourceType, uint32_t colorKey)
{
    const uint32_t r = (colorKey >> 16) & 0xFF, g = (colorKey >> 8) & 0xFF, b = colorKey & 0xFF;
    switch (sourceType) {
    case RGB565: case ARGB4565: return CSurfaceInfo::PackRGB565(r, g, b);
    case RGB555: case ARGB4555: return CSurfaceInfo::PackRGB555(r, g, b);
    case BGR888: case XBGR8888: case ABGR8888: return b << 16 | g << 8 | r;
    default: return r << 16 | g << 8 | b;
    }
}

int CPolygonBlitter::Dispatch(uint32_t mode, CSurfaceInfo* source, CSurfaceInfo* destination,
                              const PolygonBltParams* params)
{
    CSurfaceLock destinationLock(*destination);
    if (!destinationLock) return 1;
    // The same surface as both raises the double-lock exception here; the
    // guard above unlocks the destination as it leaves.
    CSurfaceLock sourceLock(*source);
    if (!sourceLock) return 1;
    const Member member = Find(mode, destination->GetType(), source->GetType());
    if (!member) return destination->GetType() == source->GetType() ? 0 : 2;
    const uint32_t operand = mode == 1 ? PackKey(source->GetType(), source->GetColorKey()) : 0;
    member(source, destination, operand, params);
    return 0;
}

} // namespace kivotasuGameKit
