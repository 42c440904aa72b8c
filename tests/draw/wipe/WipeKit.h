#pragma once
// Known pictures for the wipe tests: every pixel tells whether it belongs to
// the old or the new picture and where in it it lies, so a frame can be read
// back as "this pixel shows new (sx, sy)" or "this pixel is still old".

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draw/FastPlane.h"
#include "draw/effect/EffectBlitter.h"
#include "draw/wipe/TransitionWipe.h"
#include "frame/MersenneTwister.h"

namespace wipekit {

using kivotasuGameKit::RECT;
using kivotasuGameKit::SurfaceType;
using kivotasuGameKit::Draw::CFastPlane;
using kivotasuGameKit::Draw::CPlaneBase;
using kivotasuGameKit::Draw::CTransitionWipe;

// Red and green carry the low bytes of x and y, blue their high bits and,
// in its top bit, the picture.
inline std::uint32_t Coded(bool isNew, int x, int y)
{
    const std::uint32_t blue = (isNew ? 0x80u : 0u) | std::uint32_t((x >> 8) & 7) << 3 | std::uint32_t((y >> 8) & 7);
    return 0xFF000000u | std::uint32_t(x & 0xFF) << 16 | std::uint32_t(y & 0xFF) << 8 | blue;
}

struct Origin {
    bool isNew;
    int x, y;
    bool operator==(const Origin&) const = default;
};

inline Origin Decode(std::uint32_t colour)
{
    const std::uint32_t blue = colour & 0xFF;
    return {(blue & 0x80) != 0, int((blue >> 3) & 7) << 8 | int(colour >> 16 & 0xFF), int(blue & 7) << 8 | int(colour >> 8 & 0xFF)};
}

inline std::string ToString(const Origin& o)
{
    return std::string(o.isNew ? "new(" : "old(") + std::to_string(o.x) + "," + std::to_string(o.y) + ")";
}

inline std::uint32_t* Row(CPlaneBase& plane, int y)
{
    auto* info = plane.GetSurfaceInfoPtr();
    return reinterpret_cast<std::uint32_t*>(info->GetPixelBytes() + std::ptrdiff_t(y) * info->GetPitch());
}

inline std::unique_ptr<CFastPlane> MakePicture(int width, int height, SurfaceType type, bool isNew)
{
    // The blends read the tables a screen manager builds; these tests have none.
    static const bool tables = (kivotasuGameKit::CEffectBlitter::BuildBlendTables(), true);
    (void)tables;
    auto plane = std::make_unique<CFastPlane>();
    plane->CreateMemorySurface(width, height, type);
    // The spare byte of a cell without alpha stays 0, as the blits leave it.
    const std::uint32_t mask = kivotasuGameKit::HasAlpha(type) ? 0xFFFFFFFFu : 0x00FFFFFFu;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) Row(*plane, y)[x] = Coded(isNew, x, y) & mask;
    return plane;
}

// FNV-1a over the pixels.
inline std::uint64_t Hash(CPlaneBase& plane)
{
    int width = 0, height = 0;
    plane.GetSize(&width, &height);
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (int y = 0; y < height; ++y) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(Row(plane, y));
        for (int i = 0; i < width * 4; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ull;
    }
    return hash;
}

// A wipe as the tests call it; CUTIN with a generator seeded anew each call.
using WipeCall = std::function<int(CPlaneBase* destination, CPlaneBase* source, int x, int y, int phase, int kind,
                                   const RECT* clip)>;

inline WipeCall Plain(CTransitionWipe::Wipe* wipe)
{
    return [wipe](CPlaneBase* d, CPlaneBase* s, int x, int y, int phase, int kind, const RECT* clip) {
        return wipe(d, s, x, y, phase, kind, 255, clip);
    };
}

inline WipeCall SeededCutIn(std::uint32_t seed)
{
    return [seed](CPlaneBase* d, CPlaneBase* s, int x, int y, int phase, int kind, const RECT* clip) {
        kivotasuGameKit::CMersenneTwister random;
        random.SetSeed(seed);
        return CTransitionWipe::CutIn(d, s, x, y, phase, kind, 255, clip, random);
    };
}

} // namespace wipekit
