#include "platform/Letterbox.h"

#include <gtest/gtest.h>

using platform::FitLetterbox;
using platform::Point;

TEST(Letterbox, WideScreenGetsBarsLeftAndRight)
{
    // 1920 / 640 = 3, 1080 / 480 = 2.25: the height limits the scale.
    auto box = FitLetterbox({1920, 1080}, {640, 480});
    EXPECT_DOUBLE_EQ(box.scale, 2.25);
    EXPECT_EQ(box.width, 1440);
    EXPECT_EQ(box.height, 1080);
    EXPECT_EQ(box.offsetX, 240);
    EXPECT_EQ(box.offsetY, 0);

    EXPECT_EQ(platform::ToLogical(box, {240, 0}).x, 0);
    Point last = platform::ToLogical(box, {240 + 1439, 1079});
    EXPECT_EQ(last.x, 639);
    EXPECT_EQ(last.y, 479);
    // The left bar is outside the client area, as left of a window is.
    EXPECT_LT(platform::ToLogical(box, {100, 500}).x, 0);
}

TEST(Letterbox, RoundTripAndTallScreen)
{
    auto box = FitLetterbox({800, 1000}, {640, 480});
    EXPECT_DOUBLE_EQ(box.scale, 1.25);
    EXPECT_EQ(box.offsetX, 0);
    EXPECT_EQ(box.offsetY, (1000 - 600) / 2);
    for (Point p : {Point{0, 0}, Point{320, 240}, Point{639, 479}}) {
        Point back = platform::ToLogical(box, platform::ToOuter(box, p));
        EXPECT_EQ(back.x, p.x);
        EXPECT_EQ(back.y, p.y);
    }
}

TEST(Letterbox, SameSizeIsIdentityAndEmptyIsHarmless)
{
    auto box = FitLetterbox({640, 480}, {640, 480});
    Point p = platform::ToLogical(box, {17, 33});
    EXPECT_EQ(p.x, 17);
    EXPECT_EQ(p.y, 33);

    auto empty = FitLetterbox({0, 0}, {640, 480});
    EXPECT_DOUBLE_EQ(empty.scale, 1.0);
}
