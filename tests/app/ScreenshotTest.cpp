// The real player under Xvfb: its window shows the start script's picture, in
// a window and in full screen; the scenario is quiltor-screenshot.sh.
#include "platform/FileSystem.h"
#include "platform/HostPath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

} // namespace

TEST(Executable, ScreenshotShowsTheStartPictureInWindowAndFullScreen)
{
    const std::string tests = FolderOf(*platform::ToHostPath(platform::FileSystem().ExecutablePath()));
    const std::string command =
        "sh '" + std::string(QUILTOR_SOURCE_DIR "/tests/app") + "/quiltor-screenshot.sh' '" + FolderOf(tests) + "/game/quiltor'";
    const int status = std::system(command.c_str());
    const int result = status == -1 ? -1 : (status >> 8) & 0xFF;
    if (result == 77)
        GTEST_SKIP() << "Xvfb, xauth, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
