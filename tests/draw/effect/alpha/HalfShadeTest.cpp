// The window's half shade at every instruction-set level against the rate
// blend it stands for: each cell blended at 128 onto opaque black. The rows
// carry every (alpha, channel) pair, ends that are no whole vector, and guard
// bytes past the width.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw/effect/EffectBlitter.h"
#include "draw/effect/SurfaceInfo.h"
#include "draw/effect/alpha/HalfShade.h"
#include "draw/effect/alpha/SimdLevel.h"
#include "tests/draw/effect/FamilyKit.h"

using namespace kivotasuGameKit;
using Blend::SimdLevel;
using pixelkit::CappedSimd;
using pixelkit::SimdLevelName;

namespace {

constexpr int Width = 259, Height = 512, Pitch = Width * 4 + 12;

class HalfShadeTest : public ::testing::TestWithParam<SimdLevel> {};

TEST_P(HalfShadeTest, MatchesTheRateBlendOntoBlack)
{
    CappedSimd cap(GetParam());
    if (Blend::CurrentSimdLevel() != GetParam()) GTEST_SKIP() << "the processor lacks this level";
    // Row y < 256 has alpha y, its cells run through every value of each
    // channel; the rows below again, every third cell opaque.
    std::vector<uint8_t> pixels(size_t(Pitch) * Height, 0xA5);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const uint8_t alpha = y >= 256 && x % 3 == 0 ? 255 : uint8_t(y);
            const uint8_t cell[4] = {uint8_t(x), uint8_t(255 - x), uint8_t(x * 7 + y), alpha};
            std::memcpy(&pixels[size_t(y) * Pitch + size_t(x) * 4], cell, 4);
        }
    std::vector<uint8_t> black(size_t(Width) * Height * 4);
    for (size_t i = 0; i < black.size(); i += 4) black[i + 3] = 255;
    const SIZE size{Width, Height};
    CSurfaceInfo source, shade;
    source.Init(pixels.data(), Pitch, &size, ARGB8888);
    shade.Init(black.data(), Width * 4, &size, ARGB8888);
    const BltParams request;
    const BltRates rate{128, 0};
    ASSERT_EQ(shade.EffectBlt(EffectBltOp::BlendRate, &source, &request, &rate), 0);

    Blend::HalfShade(pixels.data(), Pitch, Width, Height);
    for (int y = 0; y < Height; ++y) {
        const uint8_t* row = &pixels[size_t(y) * Pitch];
        ASSERT_EQ(std::memcmp(row, &black[size_t(y) * Width * 4], Width * 4), 0) << "row " << y;
        for (int i = Width * 4; i < Pitch; ++i) ASSERT_EQ(row[i], 0xA5) << "guard byte of row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, HalfShadeTest, ::testing::Values(SimdLevel::None, SimdLevel::Sse2, SimdLevel::Avx2),
                         [](const auto& info) { return std::string(SimdLevelName(info.param)); });

} // namespace
