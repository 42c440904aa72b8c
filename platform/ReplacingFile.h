#pragma once

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace platform {

// The host side of IWriteFile: a new file beside hostPath that Commit syncs and
// renames over it (through a symbolic link to its target). Null when the
// target is a folder, is read-only, or its folder cannot take a new file. An
// existing target's permissions carry over.
std::unique_ptr<IWriteFile> CreateReplacingFile(const std::string& hostPath);

} // namespace platform
