// The clipper's rectangles and stepping terms in the cases that pin them down.

#include <gtest/gtest.h>

#include <climits>

#include "draw/effect/EffectBlitter.h"
#include "tests/kit/pixel/TestSurface.h"

using namespace kivotasuGameKit;

namespace {

class ClipBltTest : public ::testing::Test {
protected:
    int Clip(const BltParams& request) { return CEffectBlitter::ClipBlt(&dst.Info(), &src.Info(), &request, &out); }

    pixelkit::TestSurface dst{pixelkit::kRGB565, 40, 30}, src{pixelkit::kRGB565, 10, 8};
    BltClipResult out{};
};

void ExpectRect(const RECT& r, int l, int t, int rr, int b)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

TEST_F(ClipBltTest, EmptyRequestCopiesTheWholeSourceAtTheOrigin)
{
    ASSERT_EQ(Clip(BltParams{}), 0);
    EXPECT_EQ(out.sameSize, 1);
    ExpectRect(out.source, 0, 0, 10, 8);
    ExpectRect(out.destination, 0, 0, 10, 8);
    ExpectRect(out.clip, 0, 0, 40, 30);
}

TEST_F(ClipBltTest, SourceRectangleOutsideTheSourceLeavesNothing)
{
    const RECT outside{12, 0, 20, 8};
    BltParams request;
    request.sourceRect = &outside;
    EXPECT_EQ(Clip(request), 1);
}

TEST_F(ClipBltTest, AnchorsPlaceThePictureByItsCentreOrCorner)
{
    pixelkit::TestSurface five(pixelkit::kRGB565, 5, 5);
    const POINT at{10, 10};
    BltParams request;
    request.point = &at;
    request.anchor = 4;
    ASSERT_EQ(CEffectBlitter::ClipBlt(&dst.Info(), &five.Info(), &request, &out), 0);
    ExpectRect(out.destination, 8, 8, 13, 13);
    request.anchor = 8;
    ASSERT_EQ(CEffectBlitter::ClipBlt(&dst.Info(), &five.Info(), &request, &out), 0);
    ExpectRect(out.destination, 5, 5, 10, 10);
    // A negative size halves towards minus infinity and leaves an empty picture.
    const SIZE negative{-5, -5};
    request.size = &negative;
    request.anchor = 4;
    EXPECT_EQ(CEffectBlitter::ClipBlt(&dst.Info(), &five.Info(), &request, &out), 1);
}

TEST_F(ClipBltTest, SameSizeClipMovesTheSourceAlike)
{
    const POINT at{-3, 25};
    BltParams request;
    request.point = &at;
    ASSERT_EQ(Clip(request), 0);
    ExpectRect(out.source, 3, 0, 10, 5);
    ExpectRect(out.destination, 0, 25, 7, 30);
}

TEST_F(ClipBltTest, StretchedClipAdvancesTheSourceByTheErrorTerm)
{
    const POINT at{-3, 0};
    const SIZE doubled{20, 16};
    BltParams request;
    request.point = &at;
    request.size = &doubled;
    ASSERT_EQ(Clip(request), 0);
    EXPECT_EQ(out.sameSize, 0);
    EXPECT_EQ(out.source.left, 1);
    EXPECT_EQ(out.xErrorStart, -11);
    EXPECT_EQ(out.xErrorIncrement, 10);
    EXPECT_EQ(out.xErrorDecrement, 20);
    EXPECT_EQ(out.xStep, 0);
    // The right and bottom of the source stay; only the destination loses.
    const POINT right{30, 20};
    request.point = &right;
    ASSERT_EQ(Clip(request), 0);
    ExpectRect(out.source, 0, 0, 10, 8);
    ExpectRect(out.destination, 30, 20, 40, 30);
}

TEST_F(ClipBltTest, UnscaledAxisOfAStretchClippedByOneStepsOneSourcePixel)
{
    const POINT at{-1, 0};
    const SIZE tall{10, 16};
    BltParams request;
    request.point = &at;
    request.size = &tall;
    ASSERT_EQ(Clip(request), 0);
    EXPECT_EQ(out.source.left, 1);
    EXPECT_EQ(out.xStep, 1);
    EXPECT_EQ(out.xErrorIncrement, 0);
}

// Every stretch of a row of 1 to 24 pixels over 1 to 24, clipped by n: the
// clipper hands over the state the unclipped walk has after n columns
// (source start and error), so a body reads the same pixels whether it
// steps before or after its sample. Exact hits of the error included.
TEST_F(ClipBltTest, ClippedStretchStartsWhereTheUnclippedWalkStands)
{
    for (int sw = 1; sw <= 24; ++sw) {
        pixelkit::TestSurface row(pixelkit::kRGB565, sw, 1);
        for (int dw = 1; dw <= 24; ++dw) {
            if (dw == sw) continue;
            const SIZE size{dw, 2};
            int64_t start = 0, error = -dw - 1;
            for (int n = 1; n < dw; ++n) {
                start += sw / dw;
                error += sw % dw;
                if (error >= 0) ++start, error -= dw;
                const POINT at{-n, 0};
                BltParams request;
                request.point = &at;
                request.size = &size;
                ASSERT_EQ(CEffectBlitter::ClipBlt(&dst.Info(), &row.Info(), &request, &out), 0);
                ASSERT_EQ(out.source.left, start) << sw << " over " << dw << " clipped by " << n;
                ASSERT_EQ(out.xErrorStart, error) << sw << " over " << dw << " clipped by " << n;
            }
        }
    }
}

TEST_F(ClipBltTest, ZeroSizesAndEmptyClipsLeaveNothing)
{
    BltParams request;
    const SIZE flat{0, 5}, thin{5, 0};
    request.size = &flat;
    EXPECT_EQ(Clip(request), 1);
    request.size = &thin;
    EXPECT_EQ(Clip(request), 1);
    const RECT inverted{10, 0, 10, 30};
    request.size = nullptr;
    request.clipRect = &inverted;
    EXPECT_EQ(Clip(request), 1);
    const RECT huge{-50, -50, 500, 500};
    request.clipRect = &huge;
    ASSERT_EQ(Clip(request), 0);
    ExpectRect(out.clip, 0, 0, 40, 30);
}

TEST_F(ClipBltTest, SizeEqualToTheSourceTakesTheSameSizePath)
{
    const SIZE same{10, 8};
    BltParams request;
    request.size = &same;
    ASSERT_EQ(Clip(request), 0);
    EXPECT_EQ(out.sameSize, 1);
}

TEST_F(ClipBltTest, FarPointsDoNotOverflow)
{
    const POINT farLeft{-(1 << 30), 0};
    const SIZE wide{INT_MAX, 8};
    BltParams request;
    request.point = &farLeft;
    request.size = &wide;
    ASSERT_EQ(Clip(request), 0);
    EXPECT_GE(out.source.left, 0);
    EXPECT_LT(out.source.left, 10);
    ExpectRect(out.destination, 0, 0, 40, 8);
}

} // namespace
