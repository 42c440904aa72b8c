// The polygon transfer beside pixman's transformed composite (nearest filter)
// on the same 640 x 480 XRGB8888 buffers, each doing the same work:
// - Scaled: a 256 x 256 texture stretched over the whole screen, an
//   axis-aligned quad; pixman SRC with a scale transform over the screen.
//   Shrunk: the same with a 1024 x 1024 texture (1.6 columns a pixel). Their
//   spans keep their source row, fetched without gathers.
// - Rotated: a 512 x 512 texture turned by 30 degrees at 1.6x, which covers
//   the whole screen; pixman SRC (Copy, KeyCopy) or OVER of a premultiplied
//   source (BlendAlpha) with the affine transform over the screen.
//   Items of both are the 307,200 screen pixels.
// - Sprite: a 64 x 64 texture turned by 30 degrees, one call per item; pixman
//   composites its bounding box, the least area a transform leaves it (OVER
//   there leaves the screen outside the sprite alone).
// The scaled, shrunk and rotated copies run at each vector level ("/avx2",
// "/sse2", "/none", each at most the cap) in the same run as pixman's rows, so
// that their ratios hold however busy the machine is; the rest at the widest.

#include <benchmark/benchmark.h>

#include <pixman.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bench/SimdCap.h"
#include "draw/effect/EffectBlitter.h"
#include "draw/effect/SurfaceInfo.h"
#include "draw/effect/alpha/SimdLevel.h"
#include "draw/polygon/PolygonBltParams.h"

using namespace kivotasuGameKit;

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr double kAngle = 0.5235987755982988;

struct Buffer {
    Buffer(SurfaceType type, int width, int height, uint32_t seed) : pixels(size_t(width) * height)
    {
        std::mt19937 rng(seed);
        for (uint32_t& p : pixels) {
            p = rng() & (type == XRGB8888 ? 0x00FFFFFFu : 0xFFFFFFFFu);
            if (type == ARGB8888) { // premultiplied, so that pixman's OVER reads it as ours does
                const uint32_t a = p >> 24;
                p = a << 24 | ((p >> 16 & 0xFF) * a / 255) << 16 | ((p >> 8 & 0xFF) * a / 255) << 8 | (p & 0xFF) * a / 255;
            }
        }
        SIZE size{width, height};
        info.Init(pixels.data(), width * 4, &size, type);
    }
    std::vector<uint32_t> pixels;
    CSurfaceInfo info;
};

// A texture of side n mapped onto the screen: turned by angle and scaled by
// (sx, sy) about the screen's centre.
struct Mapping {
    int n;
    double angle, sx, sy;
};

constexpr Mapping kScaled{256, 0, kWidth / 256.0, kHeight / 256.0};
constexpr Mapping kShrunk{1024, 0, kWidth / 1024.0, kHeight / 1024.0};
constexpr Mapping kRotated{512, kAngle, 1.6, 1.6};
constexpr Mapping kSprite{64, kAngle, 1, 1};

// The side of the sprite's bounding box.
int SpriteBox() { return int(std::ceil(kSprite.n * (std::cos(kAngle) + std::sin(kAngle)))); }

void Ours(benchmark::State& state, Mapping m, uint32_t mode, SurfaceType textureType,
          Blend::SimdLevel level = Blend::SimdLevel::Avx2)
{
    CEffectBlitter::BuildBlendTables();
    blitbench::HoldSimdLevel(level);
    Buffer texture(textureType, m.n, m.n, 3), screen(XRGB8888, kWidth, kHeight, 2);
    texture.info.SetColorKey(texture.pixels[7] & 0xFFFFFF);
    const int last = m.n - 1;
    const POINT source[4]{{0, 0}, {last, 0}, {last, last}, {0, last}};
    POINT destination[4];
    for (int i = 0; i < 4; ++i) {
        // Corner pixels' outer edges, so that the scaled quad ends on the screen's last pixels.
        const double x = (source[i].x ? m.n : 0) - m.n / 2.0, y = (source[i].y ? m.n : 0) - m.n / 2.0;
        const double c = std::cos(m.angle), s = std::sin(m.angle);
        destination[i] = {int(std::lround(kWidth / 2.0 + x * m.sx * c - y * m.sy * s - (source[i].x ? 1 : 0))),
                          int(std::lround(kHeight / 2.0 + x * m.sx * s + y * m.sy * c - (source[i].y ? 1 : 0)))};
    }
    const PolygonBltParams params{source, destination, nullptr, 0, 4};
    for (auto _ : state) benchmark::DoNotOptimize(screen.info.PolygonBlt(mode, &texture.info, &params, 0));
    state.SetItemsProcessed(int64_t(state.iterations()) * (m.n == kSprite.n ? 1 : kWidth * kHeight));
    blitbench::HoldSimdLevel(Blend::SimdLevel::Avx2);
}

void Pixman(benchmark::State& state, Mapping m, pixman_op_t op, pixman_format_code_t textureFormat)
{
    Buffer texture(textureFormat == PIXMAN_x8r8g8b8 ? XRGB8888 : ARGB8888, m.n, m.n, 3);
    Buffer screen(XRGB8888, kWidth, kHeight, 2);
    pixman_image_t* s = pixman_image_create_bits(textureFormat, m.n, m.n, texture.pixels.data(), m.n * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, screen.pixels.data(), kWidth * 4);
    // pixman maps destination points back into the texture.
    pixman_f_transform back;
    pixman_f_transform_init_identity(&back);
    pixman_f_transform_translate(&back, nullptr, -kWidth / 2.0, -kHeight / 2.0);
    pixman_f_transform_rotate(&back, nullptr, std::cos(-m.angle), std::sin(-m.angle));
    pixman_f_transform_scale(&back, nullptr, 1 / m.sx, 1 / m.sy);
    pixman_f_transform_translate(&back, nullptr, m.n / 2.0, m.n / 2.0);
    pixman_transform fixed;
    pixman_transform_from_pixman_f_transform(&fixed, &back);
    pixman_image_set_transform(s, &fixed);
    pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
    const bool sprite = m.n == kSprite.n;
    const int w = sprite ? SpriteBox() : kWidth, h = sprite ? SpriteBox() : kHeight;
    const int x = (kWidth - w) / 2, y = (kHeight - h) / 2;
    for (auto _ : state) pixman_image_composite32(op, s, nullptr, d, x, y, 0, 0, x, y, w, h);
    state.SetItemsProcessed(int64_t(state.iterations()) * (sprite ? 1 : kWidth * kHeight));
    pixman_image_unref(s);
    pixman_image_unref(d);
}

const bool copiesAtEachLevel = [] {
    using Blend::SimdLevel;
    for (const auto& [name, m] : {std::pair{"Scaled", kScaled}, {"Shrunk", kShrunk}, {"Rotated", kRotated}})
        for (const auto& [level, suffix] :
             {std::pair{SimdLevel::Avx2, "avx2"}, {SimdLevel::Sse2, "sse2"}, {SimdLevel::None, "none"}})
            benchmark::RegisterBenchmark((std::string("Ours/") + name + "_Copy/" + suffix).c_str(), Ours, m, 0u,
                                         XRGB8888, level);
    return true;
}();

BENCHMARK_CAPTURE(Pixman, Scaled_SRC, kScaled, PIXMAN_OP_SRC, PIXMAN_x8r8g8b8);
BENCHMARK_CAPTURE(Pixman, Shrunk_SRC, kShrunk, PIXMAN_OP_SRC, PIXMAN_x8r8g8b8);
BENCHMARK_CAPTURE(Ours, Rotated_KeyCopy, kRotated, 1u, XRGB8888);
BENCHMARK_CAPTURE(Pixman, Rotated_SRC, kRotated, PIXMAN_OP_SRC, PIXMAN_x8r8g8b8);
BENCHMARK_CAPTURE(Ours, Rotated_BlendAlpha_from_ARGB8888, kRotated, 10u, ARGB8888);
BENCHMARK_CAPTURE(Pixman, Rotated_OVER, kRotated, PIXMAN_OP_OVER, PIXMAN_a8r8g8b8);
BENCHMARK_CAPTURE(Ours, Sprite_Copy, kSprite, 0u, XRGB8888);
BENCHMARK_CAPTURE(Pixman, Sprite_SRC_box, kSprite, PIXMAN_OP_SRC, PIXMAN_x8r8g8b8);
BENCHMARK_CAPTURE(Ours, Sprite_BlendAlpha_from_ARGB8888, kSprite, 10u, ARGB8888);
BENCHMARK_CAPTURE(Pixman, Sprite_OVER_box, kSprite, PIXMAN_OP_OVER, PIXMAN_a8r8g8b8);

} // namespace
