// Taps (a release right after its press) in the drawn menu and dialogs of the
// real player under Xvfb; the scenario is quiltor-taps.sh, which leaves its
// screenshots in the build's screenshots/.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

TEST(Executable, TappedClicksAndKeysReachTheDrawnMenuAndDialogs)
{
    const int result = scenario::Run("quiltor-taps.sh");
    if (result == 77)
        GTEST_SKIP() << "xvfb-run, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
