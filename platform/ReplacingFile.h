#pragma once

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace platform {

// The host side of IWriteFile: a new file beside target that Commit syncs and
// renames over it (over a symbolic link itself, never its target). Null when
// the target is not a regular file, is read-only, or its folder cannot take a
// new file, with the system's reason in why. An existing target's permissions
// carry over. Temporaries that a killed writer left beside the target are
// removed first.
//
// ends are the calls that make the bytes last; a test passes ones that fail
// as a failing disk does, which no file system above this one can.
struct FileEnds {
    int (*sync)(int fd);
    int (*close)(int fd);
};
FileEnds SystemFileEnds();
std::unique_ptr<IWriteFile> CreateReplacingFile(const std::string& target, std::error_code& why,
                                                FileEnds ends = SystemFileEnds());
// Gives the open file fd the name target as well, put in place as Commit puts
// a new file: linked under a temporary name beside target, then renamed over
// it. The file is the one opened, whatever its name holds now: once no name
// holds it, there is nothing to link (ENOENT). False with the system's reason
// in why.
bool LinkReplacing(int fd, const std::string& target, std::error_code& why);

} // namespace platform
