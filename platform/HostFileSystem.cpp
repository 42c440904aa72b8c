#include "platform/HostFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/HostNameResolver.h"
#include "platform/HostPath.h"
#include "platform/PlayerPath.h"
#include "platform/ReplacingFile.h"
#include "platform/TextStream.h"

namespace platform {
namespace {

class HostReadFile : public IReadFile {
public:
    HostReadFile(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    ~HostReadFile() override { Close(); }

    std::optional<std::uint64_t> Size() override
    {
        if (m_fd < 0) return std::nullopt;
        return m_size;
    }

    bool Seek(std::uint64_t offset) override
    {
        return m_fd >= 0 && offset <= std::uint64_t(INT64_MAX) && lseek(m_fd, off_t(offset), SEEK_SET) >= 0;
    }

    bool Close() override
    {
        if (m_fd < 0) return true;
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }

    bool Link(std::string_view to, std::error_code& why) override
    {
        const std::optional<std::string> target = ResolveHostPath(to);
        if (m_fd < 0 || !target) {
            why = std::make_error_code(std::errc::invalid_argument);
            return false;
        }
        return LinkReplacing(m_fd, *target, why);
    }

protected:
    ReadResult ReadChunk(void* buffer, std::size_t n) override
    {
        char* bytes = static_cast<char*>(buffer);
        while (n > 0 && m_fd >= 0) {
            const ssize_t got = read(m_fd, bytes, n);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return ReadResult::Failed;
            bytes += got;
            n -= std::size_t(got);
        }
        return n == 0 ? ReadResult::Done : ReadResult::Failed;
    }

private:
    int m_fd;
    std::uint64_t m_size;
};

// The C library's stream mode as open flags.
int OpenFlags(std::string_view mode)
{
    const bool update = mode.find('+') != std::string_view::npos;
    int flags = update ? O_RDWR : O_WRONLY;
    switch (mode.front()) {
    case 'r': flags = update ? O_RDWR : O_RDONLY; break;
    case 'w': flags |= O_CREAT | O_TRUNC; break;
    case 'a': flags |= O_CREAT | O_APPEND; break;
    default: return -1;
    }
    if (mode.find('x') != std::string_view::npos) flags |= O_EXCL;
    return flags;
}

// Only regular files are opened: a FIFO or device named by a game would block
// the player for good (opened without blocking to find out), and Windows opens
// no folder as a file. The descriptor blocks again when it is returned; errno
// tells a refused one (EISDIR, ENODEV for the rest).
int OpenRegular(const std::string& host, int flags, struct stat& status)
{
    const int fd = open(host.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return -1;
    int refusal = 0;
    if (fstat(fd, &status) != 0 || fcntl(fd, F_SETFL, flags & O_APPEND) != 0) refusal = errno;
    else if (!S_ISREG(status.st_mode)) refusal = S_ISDIR(status.st_mode) ? EISDIR : ENODEV;
    if (refusal != 0) {
        close(fd);
        errno = refusal;
        return -1;
    }
    return fd;
}

} // namespace

std::unique_ptr<IReadFile> HostFileSystem::OpenRead(std::string_view name, std::error_code& why)
{
    std::optional<std::string> host = ResolveHostPath(name);
    if (!host) {
        why = std::make_error_code(std::errc::invalid_argument);
        return nullptr;
    }
    struct stat status;
    const int fd = OpenRegular(*host, O_RDONLY, status);
    if (fd < 0) {
        why = std::error_code(errno, std::generic_category());
        return nullptr;
    }
    return std::make_unique<HostReadFile>(fd, std::uint64_t(status.st_size));
}

std::unique_ptr<IWriteFile> HostFileSystem::CreateWrite(std::string_view name, std::error_code& why)
{
    std::optional<std::string> host = ResolveHostPath(name);
    if (!host) {
        why = std::make_error_code(std::errc::invalid_argument);
        return nullptr;
    }
    return CreateReplacingFile(*host, why);
}

std::FILE* HostFileSystem::OpenStream(std::string_view name, std::string_view mode)
{
    std::optional<std::string> host = ResolveHostPath(name);
    if (!host || mode.empty()) return nullptr;
    std::string binaryMode;
    for (char c : mode) {
        if (c != 't' && c != 'b' && c != 'x') binaryMode += c;
    }
    const int flags = OpenFlags(mode);
    struct stat status;
    const int fd = flags < 0 ? -1 : OpenRegular(*host, flags, status);
    if (fd < 0) return nullptr;
    std::FILE* binary = fdopen(fd, binaryMode.c_str());
    if (!binary) {
        close(fd);
        return nullptr;
    }
    if (!IsTextMode(mode)) return binary;
    std::FILE* text = WrapTextStream(binary, binaryMode);
    if (!text) std::fclose(binary);
    return text;
}

bool HostFileSystem::Delete(std::string_view name)
{
    std::optional<std::string> host = ResolveHostPath(name);
    return host && unlink(host->c_str()) == 0;
}

bool HostFileSystem::Rename(std::string_view from, std::string_view to)
{
    std::optional<std::string> source = ResolveHostPath(from);
    std::optional<std::string> target = ResolveHostPath(to);
    return source && target && rename(source->c_str(), target->c_str()) == 0;
}

bool HostFileSystem::CreateFolder(std::string_view name)
{
    std::optional<std::string> host = ResolveHostPath(name);
    return host && mkdir(host->c_str(), 0777) == 0;
}

std::optional<LocalTime> HostFileSystem::LastWriteTime(std::string_view name)
{
    std::optional<std::string> host = ResolveHostPath(name);
    struct stat status;
    if (!host || stat(host->c_str(), &status) != 0) return std::nullopt;
    struct tm local;
    if (!localtime_r(&status.st_mtime, &local)) return std::nullopt;
    return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

bool HostFileSystem::Exists(std::string_view name)
{
    std::optional<std::string> host = ResolveHostPath(name);
    struct stat status;
    return host && stat(host->c_str(), &status) == 0;
}

std::string HostFileSystem::MakeTemporaryFile()
{
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder && *folder ? folder : "/tmp";
    if (path.back() != '/') path += '/';
    path += "KVOXXXXXX.tmp";
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0) return {};
    close(fd);
    return ToInternalPath(path);
}

std::string HostFileSystem::CurrentDirectory()
{
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return ToInternalPath(buffer.data());
}

std::string HostFileSystem::ExecutablePath()
{
    const std::string host = PlayerHostPath();
    return host.empty() ? std::string() : ToInternalPath(host);
}

} // namespace platform
