// The settings sheet's three pages and the custom-skip dialog drawn in the
// real player under Xvfb; the scenario is quiltor-settings.sh, which leaves
// its screenshots in the build's screenshots/.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

TEST(Executable, SettingsPagesAndCustomSkipDialogAreDrawnInTheWindow)
{
    const int result = scenario::Run("quiltor-settings.sh");
    if (result == 77)
        GTEST_SKIP() << "Xvfb, xauth, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
