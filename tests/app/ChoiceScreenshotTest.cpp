// A choice in the real player under Xvfb, its focus moved by the arrow keys;
// the scenario is quiltor-choice.sh, which leaves its screenshot in the
// build's screenshots/.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

TEST(Executable, ChoiceShowsTheSecondItemFocusedAfterTwoDownKeys)
{
    const int result = scenario::Run("quiltor-choice.sh");
    if (result == 77)
        GTEST_SKIP() << "Xvfb, xauth, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
