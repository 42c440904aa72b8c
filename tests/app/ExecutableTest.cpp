// The real player, started as a user would; the scenarios are in quiltor-run.sh.
#include "platform/FileSystem.h"
#include "platform/HostPath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

// 0 passed, 77 cannot run here, else failed.
int RunScenario(const std::string& scenario)
{
    const std::string tests = FolderOf(*platform::ToHostPath(platform::FileSystem().ExecutablePath()));
    const std::string player = FolderOf(tests) + "/game/quiltor";
    const std::string script = FolderOf(__FILE__) + "/quiltor-run.sh";
    const std::string command = "sh '" + script + "' " + scenario + " '" + player + "'";
    const int status = std::system(command.c_str());
    return status == -1 ? -1 : (status >> 8) & 0xFF;
}

} // namespace

TEST(Executable, PostedCloseEndsWithCodeZero)
{
    EXPECT_EQ(RunScenario("posted-close"), 0);
}

TEST(Executable, SigtermAndSigintEndInOrderWithCodeZero)
{
    EXPECT_EQ(RunScenario("signals"), 0);
}

TEST(Executable, SecondInstanceDuringStartUpEndsWithoutWindow)
{
    EXPECT_EQ(RunScenario("second-instance"), 0);
}

TEST(Executable, OfTwoStartedTogetherExactlyOneRuns)
{
    EXPECT_EQ(RunScenario("simultaneous"), 0);
}

TEST(Executable, AGameUnderAFolderWithoutShiftJisFormReadsAndWritesItsFiles)
{
    EXPECT_EQ(RunScenario("foreign-folder"), 0);
}

TEST(Executable, FifosInTheGameFolderNeitherBlockNorAreWritten)
{
    EXPECT_EQ(RunScenario("fifo"), 0);
}

TEST(Executable, WithoutADisplayItSaysSoAndFailsAtOnce)
{
    EXPECT_EQ(RunScenario("no-display"), 0);
}

TEST(Executable, WindowUnderXvfbClosesByCloseBoxAndSigterm)
{
    const int result = RunScenario("xvfb");
    if (result == 77)
        GTEST_SKIP() << "xvfb-run or xwininfo missing";
    EXPECT_EQ(result, 0);
}
