// The drawn menu and boxes in the real player under Xvfb; the scenario is
// quiltor-menu.sh, which leaves its screenshots in the build's screenshots/.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

TEST(Executable, RightClickMenuExitQuestionAndScriptErrorBoxAreDrawnInTheWindow)
{
    const int result = scenario::Run("quiltor-menu.sh");
    if (result == 77)
        GTEST_SKIP() << "Xvfb, xauth, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
