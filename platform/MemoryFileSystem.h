#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace platform {

// The headless file system: files and folders in memory, for tests and fuzz
// targets that must not touch the disk. Names are compared with "/" taken as
// "\" and without regard to ASCII case, as the host resolver finds them; a
// relative name lies in "Z:\". Writes keep the replace-on-commit rule, and a
// capacity or a read-only switch makes them fail as a full or locked disk does.
class MemoryFileSystem : public IFileSystem {
public:
    MemoryFileSystem();

    // Installs a fresh one as the process's file system.
    static MemoryFileSystem& Install();

    // A file with these bytes, its folders made as needed.
    void Put(std::string_view name, std::string_view bytes);
    // The bytes of a file, empty when there is none.
    std::string Get(std::string_view name) const;
    // Bytes all files together may hold; writes beyond fail.
    void SetCapacity(std::size_t bytes) { m_capacity = bytes; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // The time the next commits and puts stamp.
    void SetNow(const LocalTime& now) { m_now = now; }

    using IFileSystem::OpenRead;
    std::unique_ptr<IReadFile> OpenRead(std::string_view name, std::error_code& why) override;
    using IFileSystem::CreateWrite;
    // Read-only: EROFS; past the capacity: ENOSPC.
    std::unique_ptr<IWriteFile> CreateWrite(std::string_view name, std::error_code& why) override;
    // No streams in memory.
    std::FILE* OpenStream(std::string_view name, std::string_view mode) override;
    bool Delete(std::string_view name) override;
    bool Rename(std::string_view from, std::string_view to) override;
    bool CreateFolder(std::string_view name) override;
    std::optional<LocalTime> LastWriteTime(std::string_view name) override;
    bool Exists(std::string_view name) override;
    std::string MakeTemporaryFile() override { return {}; }
    std::string CurrentDirectory() override { return "Z:\\"; }
    std::string ExecutablePath() override { return "Z:\\quiltor"; }

private:
    struct File {
        std::shared_ptr<const std::string> bytes;
        LocalTime written;
    };
    class WriteFile;

    static std::string Key(std::string_view name);
    static std::string FolderOf(const std::string& key);
    bool HasFolder(const std::string& key) const { return m_folders.count(key) != 0; }
    std::size_t StoredBytes() const;
    // What Commit of a write file does; why not, or nothing.
    std::error_code Store(const std::string& key, std::string bytes);
    // Why a file cannot be written under the key, or nothing.
    std::error_code Refusal(const std::string& key) const;

    std::map<std::string, File> m_files;
    std::set<std::string> m_folders;
    std::size_t m_capacity = SIZE_MAX;
    bool m_readOnly = false;
    LocalTime m_now{2000, 1, 1, 0, 0, 0};
};

} // namespace platform
