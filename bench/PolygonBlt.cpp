// The polygon transfer: a 256 x 256 texture turned by 30 degrees and scaled
// by 1.6 onto a 640 x 480 XRGB8888 surface, in each mode, beside pixman's
// affine composite of the same quad (nearest filter) on the same buffers.
// Items are the destination pixels the quad covers.

#include <benchmark/benchmark.h>

#include <pixman.h>

#include <cmath>
#include <random>
#include <vector>

#include "bench/SimdCap.h"
#include "draw/effect/EffectBlitter.h"
#include "draw/effect/SurfaceInfo.h"
#include "draw/polygon/PolygonBltParams.h"

using namespace kivotasuGameKit;

namespace {

constexpr int kWidth = 640, kHeight = 480, kTexture = 256;
constexpr double kAngle = 0.5235987755982988, kScale = 1.6;

struct Buffer {
    Buffer(SurfaceType type, int width, int height, uint32_t seed) : pixels(size_t(width) * height)
    {
        std::mt19937 rng(seed);
        for (uint32_t& p : pixels) p = rng() & (type == XRGB8888 ? 0x00FFFFFFu : 0xFFFFFFFFu);
        SIZE size{width, height};
        info.Init(pixels.data(), width * 4, &size, type);
    }
    std::vector<uint32_t> pixels;
    CSurfaceInfo info;
};

void Ours(benchmark::State& state, uint32_t mode, SurfaceType textureType)
{
    CEffectBlitter::BuildBlendTables();
    Buffer texture(textureType, kTexture, kTexture, 3), screen(XRGB8888, kWidth, kHeight, 2);
    texture.info.SetColorKey(texture.pixels[7] & 0xFFFFFF);
    const POINT source[4]{{0, 0}, {kTexture - 1, 0}, {kTexture - 1, kTexture - 1}, {0, kTexture - 1}};
    POINT destination[4];
    for (int i = 0; i < 4; ++i) {
        const double x = (source[i].x - 127.5) * kScale, y = (source[i].y - 127.5) * kScale;
        destination[i] = {int(std::lround(320 + x * std::cos(kAngle) - y * std::sin(kAngle))),
                          int(std::lround(240 + x * std::sin(kAngle) + y * std::cos(kAngle)))};
    }
    const PolygonBltParams params{source, destination, nullptr, 0, 4};
    for (auto _ : state) benchmark::DoNotOptimize(screen.info.PolygonBlt(mode, &texture.info, &params, 0));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kTexture * kScale * kTexture * kScale));
}

void Pixman(benchmark::State& state, pixman_op_t op, pixman_format_code_t textureFormat)
{
    Buffer texture(textureFormat == PIXMAN_x8r8g8b8 ? XRGB8888 : ARGB8888, kTexture, kTexture, 3);
    Buffer screen(XRGB8888, kWidth, kHeight, 2);
    pixman_image_t* s = pixman_image_create_bits(textureFormat, kTexture, kTexture, texture.pixels.data(), kTexture * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, screen.pixels.data(), kWidth * 4);
    // pixman maps destination points back into the texture.
    pixman_f_transform back;
    pixman_f_transform_init_identity(&back);
    pixman_f_transform_translate(&back, nullptr, -320, -240);
    pixman_f_transform_rotate(&back, nullptr, std::cos(-kAngle), std::sin(-kAngle));
    pixman_f_transform_scale(&back, nullptr, 1 / kScale, 1 / kScale);
    pixman_f_transform_translate(&back, nullptr, 128, 128);
    pixman_transform fixed;
    pixman_transform_from_pixman_f_transform(&fixed, &back);
    pixman_image_set_transform(s, &fixed);
    pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
    // The quad's bounding box, so that pixman is not charged for the rest.
    const int half = int(std::ceil(kTexture * kScale * (std::cos(kAngle) + std::sin(kAngle)) / 2));
    for (auto _ : state)
        pixman_image_composite32(op, s, nullptr, d, 320 - half, 240 - half, 0, 0, 320 - half, 240 - half, 2 * half,
                                 2 * half);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kTexture * kScale * kTexture * kScale));
    pixman_image_unref(s);
    pixman_image_unref(d);
}

BENCHMARK_CAPTURE(Ours, Copy_XRGB8888, 0u, XRGB8888);
BENCHMARK_CAPTURE(Ours, KeyCopy_XRGB8888, 1u, XRGB8888);
BENCHMARK_CAPTURE(Ours, BlendAlpha_XRGB8888_from_ARGB8888, 10u, ARGB8888);
BENCHMARK_CAPTURE(Pixman, pixman_SRC_nearest, PIXMAN_OP_SRC, PIXMAN_x8r8g8b8);
BENCHMARK_CAPTURE(Pixman, pixman_OVER_nearest, PIXMAN_OP_OVER, PIXMAN_a8r8g8b8);

} // namespace
