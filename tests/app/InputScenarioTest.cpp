// Pointer and keys as touchpads, xdotool and remote desktops send them, in the
// real player under Xvfb; the scenarios leave their screenshots in the
// build's screenshots/.
#include "tests/app/Scenario.h"

// Taps: the release right after the press.
TEST(Executable, TappedClicksAndKeysReachTheDrawnMenuAndDialogs)
{
    scenario::Expect("quiltor-taps.sh");
}

// A pointer warped without raw input lights the picture button under it only.
TEST(Executable, WarpedPointerLightsThePictureButtonUnderItOnly)
{
    scenario::Expect("quiltor-hover.sh");
}
