// The open and save dialogs drawn in the real player under Xvfb, reached
// through the window's command messages; the scenario is
// quiltor-filedialog.sh, which leaves its screenshots in the build's
// screenshots/.
#include "tests/app/Scenario.h"

TEST(Executable, FileDialogsOpenAScriptAndSaveTheScreenPicture)
{
    scenario::Expect("quiltor-filedialog.sh");
}
