#pragma once

// Surfaces that fuzzed pictures are copied and drawn into: small ones of a
// few pixel types (pictures are clipped to them), and the fuzzed bytes copied
// into a buffer of exactly their size so that a read past them shows.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "draw/effect/SurfaceInfo.h"

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

struct ExactCopy {
    ExactCopy(const std::uint8_t* data, std::size_t size) : bytes(new std::uint8_t[size ? size : 1]), size(size)
    {
        if (size) std::memcpy(bytes.get(), data, size);
    }
    // The loader's file name for the copy: a memory name with a suffix.
    std::string Name(const char* suffix) const
    {
        char name[64];
        std::snprintf(name, sizeof name, "!%zx,%zx.%s", reinterpret_cast<std::uintptr_t>(bytes.get()), size, suffix);
        return name;
    }
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size;
};
