// The demo game in the real player under Xvfb; the scenario is quiltor-demo.sh.
#include "tests/app/Scenario.h"

TEST(Executable, DemoShowsItsTextAdvancesOnReturnAndClosesWithOptionsWritten)
{
    scenario::Expect("quiltor-demo.sh");
}
