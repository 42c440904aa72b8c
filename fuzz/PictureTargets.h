#pragma once

// Surfaces that fuzzed pictures are copied and drawn into: small ones of a
// few pixel types (pictures are clipped to them).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "draw/effect/SurfaceInfo.h"
#include "fuzz/ExactCopy.h"

struct PictureTarget {
    PictureTarget(kivotasuGameKit::SurfaceType type, int width, int height)
        : pixels(std::size_t(width) * height * kivotasuGameKit::BytesPerPixel(type))
    {
        const kivotasuGameKit::SIZE size{width, height};
        info.Init(pixels.data(), width * kivotasuGameKit::BytesPerPixel(type), &size, type);
    }
    std::vector<std::uint8_t> pixels;
    kivotasuGameKit::CSurfaceInfo info;
};

// The types whose drawing paths differ: 24-bit rows, 16-bit colour with 4-bit
// alpha, and 32-bit with 8-bit alpha.
inline std::vector<std::unique_ptr<PictureTarget>> SmallTargets(int width, int height)
{
    const int w = width < 1 ? 1 : width > 48 ? 48 : width, h = height < 1 ? 1 : height > 48 ? 48 : height;
    std::vector<std::unique_ptr<PictureTarget>> targets;
    for (auto type : {kivotasuGameKit::RGB888, kivotasuGameKit::ARGB4565, kivotasuGameKit::ARGB8888})
        targets.push_back(std::make_unique<PictureTarget>(type, w, h));
    return targets;
}
