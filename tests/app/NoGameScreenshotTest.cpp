// The player started where there is no game, and in a game whose picture is
// missing, under Xvfb; the scenario is quiltor-nogame.sh, which leaves its
// screenshot in the build's screenshots/.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

TEST(Executable, PlayerWithoutAGameOrWithAMissingPictureSaysWhyOnStderr)
{
    const int result = scenario::Run("quiltor-nogame.sh");
    if (result == 77)
        GTEST_SKIP() << "Xvfb, xauth, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
