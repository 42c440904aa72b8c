// The effect blitter side by side with memcpy, pixman (SRC) and SDL2's
// blitter on the same buffers. Items are pixels.

#include <benchmark/benchmark.h>

#include <SDL2/SDL.h>
#include <pixman.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/SimdCap.h"
#include "draw/effect/EffectBlitter.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/SurfaceInfo.h"

using namespace kivotasuGameKit;

namespace {

// A memory surface with pitch = width x cell size, as planes make them.
struct Surface {
    Surface(SurfaceType type, int w, int h) : width(w), height(h), pitch(w * BytesPerPixel(type))
    {
        bytes.resize(size_t(pitch) * h);
        std::mt19937 rng(w * 31 + h);
        for (auto& b : bytes) b = uint8_t(rng());
        const SIZE size{w, h};
        info.Init(bytes.data(), pitch, &size, type);
    }
    // A sprite on the key colour: about half of each row, in one run, is
    // picture, the rest key.
    void PlantKey(SurfaceType type)
    {
        uint8_t cell[4];
        const int size = PackColourCell(type, Key, cell);
        for (int y = 0; y < height; ++y) {
            const int from = (y * 7) % (width / 2);
            for (int x = 0; x < width; ++x)
                if (x < from || x >= from + width / 2) std::memcpy(&bytes[size_t(y) * pitch + size_t(x) * size], cell, size);
        }
    }
    static constexpr uint32_t Key = 0x00102030;
    int width, height, pitch;
    std::vector<uint8_t> bytes;
    CSurfaceInfo info;
};

// What the source holds: random cells (the key all but absent) or a keyed sprite.
enum class Source { Noise, Sprite };

void Count(benchmark::State& state, int w, int h) { state.SetItemsProcessed(int64_t(state.iterations()) * w * h); }

void EffectBlt(benchmark::State& state, EffectBltOp op, SurfaceType dt, SurfaceType st, Source source)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    Surface dst(dt, w, h), src(st, w, h);
    if (source == Source::Sprite) src.PlantKey(st);
    src.info.SetColorKey(Surface::Key);
    const BltParams request;
    for (auto _ : state) {
        dst.info.EffectBlt(op, &src.info, &request, nullptr);
        benchmark::ClobberMemory();
    }
    Count(state, w, h);
}

void Memcpy(benchmark::State& state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    Surface dst(XRGB8888, w, h), src(XRGB8888, w, h);
    for (auto _ : state) {
        for (int y = 0; y < h; ++y)
            std::memcpy(dst.bytes.data() + size_t(y) * dst.pitch, src.bytes.data() + size_t(y) * src.pitch,
                        size_t(w) * 4);
        benchmark::ClobberMemory();
    }
    Count(state, w, h);
}

void PixmanSrc(benchmark::State& state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    Surface dst(XRGB8888, w, h), src(XRGB8888, w, h);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, reinterpret_cast<uint32_t*>(dst.bytes.data()), dst.pitch);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, reinterpret_cast<uint32_t*>(src.bytes.data()), src.pitch);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, w, h);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(d);
    pixman_image_unref(s);
    Count(state, w, h);
}

Uint32 SdlFormat(SurfaceType t)
{
    switch (t) {
    case RGB565: return SDL_PIXELFORMAT_RGB565;
    case XRGB8888: return SDL_PIXELFORMAT_XRGB8888;
    case ARGB8888: return SDL_PIXELFORMAT_ARGB8888;
    default: return SDL_PIXELFORMAT_UNKNOWN;
    }
}

// SDL_BlitSurface of the same pair; keyed with a colour key when asked.
void SdlBlit(benchmark::State& state, SurfaceType dt, SurfaceType st, bool keyed, Source source)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    Surface dst(dt, w, h), src(st, w, h);
    if (source == Source::Sprite) src.PlantKey(st);
    SDL_Surface* d = SDL_CreateRGBSurfaceWithFormatFrom(dst.bytes.data(), w, h, 0, dst.pitch, SdlFormat(dt));
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(src.bytes.data(), w, h, 0, src.pitch, SdlFormat(st));
    SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
    if (keyed) SDL_SetColorKey(s, SDL_TRUE, SDL_MapRGB(s->format, 0x10, 0x20, 0x30));
    for (auto _ : state) {
        SDL_Rect r{0, 0, w, h};
        SDL_BlitSurface(s, nullptr, d, &r);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(d);
    SDL_FreeSurface(s);
    Count(state, w, h);
}

void Sizes(benchmark::internal::Benchmark* b) { b->Args({640, 480})->Args({64, 64}); }

const char* Name(SurfaceType t)
{
    static const char* names[] = {"0", "1", "Pal8", "RGB565", "RGB555", "RGB888", "BGR888",
                                  "XRGB8888", "XBGR8888", "9", "ARGB4565", "ARGB4555", "ARGB8888", "ABGR8888"};
    return names[t];
}

int RegisterAll()
{
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("memcpy/XRGB8888", Memcpy)->Apply(Sizes);
    RegisterBenchmark("pixman_SRC/XRGB8888", PixmanSrc)->Apply(Sizes);
    const std::pair<SurfaceType, SurfaceType> compared[] = {
        {XRGB8888, XRGB8888}, {XRGB8888, ARGB8888}, {RGB565, XRGB8888}};
    for (auto [d, s] : compared) {
        const std::string pair = std::string(Name(d)) + "<-" + Name(s);
        RegisterBenchmark(("Copy/" + pair).c_str(), EffectBlt, EffectBltOp::Copy, d, s, Source::Noise)->Apply(Sizes);
        RegisterBenchmark(("SDL/" + pair).c_str(), SdlBlit, d, s, false, Source::Noise)->Apply(Sizes);
    }
    for (SurfaceType t : {XRGB8888, RGB565}) {
        for (Source source : {Source::Noise, Source::Sprite}) {
            const std::string pair = std::string(source == Source::Sprite ? "_sprite/" : "/") + Name(t) + "<-" + Name(t);
            RegisterBenchmark(("KeyCopy" + pair).c_str(), EffectBlt, EffectBltOp::KeyCopy, t, t, source)->Apply(Sizes);
            RegisterBenchmark(("SDL_key" + pair).c_str(), SdlBlit, t, t, true, source)->Apply(Sizes);
        }
    }
    // The fixed cost of one small blit: lock, clip, dispatch, 1 or 576 pixels.
    for (EffectBltOp op : {EffectBltOp::Copy, EffectBltOp::KeyCopy}) {
        const std::string name = std::string(op == EffectBltOp::Copy ? "Fixed/Copy/" : "Fixed/KeyCopy/") + "XRGB8888<-XRGB8888";
        RegisterBenchmark(name.c_str(), EffectBlt, op, XRGB8888, XRGB8888, Source::Noise)->Args({1, 1})->Args({24, 24});
    }
    // Every served pair of copy and keyed copy at full size.
    for (int d = 2; d <= 13; ++d) {
        for (int s = 2; s <= 13; ++s) {
            for (EffectBltOp op : {EffectBltOp::Copy, EffectBltOp::KeyCopy}) {
                if (!EffectBltServes(uint32_t(op), d, s)) continue;
                const std::string name = std::string(op == EffectBltOp::Copy ? "AllCopy/" : "AllKeyCopy/") +
                                         Name(SurfaceType(d)) + "<-" + Name(SurfaceType(s));
                RegisterBenchmark(name.c_str(), EffectBlt, op, SurfaceType(d), SurfaceType(s),
                                  op == EffectBltOp::KeyCopy ? Source::Sprite : Source::Noise)
                    ->Args({640, 480});
            }
        }
    }
    return 0;
}

const int registered = RegisterAll();

} // namespace
