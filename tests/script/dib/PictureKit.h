#pragma once
// Pictures for the element-picture tests: ARGB8888 planes drawn from a
// pattern, their pixels read back, and picture files written from them.

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "draw/FastPlane.h"
#include "tests/kit/TempFolder.h"

namespace dibkit {

using kivotasuGameKit::Draw::CFastPlane;
using kivotasuGameKit::Draw::CPlaneBase;
// 0xAARRGGBB of pixel (x, y).
using Pattern = std::function<std::uint32_t(int x, int y)>;

inline std::uint32_t Pixel(CPlaneBase& plane, int x, int y)
{
    const kivotasuGameKit::CSurfaceInfo* info = plane.GetSurfaceInfoPtr();
    std::uint32_t cell;
    std::memcpy(&cell, info->GetPixelBytes() + std::ptrdiff_t(y) * info->GetPitch() + x * 4, 4);
    return cell;
}

inline void SetPixel(CPlaneBase& plane, int x, int y, std::uint32_t colour)
{
    const kivotasuGameKit::CSurfaceInfo* info = plane.GetSurfaceInfoPtr();
    std::memcpy(info->GetPixelBytes() + std::ptrdiff_t(y) * info->GetPitch() + x * 4, &colour, 4);
}

inline void Paint(CPlaneBase& plane, const Pattern& pattern)
{
    int width = 0, height = 0;
    plane.GetSize(&width, &height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixel(plane, x, y, pattern(x, y));
}

inline std::unique_ptr<CFastPlane> MakePlane(int width, int height, const Pattern& pattern)
{
    auto plane = std::make_unique<CFastPlane>();
    plane->CreateMemorySurface(width, height, kivotasuGameKit::SurfaceType::ARGB8888);
    Paint(*plane, pattern);
    return plane;
}

// A 24-bit BMP (the alpha is lost) or, for a name ending in ".ovk", the
// uncompressed surface file that keeps it; the internal name is returned.
inline std::string WritePicture(const TempFolder& folder, const std::string& name, int width, int height,
                                const Pattern& pattern)
{
    auto plane = MakePlane(width, height, pattern);
    const std::string internal = folder.Name(name);
    if (name.size() > 4 && name.substr(name.size() - 4) == ".ovk")
        plane->SaveCompressed(internal, nullptr, false);
    else
        plane->SaveBitmap(internal, nullptr);
    return internal;
}

// Distinct colours, opaque, none of them black.
inline std::uint32_t Gradient(int x, int y)
{
    return 0xFF000000u | std::uint32_t(x * 20 + 10) << 16 | std::uint32_t(y * 30 + 20) << 8 | std::uint32_t(200 - x - y);
}

} // namespace dibkit

#include <vector>

#include "script/lang/TagLexer.h"

namespace dibkit {

// The tags of a piece of tag script, read as the engine reads them.
inline std::vector<CTagAttributes> ReadTags(std::string_view script)
{
    std::vector<CTagAttributes> tags;
    std::size_t pos = 0;
    CTagLexer lexer(script, pos);
    CTagAttributes record;
    while (lexer.ReadTag(record) == TagRead) tags.push_back(record);
    return tags;
}

inline CTagAttributes Tag(std::string_view text)
{
    std::vector<CTagAttributes> tags = ReadTags(text);
    return tags.empty() ? CTagAttributes() : tags.front();
}

} // namespace dibkit
