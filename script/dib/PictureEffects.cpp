#include "script/dib/PictureEffects.h"

#include <algorithm>
#include <cstring>

#include "draw/PlaneBase.h"

using kivotasuGameKit::CSurfaceInfo;
using kivotasuGameKit::CSurfaceLock;
using kivotasuGameKit::SurfaceType;

namespace DIB {
namespace {

// Byte offsets of the channels in a 32-bit alpha cell.
struct Channels {
    int red, green, blue;
};

// Runs cell(pixel bytes, channels) on every pixel of a 32-bit alpha surface.
template <class F> void ForEachCell(CPlaneBase& plane, F cell)
{
    CSurfaceInfo* info = plane.GetSurfaceInfoPtr();
    if (!info || !info->IsCreated()) return;
    Channels at;
    if (info->GetType() == SurfaceType::ARGB8888)
        at = {2, 1, 0};
    else if (info->GetType() == SurfaceType::ABGR8888)
        at = {0, 1, 2};
    else
        return;
    CSurfaceLock lock(*info);
    if (!lock) return;
    for (int y = 0; y < info->GetHeight(); ++y) {
        std::uint8_t* p = info->GetPixelBytes() + std::ptrdiff_t(y) * info->GetPitch();
        for (int x = 0; x < info->GetWidth(); ++x, p += 4) cell(p, at);
    }
}

std::uint32_t Red(std::uint32_t colour) { return (colour >> 16) & 0xFF; }
std::uint32_t Green(std::uint32_t colour) { return (colour >> 8) & 0xFF; }
std::uint32_t Blue(std::uint32_t colour) { return colour & 0xFF; }

} // namespace

void TintMonochrome(CPlaneBase& plane, std::uint32_t colour)
{
    const std::uint32_t r = Red(colour), g = Green(colour), b = Blue(colour);
    ForEachCell(plane, [&](std::uint8_t* p, Channels at) {
        const std::uint32_t grey = (p[at.red] + p[at.green] + p[at.blue]) / 3;
        p[at.red] = std::uint8_t(grey * r / 256);
        p[at.green] = std::uint8_t(grey * g / 256);
        p[at.blue] = std::uint8_t(grey * b / 256);
    });
}

void ScaleChannels(CPlaneBase& plane, std::uint32_t colour)
{
    const std::uint32_t r = Red(colour), g = Green(colour), b = Blue(colour);
    ForEachCell(plane, [&](std::uint8_t* p, Channels at) {
        p[at.red] = std::uint8_t(std::min<std::uint32_t>(255, p[at.red] * r / 128));
        p[at.green] = std::uint8_t(std::min<std::uint32_t>(255, p[at.green] * g / 128));
        p[at.blue] = std::uint8_t(std::min<std::uint32_t>(255, p[at.blue] * b / 128));
    });
}

void FlipRows(CPlaneBase& plane)
{
    CSurfaceInfo* info = plane.GetSurfaceInfoPtr();
    if (!info || !info->IsCreated()) return;
    CSurfaceLock lock(*info);
    if (!lock) return;
    const std::ptrdiff_t pitch = info->GetPitch();
    const std::size_t rowBytes = std::size_t(info->GetWidth()) * std::size_t(info->GetBytesPerPixel());
    for (int top = 0, bottom = info->GetHeight() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(info->GetPixelBytes() + top * pitch, info->GetPixelBytes() + top * pitch + rowBytes,
                         info->GetPixelBytes() + bottom * pitch);
}

void NegateColours(CPlaneBase& plane)
{
    ForEachCell(plane, [](std::uint8_t* p, Channels at) {
        p[at.red] = std::uint8_t(~p[at.red]);
        p[at.green] = std::uint8_t(~p[at.green]);
        p[at.blue] = std::uint8_t(~p[at.blue]);
    });
}

void KeyToAlpha(CPlaneBase& plane, bool keyed, std::uint32_t key)
{
    ForEachCell(plane, [&](std::uint8_t* p, Channels at) {
        const std::uint32_t colour = std::uint32_t(p[at.red]) << 16 | std::uint32_t(p[at.green]) << 8 | p[at.blue];
        p[3] = keyed && colour == (key & 0xFFFFFF) ? 0 : 255;
    });
}

} // namespace DIB
