// Display formats named from bit counts and masks; unknown ones logged.

#include <gtest/gtest.h>

#include "draw/effect/SurfaceFormatDetector.h"
#include "tests/kit/RecordingErrorLog.h"

using namespace kivotasuGameKit;

namespace {

TEST(SurfaceFormatDetectorTest, KnownMasksNameTheirFormat)
{
    EXPECT_EQ(SurfaceTypeFromPixelFormat(8, 0, 0, 0), Pal8);
    EXPECT_EQ(SurfaceTypeFromPixelFormat(16, 0xF800, 0x07E0, 0x001F), RGB565);
    EXPECT_EQ(SurfaceTypeFromPixelFormat(16, 0x7C00, 0x03E0, 0x001F), RGB555);
    EXPECT_EQ(SurfaceTypeFromPixelFormat(24, 0xFF0000, 0xFF00, 0xFF), RGB888);
    EXPECT_EQ(SurfaceTypeFromPixelFormat(24, 0xFF, 0xFF00, 0xFF0000), BGR888);
    EXPECT_EQ(SurfaceTypeFromPixelFormat(32, 0xFF0000, 0xFF00, 0xFF), XRGB8888);
    EXPECT_EQ(SurfaceTypeFromPixelFormat(32, 0xFF, 0xFF00, 0xFF0000), XBGR8888);
}

TEST(SurfaceFormatDetectorTest, UnknownFormatsAreLoggedAndGiveOne)
{
    testkit::ScopedErrorLogRecorder log;
    EXPECT_EQ(SurfaceTypeFromPixelFormat(16, 0x0F00, 0x00F0, 0x000F), SurfaceType(1));
    EXPECT_EQ(log->Messages(), (std::vector<std::string>{"CDirectDrawSurfaceManager::16bppの不明ピクセルフォーマット検出",
                                                         "BMask=0xf00 BMask=0xf0 BMask=0xf"}));
    log->Clear();
    EXPECT_EQ(SurfaceTypeFromPixelFormat(32, 0xFF00, 0xFF, 0xFF0000), SurfaceType(1));
    EXPECT_TRUE(log->Contains("32bppの不明ピクセルフォーマット検出"));
    log->Clear();
    EXPECT_EQ(SurfaceTypeFromPixelFormat(15, 1, 2, 3), SurfaceType(1));
    EXPECT_EQ(log->Messages(), (std::vector<std::string>{"CDirectDrawSurfaceManager::bpp不明のピクセルフォーマット検出",
                                                         "nBpp=15 BMask=0x1 BMask=0x2 BMask=0x3"}));
}

} // namespace
