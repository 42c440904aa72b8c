// The real player, started as a user would; the scenarios are in quiltor-run.sh
// and, under Xvfb, quiltor-xvfb.sh.
#include "tests/app/Scenario.h"

// Each scenario of quiltor-run.sh, by what it shows:
// posted-close: a posted close ends the player with code 0;
// signals: SIGTERM, SIGINT and SIGHUP end it in order with code 0, and one
// started by nohup leaves SIGHUP ignored;
// second-instance: a start during another one's start-up ends without a window;
// simultaneous: of two started together exactly one runs;
// foreign-folder: a game under a folder with no Shift-JIS form reads and writes its files;
// linked-player: a symbolic link to the player in a game folder plays that game;
// fifo: FIFOs in the game folder neither block nor are written;
// no-display: without a display it says so and fails at once;
// close-unwritable-options, close-refused-globals: under ERROR 1 a close that
// must keep the options (a folder in their place) or the globals file waits
// for nobody: SIGTERM ends it and the resume save is there;
// huge-sound: a sound of gigabytes of PCM plays streamed, the player under 1 GiB;
// huge-archive: an archive whose count claims 40 GiB of holes is refused by it
// once, and SIGTERM ends the player within bounded processor time;
// close-count: the kit's count of a close takes whole a second spun or slept,
// in any build, and leaves out only the wait for a processor.
class ExecutableScenario : public ::testing::TestWithParam<const char*> {};

TEST_P(ExecutableScenario, Holds)
{
    EXPECT_EQ(scenario::Run("quiltor-run.sh", GetParam()), 0);
}

INSTANTIATE_TEST_SUITE_P(Executable, ExecutableScenario,
                         ::testing::Values("posted-close", "signals", "second-instance", "simultaneous",
                                           "foreign-folder", "linked-player", "fifo", "no-display",
                                           "close-unwritable-options", "close-refused-globals", "huge-sound",
                                           "huge-archive", "close-count"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name;
                             for (const char* c = info.param; *c; ++c) name += *c == '-' ? '_' : *c;
                             return name;
                         });

TEST(Executable, WindowUnderXvfbClosesByCloseBoxSigtermAndAltF4InALoop)
{
    scenario::Expect("quiltor-xvfb.sh");
}
