// The settings sheet's three pages and the custom-skip dialog drawn in the
// real player under Xvfb; the scenario is quiltor-settings.sh, which leaves
// its screenshots in the build's screenshots/.
#include "tests/app/Scenario.h"

TEST(Executable, SettingsPagesAndCustomSkipDialogAreDrawnInTheWindow)
{
    scenario::Expect("quiltor-settings.sh");
}
