#pragma once
// The scenario scripts beside this file run the build's player, most under Xvfb.

#include "platform/FileSystem.h"
#include "platform/HostPath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace scenario {

inline std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

// The script's exit code: 0 when it holds, 77 when it cannot run here. The
// script gets its argument (if any), then the player.
inline int Run(const std::string& script, const std::string& argument = "")
{
    const std::string tests = FolderOf(*platform::ToHostPath(platform::FileSystem().ExecutablePath()));
    const std::string command = "sh '" QUILTOR_SOURCE_DIR "/tests/app/" + script + "' " + argument + " '"
                                + FolderOf(tests) + "/game/quiltor'";
    const int status = std::system(command.c_str());
    return status == -1 ? -1 : (status >> 8) & 0xFF;
}

// Skipped when a tool the script needs is missing here.
inline void Expect(const std::string& script, const std::string& argument = "")
{
    const int result = Run(script, argument);
    if (result == 77)
        GTEST_SKIP() << "Xvfb, xauth, xwininfo, ImageMagick or python3 missing";
    EXPECT_EQ(result, 0);
}

} // namespace scenario
