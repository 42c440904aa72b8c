// The open and save dialogs drawn in the real player under Xvfb, reached
// through the window's command messages; the scenario is quiltor-filedialog.sh, which leaves its
// screenshots in the build's screenshots/.
#include "tests/app/Scenario.h"

#include <gtest/gtest.h>

TEST(Executable, FileDialogsOpenAScriptAndSaveTheScreenPicture)
{
    const int result = scenario::Run("quiltor-filedialog.sh");
    if (result == 77)
        GTEST_SKIP() << "Xvfb, xauth, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}
