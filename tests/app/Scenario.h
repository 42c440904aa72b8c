#pragma once
// The scenario scripts beside this file run the build's player under Xvfb.

#include "platform/FileSystem.h"
#include "platform/HostPath.h"

#include <cstdlib>
#include <string>

namespace scenario {

inline std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

// The script's exit code: 0 when it holds, 77 when it cannot run here.
inline int Run(const std::string& script)
{
    const std::string tests = FolderOf(*platform::ToHostPath(platform::FileSystem().ExecutablePath()));
    const std::string command = "sh '" + std::string(QUILTOR_SOURCE_DIR "/tests/app") + "/" + script + "' '" + FolderOf(tests) + "/game/quiltor'";
    const int status = std::system(command.c_str());
    return status == -1 ? -1 : (status >> 8) & 0xFF;
}

} // namespace scenario
