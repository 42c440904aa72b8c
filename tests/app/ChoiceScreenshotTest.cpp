// A choice in the real player under Xvfb, its focus moved by the arrow keys;
// the scenario is quiltor-choice.sh, which leaves its screenshot in the
// build's screenshots/.
#include "tests/app/Scenario.h"

TEST(Executable, ChoiceShowsTheSecondItemFocusedAfterTwoDownKeys)
{
    scenario::Expect("quiltor-choice.sh");
}
