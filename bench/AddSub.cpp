// The add/subtract family side by side with pixman (ADD; the source made
// premultiplied before timing, as our alpha-weighted add of an ARGB8888
// source amounts to that) and SDL2 (SDL_BlitSurface, SDL_BLENDMODE_ADD, which
// weighs the source by its alpha) on the same 640 x 480 pixels. pixman's ADD
// saturates byte 3 where ours wraps an X byte or keeps it. Every contestant
// gets its destination restored before each iteration, outside the timing.
// Items are pixels.

#include <benchmark/benchmark.h>

#include <pixman.h>

#include <string>
#include <vector>

#include "bench/BlitSurface.h"

using namespace blitbench;

namespace {

// pixman's ADD of the source onto an x8r8g8b8 destination; an ARGB8888
// source goes premultiplied.
void PixmanAdd(benchmark::State& state, SurfaceType st)
{
    Surface dst(XRGB8888, AlphaKind::Uniform, 2), src(st, AlphaKind::Uniform, 3);
    std::vector<uint32_t> pixels(src.Words(), src.Words() + size_t(Width) * Height);
    if (st == ARGB8888) {
        for (uint32_t& p : pixels) {
            const uint32_t alpha = p >> 24;
            const auto scale = [&](int shift) { return (((p >> shift) & 0xFF) * alpha + 127) / 255 << shift; };
            p = alpha << 24 | scale(16) | scale(8) | scale(0);
        }
    }
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_x8r8g8b8, Width, Height, dst.Words(), dst.pitch);
    pixman_image_t* s = pixman_image_create_bits(st == ARGB8888 ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, Width, Height,
                                                 pixels.data(), Width * 4);
    Timed(state, dst, [&] { pixman_image_composite32(PIXMAN_OP_ADD, s, nullptr, d, 0, 0, 0, 0, 0, 0, Width, Height); });
    pixman_image_unref(d);
    pixman_image_unref(s);
}

int RegisterAll()
{
    using benchmark::RegisterBenchmark;
    for (SurfaceType st : {XRGB8888, ARGB8888}) {
        const std::string tail = "/" + PairName(XRGB8888, st);
        SideBySide(RegisterBenchmark(("Add" + tail).c_str(), Ours, EffectBltOp::Add, XRGB8888, st, AlphaKind::Uniform,
                                     0, 0, false, Blend::SimdLevel::Avx2));
        SideBySide(RegisterBenchmark(("Add_sse2" + tail).c_str(), Ours, EffectBltOp::Add, XRGB8888, st,
                                     AlphaKind::Uniform, 0, 0, false, Blend::SimdLevel::Sse2));
        SideBySide(RegisterBenchmark(("Add_scalar" + tail).c_str(), Ours, EffectBltOp::Add, XRGB8888, st,
                                     AlphaKind::Uniform, 0, 0, false, Blend::SimdLevel::None));
        SideBySide(RegisterBenchmark(("pixman_ADD" + tail).c_str(), PixmanAdd, st));
        SideBySide(RegisterBenchmark(("SDL_ADD" + tail).c_str(), SdlBlit, XRGB8888, st, AlphaKind::Uniform,
                                     SDL_BLENDMODE_ADD, 255, false));
        RegisterFixedCost("Add", EffectBltOp::Add, XRGB8888, st, 0);
        RegisterFixedCost("Sub", EffectBltOp::Sub, XRGB8888, st, 0);
    }
    // Every body of the family, uniform random alpha, rate 128.
    RegisterEveryPair({2, 3, 4, 5, 6, 7, 8, 9}, 128, 0);
    return 0;
}

const int registered = RegisterAll();

} // namespace
