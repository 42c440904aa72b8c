#pragma once
// Planes, the pinned font and tag replay for the text tests.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "draw/FastPlane.h"
#include "platform/Fonts.h"
#include "script/lang/TagAttributes.h"
#include "script/lang/TagLexer.h"

namespace textkit {

using Plane = kivotasuGameKit::Draw::CFastPlane;

// Every face is the IPA Gothic file, whatever the machine has installed; of
// these names the font list keeps only the first (horizontal) one.
inline const bool FontsPinned = [] {
    platform::InstallFonts(std::make_unique<platform::PinnedFonts>(
        std::vector<std::string>{"ＩＰＡゴシック", "@ＩＰＡゴシック"}));
    return true;
}();

inline void MakePlane(Plane& plane, int width, int height, std::uint32_t fill)
{
    plane.Release();
    plane.InnerCreateMemorySurface(width, height, kivotasuGameKit::SurfaceType::ARGB8888, false);
    plane.SetFillColor(fill);
    plane.Clear();
}

inline std::uint32_t PixelAt(Plane& plane, int x, int y)
{
    kivotasuGameKit::CSurfaceInfo* info = plane.GetSurfaceInfo();
    const std::uint8_t* p = info->GetPixelBytes() + std::int64_t(y) * info->GetPitch() + x * 4;
    return std::uint32_t(p[0]) | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}

// Pixels of the rectangle whose colour differs from background (alpha ignored).
inline int InkIn(Plane& plane, int left, int top, int right, int bottom, std::uint32_t background)
{
    kivotasuGameKit::CSurfaceInfo* info = plane.GetSurfaceInfo();
    int ink = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, info->GetHeight()); ++y)
        for (int x = std::max(left, 0); x < std::min(right, info->GetWidth()); ++x)
            ink += ((PixelAt(plane, x, y) ^ background) & 0xFFFFFF) != 0;
    return ink;
}

// FNV-1a over the colour bytes of every pixel.
inline std::uint64_t Hash(Plane& plane)
{
    kivotasuGameKit::CSurfaceInfo* info = plane.GetSurfaceInfo();
    std::uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < info->GetHeight(); ++y)
        for (int x = 0; x < info->GetWidth(); ++x) {
            const std::uint32_t pixel = PixelAt(plane, x, y) & 0xFFFFFF;
            for (int b = 0; b < 3; ++b) hash = (hash ^ ((pixel >> (8 * b)) & 0xFF)) * 1099511628211ull;
        }
    return hash;
}

// Runs every tag of a tag script through handle, as the dispatcher would.
inline void Replay(const std::string& script, const std::function<void(CTagAttributes&)>& handle)
{
    std::size_t pos = 0;
    CTagLexer lexer(script, pos);
    CTagAttributes record;
    while (lexer.ReadTag(record) == TagRead) handle(record);
}

} // namespace textkit
