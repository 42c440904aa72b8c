// The player started where there is no game, and in a game whose picture is
// missing, under Xvfb; the scenario is quiltor-nogame.sh, which leaves its
// screenshot in the build's screenshots/.
#include "tests/app/Scenario.h"

TEST(Executable, PlayerWithoutAGameOrWithAMissingPictureSaysWhyOnStderr)
{
    scenario::Expect("quiltor-nogame.sh");
}
