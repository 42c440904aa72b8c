#pragma once

// What the blit benchmarks share: 640 x 480 surfaces of every format with the
// alpha a source picture carries, restored before each timed iteration, and
// the pair names of their registrations. Items are pixels.

#include <benchmark/benchmark.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "draw/effect/EffectBlitter.h"
#include "draw/effect/SurfaceInfo.h"
#include "bench/SimdCap.h"
#include "draw/effect/alpha/SimdLevel.h"

namespace blitbench {

using namespace kivotasuGameKit;

inline constexpr int Width = 640, Height = 480;

// The alpha a source picture carries.
enum class AlphaKind {
    Sprite,  // opaque shapes on a transparent ground with soft edges: mostly 0 and 255
    Uniform, // every alpha 0..255 equally likely
    Glyphs,  // text-like masks: thin strokes, mostly 0, antialiased edges
    Half,    // every alpha 128: a translucent picture
};

inline const char* KindName(AlphaKind kind)
{
    switch (kind) {
    case AlphaKind::Sprite: return "sprite";
    case AlphaKind::Uniform: return "uniform";
    case AlphaKind::Glyphs: return "glyphs";
    case AlphaKind::Half: return "half";
    }
    return "";
}

inline uint8_t AlphaAt(AlphaKind kind, int x, int y, std::mt19937& rng)
{
    switch (kind) {
    case AlphaKind::Uniform: return uint8_t(rng());
    case AlphaKind::Half: return 128;
    case AlphaKind::Sprite: {
        // Three overlapping discs with a two-pixel soft rim.
        const double centres[3][3] = {{200, 240, 170}, {420, 200, 150}, {480, 380, 90}};
        double best = 0;
        for (const auto& c : centres) {
            const double rim = c[2] - std::hypot(x - c[0], y - c[1]);
            best = std::max(best, std::clamp(rim / 2, 0.0, 1.0));
        }
        return uint8_t(std::lround(best * 255));
    }
    case AlphaKind::Glyphs: {
        // 20 x 20 cells, each with a stroke across and one down, 1.6 pixels
        // wide at a fractional place: a fifth covered, antialiased sides.
        const int cx = x % 20, cy = y % 20, cell = (x / 20) * 131 + (y / 20) * 17;
        double cover = 0;
        for (int k = 0; k < 2; ++k) {
            const double at = 3 + ((cell * 7 + k * 13) % 130) / 10.0;
            const double distance = std::abs((k ? cx : cy) + 0.5 - at);
            cover = std::max(cover, std::clamp(1.3 - distance, 0.0, 1.0));
        }
        return uint8_t(std::lround(cover * 255));
    }
    }
    return 0;
}

// A memory surface with pitch = width x cell size, as planes make them, and
// the copy its destination is restored from. Colours are random; the X byte
// of XRGB8888/XBGR8888 is 0, as every write into such a plane leaves it; an
// opaque surface has alpha 255 throughout, as the screen plane once its
// background is drawn.
struct Surface {
    Surface(SurfaceType type, AlphaKind kind = AlphaKind::Uniform, uint32_t seed = 1, bool opaque = false)
        : type(type), pitch(Width * BytesPerPixel(type))
    {
        std::mt19937 rng(seed);
        bytes.resize(size_t(pitch) * Height);
        for (auto& b : bytes) b = uint8_t(rng());
        if (type == XRGB8888 || type == XBGR8888 || opaque)
            for (size_t i = 3; i < bytes.size(); i += 4) bytes[i] = opaque ? 255 : 0;
        if (!opaque && (type == ARGB8888 || type == ABGR8888 || type == ARGB4565 || type == ARGB4555)) {
            const int at = (type == ARGB8888 || type == ABGR8888) ? 3 : 2;
            for (int y = 0; y < Height; ++y) {
                for (int x = 0; x < Width; ++x) {
                    const uint8_t a = AlphaAt(kind, x, y, rng);
                    bytes[size_t(y) * pitch + size_t(x) * 4 + at] = at == 3 ? a : uint8_t(a >> 4);
                }
            }
        }
        saved = bytes;
        const SIZE size{Width, Height};
        info.Init(bytes.data(), pitch, &size, type);
    }
    void Restore() { std::memcpy(bytes.data(), saved.data(), bytes.size()); }
    uint32_t* Words() { return reinterpret_cast<uint32_t*>(bytes.data()); }

    SurfaceType type;
    int pitch;
    std::vector<uint8_t> bytes, saved;
    CSurfaceInfo info;
};

inline void Count(benchmark::State& state) { state.SetItemsProcessed(int64_t(state.iterations()) * Width * Height); }

template <class Draw> void Timed(benchmark::State& state, Surface& dst, Draw draw)
{
    for (auto _ : state) {
        state.PauseTiming();
        dst.Restore();
        state.ResumeTiming();
        draw();
        benchmark::ClobberMemory();
    }
    Count(state);
}

// One of our effect blits of the whole source, the vector rows held at level.
inline void Ours(benchmark::State& state, EffectBltOp op, SurfaceType dt, SurfaceType st, AlphaKind kind, uint32_t a,
                 uint32_t b, bool opaqueDestination, Blend::SimdLevel level)
{
    CEffectBlitter::BuildBlendTables();
    HoldSimdLevel(level);
    Surface dst(dt, AlphaKind::Uniform, 2, opaqueDestination), src(st, kind, 3);
    src.info.SetColorKey(0x00102030);
    const BltParams request;
    const BltRates rates{a, b};
    Timed(state, dst, [&] { dst.info.EffectBlt(op, &src.info, &request, &rates); });
    HoldSimdLevel(Blend::SimdLevel::Avx2);
}

// The fixed cost of one small blit (lock, clip, dispatch, a few rows): the
// top-left range(0) x range(0) pixels of the source, uniform random alpha,
// onto the same pixels each time (no restore, which would cost more than the blit).
inline void OursFixed(benchmark::State& state, EffectBltOp op, SurfaceType dt, SurfaceType st, uint32_t a)
{
    CEffectBlitter::BuildBlendTables();
    const int side = int(state.range(0));
    Surface dst(dt, AlphaKind::Uniform, 2), src(st, AlphaKind::Uniform, 3);
    src.info.SetColorKey(0x00102030);
    const RECT area{0, 0, side, side};
    BltParams request;
    request.sourceRect = &area;
    const BltRates rates{a, 0};
    for (auto _ : state) {
        dst.info.EffectBlt(op, &src.info, &request, &rates);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * side * side);
}

inline Uint32 SdlFormat(SurfaceType t) { return t == ARGB8888 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888; }

// SDL_BlitSurface of an ARGB8888 or XRGB8888 (SDL's RGB888) source in blend
// mode mode at a surface alpha of rate onto a destination of either format.
inline void SdlBlit(benchmark::State& state, SurfaceType dt, SurfaceType st, AlphaKind kind, SDL_BlendMode mode,
                    uint32_t rate, bool opaqueDestination)
{
    Surface dst(dt, AlphaKind::Uniform, 2, opaqueDestination), src(st, kind, 3);
    SDL_Surface* d = SDL_CreateRGBSurfaceWithFormatFrom(dst.bytes.data(), Width, Height, 0, dst.pitch, SdlFormat(dt));
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(src.bytes.data(), Width, Height, 0, src.pitch, SdlFormat(st));
    SDL_SetSurfaceBlendMode(s, mode);
    SDL_SetSurfaceAlphaMod(s, Uint8(rate));
    Timed(state, dst, [&] {
        SDL_Rect r{0, 0, Width, Height};
        SDL_BlitSurface(s, nullptr, d, &r);
    });
    SDL_FreeSurface(d);
    SDL_FreeSurface(s);
}

// The side-by-side figures: five runs each; the time of the "min" row is the
// fastest run, as other work on the machine slows single runs.
inline void SideBySide(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true)->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

inline const char* Name(int t)
{
    static const char* names[] = {"0", "1", "Pal8", "RGB565", "RGB555", "RGB888", "BGR888",
                                  "XRGB8888", "XBGR8888", "9", "ARGB4565", "ARGB4555", "ARGB8888", "ABGR8888"};
    return names[t];
}

inline std::string PairName(int d, int s) { return std::string(Name(d)) + "<-" + Name(s); }

// "All/op<N>/<pair>": every served pair of each operation at the AVX2 level
// (or the cap), uniform random alpha, rates a and b.
inline void RegisterEveryPair(std::initializer_list<uint32_t> ops, uint32_t a, uint32_t b)
{
    for (uint32_t op : ops) {
        for (int d = 2; d <= 13; ++d) {
            for (int s = 2; s <= 13; ++s) {
                if (!EffectBltServes(op, d, s)) continue;
                const std::string name = "All/op" + std::to_string(op) + "/" + PairName(d, s);
                benchmark::RegisterBenchmark(name.c_str(), Ours, EffectBltOp(op), SurfaceType(d), SurfaceType(s),
                                             AlphaKind::Uniform, a, b, false, Blend::SimdLevel::Avx2)
                    ->Unit(benchmark::kMicrosecond)
                    ->MinTime(0.1);
            }
        }
    }
}

// "Fixed/<op name>/<pair>/<side>": 1 x 1 and 24 x 24, in nanoseconds.
inline void RegisterFixedCost(const std::string& opName, EffectBltOp op, SurfaceType dt, SurfaceType st, uint32_t a)
{
    benchmark::RegisterBenchmark(("Fixed/" + opName + "/" + PairName(dt, st)).c_str(), OursFixed, op, dt, st, a)
        ->Arg(1)
        ->Arg(24);
}

} // namespace blitbench
