// Pointer and keys as touchpads, xdotool and remote desktops send them, in the
// real player under Xvfb; the scenarios leave their screenshots in the
// build's screenshots/.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

namespace {

void ExpectScenario(const char* script)
{
    const int result = scenario::Run(script);
    if (result == 77)
        GTEST_SKIP() << "Xvfb, xauth, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}

} // namespace

// Taps: the release right after the press.
TEST(Executable, TappedClicksAndKeysReachTheDrawnMenuAndDialogs)
{
    ExpectScenario("quiltor-taps.sh");
}

// A pointer warped without raw input lights the picture button under it only.
TEST(Executable, WarpedPointerLightsThePictureButtonUnderItOnly)
{
    ExpectScenario("quiltor-hover.sh");
}
