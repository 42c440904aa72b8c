// The real player under Xvfb: its window shows the start script's picture, in
// a window and in full screen; the scenario is quiltor-screenshot.sh.
#include "tests/app/Scenario.h"

TEST(Executable, ScreenshotShowsTheStartPictureInWindowAndFullScreen)
{
    scenario::Expect("quiltor-screenshot.sh");
}
