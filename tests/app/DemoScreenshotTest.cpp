// The demo game in the real player under Xvfb; the scenario is quiltor-demo.sh.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

TEST(Executable, DemoShowsItsTextAdvancesOnReturnAndClosesWithOptionsWritten)
{
    const int result = scenario::Run("quiltor-demo.sh");
    if (result == 77)
        GTEST_SKIP() << "Xvfb, xauth, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
