// The drawn menu and boxes in the real player under Xvfb; the scenario is
// quiltor-menu.sh, which leaves its screenshots in the build's screenshots/.
#include "tests/app/Scenario.h"

TEST(Executable, RightClickMenuExitQuestionAndScriptErrorBoxAreDrawnInTheWindow)
{
    scenario::Expect("quiltor-menu.sh");
}
