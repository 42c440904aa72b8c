#include <gtest/gtest.h>

#include "script/dib/PictureEffects.h"
#include "tests/script/dib/PictureKit.h"

using dibkit::MakePlane;
using dibkit::Pixel;

namespace {

// Two pixels of known channels in the top row, a third below them.
std::uint32_t Known(int x, int y)
{
    if (y == 1) return 0x80FFFFFF;
    return x == 0 ? 0xC0306090u : 0x01FF8000u;
}

TEST(PictureEffectsTest, DeepTintsTheGreyOfEachPixelAndKeepsAlpha)
{
    auto plane = MakePlane(2, 2, Known);
    DIB::TintMonochrome(*plane, 0xFF8040);
    // grey (0x30 + 0x60 + 0x90) / 3 = 96: red 96*255/256 = 95, green 96*128/256 = 48, blue 96*64/256 = 24.
    EXPECT_EQ(Pixel(*plane, 0, 0), 0xC05F3018u);
    // grey (255 + 128 + 0) / 3 = 127: 126, 63, 31.
    EXPECT_EQ(Pixel(*plane, 1, 0), 0x017E3F1Fu);
    // white: grey 255 gives 254, 127, 63.
    EXPECT_EQ(Pixel(*plane, 0, 1), 0x80FE7F3Fu);
}

TEST(PictureEffectsTest, PrismScalesEachChannelByColourOver128Saturating)
{
    auto plane = MakePlane(2, 2, Known);
    DIB::ScaleChannels(*plane, 0x80FF40);
    // red kept (0x80), green doubled (x255/128), blue halved.
    EXPECT_EQ(Pixel(*plane, 0, 0), 0xC030BF48u);
    EXPECT_EQ(Pixel(*plane, 1, 0), 0x01FFFF00u);
    EXPECT_EQ(Pixel(*plane, 0, 1), 0x80FFFF7Fu);
}

TEST(PictureEffectsTest, FlipTurnsTheRowsUpsideDown)
{
    auto plane = MakePlane(3, 5, dibkit::Gradient);
    DIB::FlipRows(*plane);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(Pixel(*plane, x, y), dibkit::Gradient(x, 4 - y)) << x << "," << y;
}

TEST(PictureEffectsTest, NegateComplementsTheColourOnly)
{
    auto plane = MakePlane(2, 2, Known);
    DIB::NegateColours(*plane);
    EXPECT_EQ(Pixel(*plane, 0, 0), 0xC0CF9F6Fu);
    EXPECT_EQ(Pixel(*plane, 1, 0), 0x01007FFFu);
}

TEST(PictureEffectsTest, KeyToAlphaClearsTheKeyColourAndOpensEveryOtherPixel)
{
    auto plane = MakePlane(2, 2, Known);
    DIB::KeyToAlpha(*plane, true, 0x00FFFFFF);
    EXPECT_EQ(Pixel(*plane, 0, 1), 0x00FFFFFFu);
    EXPECT_EQ(Pixel(*plane, 1, 1), 0x00FFFFFFu);
    EXPECT_EQ(Pixel(*plane, 0, 0), 0xFF306090u);
    EXPECT_EQ(Pixel(*plane, 1, 0), 0xFFFF8000u);

    // A key with an alpha of its own matches by colour; no key opens all.
    DIB::KeyToAlpha(*plane, true, 0x12306090);
    EXPECT_EQ(Pixel(*plane, 0, 0), 0x00306090u);
    EXPECT_EQ(Pixel(*plane, 0, 1), 0xFFFFFFFFu);
    DIB::KeyToAlpha(*plane, false, 0x306090);
    EXPECT_EQ(Pixel(*plane, 0, 0), 0xFF306090u);
}

TEST(PictureEffectsTest, PlanesOfOtherTypesAreLeftAlone)
{
    kivotasuGameKit::Draw::CFastPlane plane;
    plane.CreateMemorySurface(1, 1, kivotasuGameKit::SurfaceType::XRGB8888);
    dibkit::SetPixel(plane, 0, 0, 0x00336699);
    DIB::TintMonochrome(plane, 0xFFFFFF);
    DIB::ScaleChannels(plane, 0x000000);
    DIB::KeyToAlpha(plane, true, 0x336699);
    EXPECT_EQ(Pixel(plane, 0, 0), 0x00336699u);
}

} // namespace
