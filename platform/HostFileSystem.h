#pragma once

#include "platform/FileSystem.h"

namespace platform {

// The Linux file system seen through internal names (see HostNameResolver.h).
class HostFileSystem : public IFileSystem {
public:
    using IFileSystem::OpenRead;
    std::unique_ptr<IReadFile> OpenRead(std::string_view name, std::error_code& why) override;
    using IFileSystem::CreateWrite;
    std::unique_ptr<IWriteFile> CreateWrite(std::string_view name, std::error_code& why) override;
    std::FILE* OpenStream(std::string_view name, std::string_view mode) override;
    bool Delete(std::string_view name) override;
    bool Rename(std::string_view from, std::string_view to) override;
    bool CreateFolder(std::string_view name) override;
    std::optional<LocalTime> LastWriteTime(std::string_view name) override;
    bool Exists(std::string_view name) override;
    // In $TMPDIR, else /tmp.
    std::string MakeTemporaryFile() override;
    std::string CurrentDirectory() override;
    // See PlayerHostPath.
    std::string ExecutablePath() override;
};

} // namespace platform
