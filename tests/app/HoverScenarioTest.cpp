// A picture button lit and unlit by a pointer warped without raw input in the
// real player under Xvfb; the scenario is quiltor-hover.sh, which leaves its
// screenshots in the build's screenshots/.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

TEST(Executable, WarpedPointerLightsThePictureButtonUnderItOnly)
{
    const int result = scenario::Run("quiltor-hover.sh");
    if (result == 77)
        GTEST_SKIP() << "xvfb-run, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
