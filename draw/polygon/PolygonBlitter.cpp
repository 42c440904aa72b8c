#include "draw/polygon/PolygonBlitter.h"

#include <array>
#include <utility>

#include "draw/polygon/EdgeWalk.h"
#include "draw/polygon/PixelRules.h"

namespace kivotasuGameKit {

namespace {

using polygon::PixelRule;
using polygon::Walk;

template <SurfaceType D, SurfaceType S>
int Copy(CSurfaceInfo* source, CSurfaceInfo* destination, uint32_t, const PolygonBltParams* params)
{
    return Walk<BytesPerPixel(D), BytesPerPixel(S)>(source, destination, params,
                                                    [](uint8_t* d, const uint8_t* s) { PixelRule<D, S>::Copy(d, s); });
}

template <SurfaceType D, SurfaceType S>
int KeyCopy(CSurfaceInfo* source, CSurfaceInfo* destination, uint32_t key, const PolygonBltParams* params)
{
    return Walk<BytesPerPixel(D), BytesPerPixel(S)>(source, destination, params, [key](uint8_t* d, const uint8_t* s) {
        if (!PixelRule<D, S>::IsKey(s, key)) PixelRule<D, S>::Copy(d, s);
    });
}

template <SurfaceType D, SurfaceType S>
int BlendAlpha(CSurfaceInfo* source, CSurfaceInfo* destination, uint32_t, const PolygonBltParams* params)
{
    return Walk<BytesPerPixel(D), BytesPerPixel(S)>(
        source, destination, params, [](uint8_t* d, const uint8_t* s) { PixelRule<D, S>::BlendAlpha(d, s); });
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
