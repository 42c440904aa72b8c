// The blend family side by side with pixman (OVER, premultiplied source made
// before timing; OVER with a solid mask for the constant rates) and SDL2
// (SDL_BlitSurface, SDL_BLENDMODE_BLEND) on the same 640 x 480 pixels. Every
// contestant gets its destination restored before each iteration, outside the
// timing. Items are pixels.

#include <benchmark/benchmark.h>

#include <SDL2/SDL.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "draw/effect/EffectBlitter.h"
#include "draw/effect/SurfaceInfo.h"
#include "draw/effect/alpha/SimdLevel.h"

using namespace kivotasuGameKit;

namespace {

constexpr int Width = 640, Height = 480;

// The alpha a source picture carries.
enum class AlphaKind {
    Sprite,  // opaque shapes on a transparent ground with soft edges: mostly 0 and 255
    Uniform, // every alpha 0..255 equally likely
    Glyphs,  // text-like masks: thin strokes, mostly 0, antialiased edges
};

const char* KindName(AlphaKind kind)
{
    return kind == AlphaKind::Sprite ? "sprite" : kind == AlphaKind::Uniform ? "uniform" : "glyphs";
}

uint8_t AlphaAt(AlphaKind kind, int x, int y, std::mt19937& rng)
{
    switch (kind) {
    case AlphaKind::Uniform: return uint8_t(rng());
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

void Count(benchmark::State& state) { state.SetItemsProcessed(int64_t(state.iterations()) * Width * Height); }

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

void Ours(benchmark::State& state, EffectBltOp op, SurfaceType dt, SurfaceType st, AlphaKind kind, uint32_t a,
          uint32_t b, bool opaqueDestination, Blend::SimdLevel level)
{
    CEffectBlitter::BuildBlendTables();
    Blend::CapSimdLevel(level);
    Surface dst(dt, AlphaKind::Uniform, 2, opaqueDestination), src(st, kind, 3);
    src.info.SetColorKey(0x00102030);
    const BltParams request;
    const BltRates rates{a, b};
    Timed(state, dst, [&] { dst.info.EffectBlt(op, &src.info, &request, &rates); });
    Blend::CapSimdLevel(Blend::SimdLevel::Avx2);
}

// pixman's OVER of a premultiplied a8r8g8b8 copy of the source, through a
// solid mask of alpha rate when rate < 255 (its cross-fade).
void PixmanOver(benchmark::State& state, pixman_format_code_t dstFormat, AlphaKind kind, uint32_t rate,
                bool opaqueDestination)
{
    Surface dst(dstFormat == PIXMAN_a8r8g8b8 ? ARGB8888 : XRGB8888, AlphaKind::Uniform, 2, opaqueDestination);
    Surface src(ARGB8888, kind, 3);
    std::vector<uint32_t> premultiplied(size_t(Width) * Height);
    for (size_t i = 0; i < premultiplied.size(); ++i) {
        const uint32_t p = src.Words()[i], alpha = p >> 24;
        const auto scale = [&](int shift) { return (((p >> shift) & 0xFF) * alpha + 127) / 255 << shift; };
        premultiplied[i] = alpha << 24 | scale(16) | scale(8) | scale(0);
    }
    pixman_image_t* d = pixman_image_create_bits(dstFormat, Width, Height, dst.Words(), dst.pitch);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, Width, Height, premultiplied.data(), Width * 4);
    const pixman_color_t level{0, 0, 0, uint16_t(rate * 257)};
    pixman_image_t* mask = rate < 255 ? pixman_image_create_solid_fill(&level) : nullptr;
    Timed(state, dst, [&] { pixman_image_composite32(PIXMAN_OP_OVER, s, mask, d, 0, 0, 0, 0, 0, 0, Width, Height); });
    if (mask) pixman_image_unref(mask);
    pixman_image_unref(d);
    pixman_image_unref(s);
}

Uint32 SdlFormat(SurfaceType t) { return t == ARGB8888 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888; }

// SDL_BlitSurface with SDL_BLENDMODE_BLEND, at a surface alpha of rate.
void SdlBlend(benchmark::State& state, SurfaceType dt, AlphaKind kind, uint32_t rate, bool opaqueDestination)
{
    Surface dst(dt, AlphaKind::Uniform, 2, opaqueDestination), src(ARGB8888, kind, 3);
    SDL_Surface* d = SDL_CreateRGBSurfaceWithFormatFrom(dst.bytes.data(), Width, Height, 0, dst.pitch, SdlFormat(dt));
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(src.bytes.data(), Width, Height, 0, src.pitch, SdlFormat(ARGB8888));
    SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(s, Uint8(rate));
    Timed(state, dst, [&] {
        SDL_Rect r{0, 0, Width, Height};
        SDL_BlitSurface(s, nullptr, d, &r);
    });
    SDL_FreeSurface(d);
    SDL_FreeSurface(s);
}

const char* Name(int t)
{
    static const char* names[] = {"0", "1", "Pal8", "RGB565", "RGB555", "RGB888", "BGR888",
                                  "XRGB8888", "XBGR8888", "9", "ARGB4565", "ARGB4555", "ARGB8888", "ABGR8888"};
    return names[t];
}

std::string PairName(int d, int s) { return std::string(Name(d)) + "<-" + Name(s); }

int RegisterAll()
{
    using benchmark::RegisterBenchmark;
    // The side-by-side figures: five runs each; the time of the "min" row is
    // the fastest run, as other work on the machine slows single runs.
    const auto unit = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true)->ComputeStatistics(
            "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
    };
    // Blend by source alpha, the three kinds of alpha, onto both 32-bit
    // destinations, the ARGB8888 one with random and with opaque alphas.
    struct Target {
        SurfaceType type;
        bool opaque;
        const char* name;
    };
    for (AlphaKind kind : {AlphaKind::Sprite, AlphaKind::Uniform, AlphaKind::Glyphs}) {
        for (Target dt : {Target{XRGB8888, false, "XRGB8888"}, Target{ARGB8888, false, "ARGB8888"},
                          Target{ARGB8888, true, "ARGB8888opaque"}}) {
            const std::string tail = std::string("/") + dt.name + "<-ARGB8888/" + KindName(kind);
            unit(RegisterBenchmark(("BlendAlpha" + tail).c_str(), Ours, EffectBltOp::BlendAlpha, dt.type, ARGB8888,
                                   kind, 0, 0, dt.opaque, Blend::SimdLevel::Avx2));
            unit(RegisterBenchmark(("BlendAlpha_sse2" + tail).c_str(), Ours, EffectBltOp::BlendAlpha, dt.type,
                                   ARGB8888, kind, 0, 0, dt.opaque, Blend::SimdLevel::Sse2));
            unit(RegisterBenchmark(("pixman_OVER" + tail).c_str(), PixmanOver,
                                   dt.type == ARGB8888 ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, kind, 255, dt.opaque));
            unit(RegisterBenchmark(("SDL_BLEND" + tail).c_str(), SdlBlend, dt.type, kind, 255, dt.opaque));
        }
    }
    // Constant rates on the 32-bit pairs the engine draws, against pixman's
    // cross-fade (OVER through a solid mask) and SDL's surface alpha.
    for (auto [dt, st] : {std::pair{XRGB8888, XRGB8888}, {XRGB8888, ARGB8888}, {ARGB8888, ARGB8888}, {ARGB8888, XRGB8888}}) {
        for (EffectBltOp op : {EffectBltOp::BlendRate, EffectBltOp::KeyBlendRate}) {
            const std::string name = std::string(op == EffectBltOp::BlendRate ? "BlendRate/" : "KeyBlendRate/") + PairName(dt, st);
            unit(RegisterBenchmark(name.c_str(), Ours, op, dt, st, AlphaKind::Uniform, 128, 0, false,
                                   Blend::SimdLevel::Avx2));
        }
    }
    for (SurfaceType dt : {XRGB8888, ARGB8888}) {
        const std::string tail = std::string("/") + PairName(dt, ARGB8888) + "/rate128";
        unit(RegisterBenchmark(("pixman_OVER_solid_mask" + tail).c_str(), PixmanOver,
                               dt == ARGB8888 ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, AlphaKind::Uniform, 128, false));
        unit(RegisterBenchmark(("SDL_BLEND_alphamod" + tail).c_str(), SdlBlend, dt, AlphaKind::Uniform, 128, false));
    }
    // Every body of the family, uniform random alpha, rates 128 (and b = 100).
    for (uint32_t op : {10u, 14u, 15u, 16u, 17u}) {
        for (int d = 2; d <= 13; ++d) {
            for (int s = 2; s <= 13; ++s) {
                if (!EffectBltServes(op, d, s)) continue;
                const std::string name = "All/op" + std::to_string(op) + "/" + PairName(d, s);
                RegisterBenchmark(name.c_str(), Ours, EffectBltOp(op), SurfaceType(d), SurfaceType(s),
                                  AlphaKind::Uniform, 128, 100, false, Blend::SimdLevel::Avx2)
                    ->Unit(benchmark::kMicrosecond)
                    ->MinTime(0.1);
            }
        }
    }
    return 0;
}

const int registered = RegisterAll();

} // namespace
