// The player started where there is no game, under Xvfb; the scenario is
// quiltor-nogame.sh, which leaves its screenshot in the build's screenshots/.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

TEST(Executable, PlayerInAnEmptyFolderSaysWhichStartScriptItLookedFor)
{
    const int result = scenario::Run("quiltor-nogame.sh");
    if (result == 77)
        GTEST_SKIP() << "xvfb-run, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
