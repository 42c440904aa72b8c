// The blend family side by side with pixman (OVER, premultiplied source made
// before timing; OVER with a solid mask for the constant rates) and SDL2
// (SDL_BlitSurface, SDL_BLENDMODE_BLEND) on the same 640 x 480 pixels. Every
// contestant gets its destination restored before each iteration, outside the
// timing. Items are pixels.

#include <benchmark/benchmark.h>

#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/BlitSurface.h"
#include "draw/effect/EffectBlitter.h"
#include "draw/effect/SurfaceInfo.h"
#include "draw/effect/alpha/SimdLevel.h"

using namespace kivotasuGameKit;
using namespace blitbench;

namespace {

// pixman's premultiplied a8r8g8b8 copy of an ARGB8888 source.
std::vector<uint32_t> Premultiplied(Surface& src)
{
    std::vector<uint32_t> premultiplied(size_t(Width) * Height);
    for (size_t i = 0; i < premultiplied.size(); ++i) {
        const uint32_t p = src.Words()[i], alpha = p >> 24;
        const auto scale = [&](int shift) { return (((p >> shift) & 0xFF) * alpha + 127) / 255 << shift; };
        premultiplied[i] = alpha << 24 | scale(16) | scale(8) | scale(0);
    }
    return premultiplied;
}

// pixman's OVER of a premultiplied a8r8g8b8 copy of the source, through a
// solid mask of alpha rate when rate < 255 (its cross-fade).
void PixmanOver(benchmark::State& state, pixman_format_code_t dstFormat, AlphaKind kind, uint32_t rate,
                bool opaqueDestination)
{
    Surface dst(dstFormat == PIXMAN_a8r8g8b8 ? ARGB8888 : XRGB8888, AlphaKind::Uniform, 2, opaqueDestination);
    Surface src(ARGB8888, kind, 3);
    std::vector<uint32_t> premultiplied = Premultiplied(src);
    pixman_image_t* d = pixman_image_create_bits(dstFormat, Width, Height, dst.Words(), dst.pitch);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, Width, Height, premultiplied.data(), Width * 4);
    const pixman_color_t level{0, 0, 0, uint16_t(rate * 257)};
    pixman_image_t* mask = rate < 255 ? pixman_image_create_solid_fill(&level) : nullptr;
    Timed(state, dst, [&] { pixman_image_composite32(PIXMAN_OP_OVER, s, mask, d, 0, 0, 0, 0, 0, 0, Width, Height); });
    if (mask) pixman_image_unref(mask);
    pixman_image_unref(d);
    pixman_image_unref(s);
}

// A page of text: one blit per 21 x 21 glyph cell (so rows end in part of a
// vector), glyph alpha, the source cell at the same place as the destination
// cell. Items are the pixels of the cells.
constexpr int GlyphSide = 21, GlyphPitch = 22;

template <class Draw> void EveryGlyph(benchmark::State& state, Surface& dst, Draw draw)
{
    Timed(state, dst, [&] {
        for (int y = 0; y + GlyphSide <= Height; y += GlyphPitch)
            for (int x = 0; x + GlyphSide <= Width; x += GlyphPitch) draw(x, y);
    });
    state.SetItemsProcessed(int64_t(state.iterations()) * (Width / GlyphPitch) * (Height / GlyphPitch) * GlyphSide *
                            GlyphSide);
}

void OursText(benchmark::State& state, SurfaceType dt, Blend::SimdLevel level)
{
    CEffectBlitter::BuildBlendTables();
    HoldSimdLevel(level);
    Surface dst(dt, AlphaKind::Uniform, 2), src(ARGB8888, AlphaKind::Glyphs, 3);
    const BltRates rates{0, 0};
    EveryGlyph(state, dst, [&](int x, int y) {
        const RECT cell{x, y, x + GlyphSide, y + GlyphSide};
        const POINT at{x, y};
        BltParams request;
        request.sourceRect = &cell;
        request.point = &at;
        dst.info.EffectBlt(EffectBltOp::BlendAlpha, &src.info, &request, &rates);
    });
    HoldSimdLevel(Blend::SimdLevel::Avx2);
}

void PixmanText(benchmark::State& state, pixman_format_code_t dstFormat)
{
    Surface dst(dstFormat == PIXMAN_a8r8g8b8 ? ARGB8888 : XRGB8888, AlphaKind::Uniform, 2);
    Surface src(ARGB8888, AlphaKind::Glyphs, 3);
    std::vector<uint32_t> premultiplied = Premultiplied(src);
    pixman_image_t* d = pixman_image_create_bits(dstFormat, Width, Height, dst.Words(), dst.pitch);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, Width, Height, premultiplied.data(), Width * 4);
    EveryGlyph(state, dst, [&](int x, int y) {
        pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, x, y, 0, 0, x, y, GlyphSide, GlyphSide);
    });
    pixman_image_unref(d);
    pixman_image_unref(s);
}

int RegisterAll()
{
    using benchmark::RegisterBenchmark;
    // Blend by source alpha, the three kinds of alpha, onto both 32-bit
    // destinations, the ARGB8888 one with random and with opaque alphas.
    struct Target {
        SurfaceType type;
        bool opaque;
        const char* name;
    };
    for (AlphaKind kind : {AlphaKind::Sprite, AlphaKind::Uniform, AlphaKind::Glyphs, AlphaKind::Half}) {
        for (Target dt : {Target{XRGB8888, false, "XRGB8888"}, Target{ARGB8888, false, "ARGB8888"},
                          Target{ARGB8888, true, "ARGB8888opaque"}}) {
            const std::string tail = std::string("/") + dt.name + "<-ARGB8888/" + KindName(kind);
            SideBySide(RegisterBenchmark(("BlendAlpha" + tail).c_str(), Ours, EffectBltOp::BlendAlpha, dt.type, ARGB8888,
                                         kind, 0, 0, dt.opaque, Blend::SimdLevel::Avx2));
            SideBySide(RegisterBenchmark(("BlendAlpha_sse2" + tail).c_str(), Ours, EffectBltOp::BlendAlpha, dt.type,
                                         ARGB8888, kind, 0, 0, dt.opaque, Blend::SimdLevel::Sse2));
            SideBySide(RegisterBenchmark(("pixman_OVER" + tail).c_str(), PixmanOver,
                                         dt.type == ARGB8888 ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, kind, 255, dt.opaque));
            SideBySide(RegisterBenchmark(("SDL_BLEND" + tail).c_str(), SdlBlit, dt.type, ARGB8888, kind, SDL_BLENDMODE_BLEND, 255,
                                         dt.opaque));
        }
    }
    for (SurfaceType dt : {XRGB8888, ARGB8888}) {
        const std::string tail = std::string("/") + PairName(dt, ARGB8888);
        SideBySide(RegisterBenchmark(("Text/BlendAlpha" + tail).c_str(), OursText, dt, Blend::SimdLevel::Avx2));
        SideBySide(RegisterBenchmark(("Text/BlendAlpha_sse2" + tail).c_str(), OursText, dt, Blend::SimdLevel::Sse2));
        SideBySide(RegisterBenchmark(("Text/pixman_OVER" + tail).c_str(), PixmanText,
                                     dt == ARGB8888 ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8));
    }
    // Constant rates on the 32-bit pairs the engine draws, against pixman's
    // cross-fade (OVER through a solid mask) and SDL's surface alpha.
    for (auto [dt, st] : {std::pair{XRGB8888, XRGB8888}, {XRGB8888, ARGB8888}, {ARGB8888, ARGB8888}, {ARGB8888, XRGB8888}}) {
        for (EffectBltOp op : {EffectBltOp::BlendRate, EffectBltOp::KeyBlendRate}) {
            const std::string name = std::string(op == EffectBltOp::BlendRate ? "BlendRate/" : "KeyBlendRate/") + PairName(dt, st);
            SideBySide(RegisterBenchmark(name.c_str(), Ours, op, dt, st, AlphaKind::Uniform, 128, 0, false,
                                         Blend::SimdLevel::Avx2));
        }
    }
    for (SurfaceType dt : {XRGB8888, ARGB8888}) {
        const std::string tail = std::string("/") + PairName(dt, ARGB8888) + "/rate128";
        SideBySide(RegisterBenchmark(("pixman_OVER_solid_mask" + tail).c_str(), PixmanOver,
                                     dt == ARGB8888 ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, AlphaKind::Uniform, 128, false));
        SideBySide(RegisterBenchmark(("SDL_BLEND_alphamod" + tail).c_str(), SdlBlit, dt, ARGB8888,
                                     AlphaKind::Uniform, SDL_BLENDMODE_BLEND, 128, false));
    }
    for (auto [dt, st] : {std::pair{XRGB8888, ARGB8888}, {ARGB8888, ARGB8888}}) {
        RegisterFixedCost("BlendAlpha", EffectBltOp::BlendAlpha, dt, st, 0);
        RegisterFixedCost("BlendRate", EffectBltOp::BlendRate, dt, st, 128);
    }
    // Every body of the family, uniform random alpha, rates 128 (and b = 100).
    RegisterEveryPair({10, 14, 15, 16, 17}, 128, 100);
    return 0;
}

const int registered = RegisterAll();

} // namespace
