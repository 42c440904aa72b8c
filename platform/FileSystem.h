#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace platform {

// A moment in local time, as a file's last write is shown.
struct LocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Every name below is an internal one: Shift-JIS, Windows form ("Z:\" is the
// host root, "\" or "/" between folders); a relative name is relative to the
// process's current directory.

// How a read ended, from a file up through the archives to the file layer:
// every byte asked for is there; something failed (the file, the disk, a
// bound); or the player's close interrupted it, which is no fault of the
// file and nothing to say.
enum class ReadResult { Done, Failed, Interrupted };

// A file opened for reading: existing regular files only.
class IReadFile {
public:
    // A slow disk takes seconds for a file within its bound: a read goes a
    // chunk at a time, and the close interrupts it between two.
    static constexpr std::size_t ChunkBytes = std::size_t{1} << 20;

    virtual ~IReadFile() = default;
    virtual std::optional<std::uint64_t> Size() = 0;
    virtual bool Seek(std::uint64_t offset) = 0;
    // Exactly n bytes: Done; Interrupted only when more than a chunk was
    // asked, the bytes read before it then in *done (when asked).
    ReadResult Read(void* buffer, std::size_t n, std::size_t* done = nullptr);
    virtual bool Close() = 0;
    // Gives the file as it was opened the name to as well, replacing a file
    // there, without copying a byte (a hard link: as writes replace files
    // whole, a later one to either name leaves the other as it is). False
    // when that cannot be done, with the reason in why: a file system without
    // links, a file that no name holds any more (removed, or replaced since
    // it was opened), a file not on a disk.
    virtual bool Link(std::string_view to, std::error_code& why);

protected:
    // Exactly n bytes, at most a chunk: Done or Failed (a test's stand-in
    // may answer Interrupted, as a close would).
    virtual ReadResult ReadChunk(void* buffer, std::size_t n) = 0;
};

// A file being replaced: the bytes go to a temporary name beside the target,
// and only Commit (flush, rename) puts them in its place. Destroyed without a
// successful Commit, it leaves the target as it was and removes its traces.
class IWriteFile {
public:
    virtual ~IWriteFile() = default;
    // All n bytes, or false.
    virtual bool Write(const void* buffer, std::size_t n) = 0;
    virtual bool Commit() = 0;
    // Why the first Write or Commit that failed did, as the system says it.
    virtual std::error_code Failure() const = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // Null when the name is no regular file the process may read, with the
    // system's reason in why (EISDIR for a folder, ENODEV for a FIFO, a
    // device or a socket, which are not opened for reading).
    virtual std::unique_ptr<IReadFile> OpenRead(std::string_view name, std::error_code& why) = 0;
    std::unique_ptr<IReadFile> OpenRead(std::string_view name)
    {
        std::error_code ignored;
        return OpenRead(name, ignored);
    }
    // Null when the target cannot be created (no folder, no access, a
    // folder), with the system's reason in why.
    virtual std::unique_ptr<IWriteFile> CreateWrite(std::string_view name, std::error_code& why) = 0;
    std::unique_ptr<IWriteFile> CreateWrite(std::string_view name)
    {
        std::error_code ignored;
        return CreateWrite(name, ignored);
    }
    // A stdio stream with the C library's modes; a mode without "b" is a text
    // stream: "\n" is written as "\r\n" and "\r\n" read as "\n".
    virtual std::FILE* OpenStream(std::string_view name, std::string_view mode) = 0;
    virtual bool Delete(std::string_view name) = 0;
    // Moves a file to a new name, replacing a file there.
    virtual bool Rename(std::string_view from, std::string_view to) = 0;
    // One folder, its parent existing; false also when it exists already.
    virtual bool CreateFolder(std::string_view name) = 0;
    // Nothing when the file does not exist.
    virtual std::optional<LocalTime> LastWriteTime(std::string_view name) = 0;
    // A file or a folder.
    virtual bool Exists(std::string_view name) = 0;
    // A new empty file "KVO*" in the temporary folder; empty when none can be made.
    virtual std::string MakeTemporaryFile() = 0;
    // Absolute, without a final separator unless it is a root.
    virtual std::string CurrentDirectory() = 0;
    virtual std::string ExecutablePath() = 0;
};

// A reason of the system's for the reader (Shift-JIS): the common ones in
// Japanese with the system's own words behind, the others in those alone.
std::string FailureText(std::error_code why);

// The host file system unless a test installed another one.
IFileSystem& FileSystem();
void InstallFileSystem(std::unique_ptr<IFileSystem> fileSystem);

} // namespace platform
