#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace platform {
namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where the bytes must land: a symbolic link is written through, not replaced.
std::string TargetOf(const std::string& hostPath)
{
    struct stat status;
    if (lstat(hostPath.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return hostPath;
    char resolved[PATH_MAX];
    return realpath(hostPath.c_str(), resolved) ? std::string(resolved) : hostPath;
}

void SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

class ReplacingFile : public IWriteFile {
public:
    ReplacingFile(int fd, std::string temporary, std::string target)
        : m_fd(fd), m_temporary(std::move(temporary)), m_target(std::move(target))
    {
    }
    ~ReplacingFile() override
    {
        if (m_fd >= 0) close(m_fd);
        if (!m_committed) unlink(m_temporary.c_str());
    }

    bool Write(const void* buffer, std::size_t n) override
    {
        const char* bytes = static_cast<const char*>(buffer);
        while (n > 0 && m_fd >= 0 && !m_failed) {
            const ssize_t written = write(m_fd, bytes, n);
            if (written < 0) {
                if (errno == EINTR) continue;
                m_failed = true;
                break;
            }
            bytes += written;
            n -= std::size_t(written);
        }
        return n == 0 && !m_failed;
    }

    bool Commit() override
    {
        if (m_fd < 0 || m_failed) return false;
        const bool synced = fsync(m_fd) == 0;
        const bool closed = close(m_fd) == 0;
        m_fd = -1;
        if (!synced || !closed || rename(m_temporary.c_str(), m_target.c_str()) != 0) return false;
        m_committed = true;
        SyncFolder(FolderOf(m_target));
        return true;
    }

private:
    int m_fd;
    std::string m_temporary;
    std::string m_target;
    bool m_failed = false;
    bool m_committed = false;
};

} // namespace

std::unique_ptr<IWriteFile> CreateReplacingFile(const std::string& hostPath)
{
    const std::string target = TargetOf(hostPath);
    struct stat status;
    const bool exists = stat(target.c_str(), &status) == 0;
    if (exists && (S_ISDIR(status.st_mode) || access(target.c_str(), W_OK) != 0)) return nullptr;

    // A name of our own beside the target; open with 0666 so the umask
    // applies as to any new file.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temporary = target + '.' + std::to_string(getpid()) + '.' +
                                std::to_string(counter.fetch_add(1, std::memory_order_relaxed)) + ".tmp";
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        if (exists) fchmod(fd, status.st_mode & 07777);
        return std::make_unique<ReplacingFile>(fd, std::move(temporary), target);
    }
    return nullptr;
}

} // namespace platform
