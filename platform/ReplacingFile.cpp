#include "platform/ReplacingFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The temporaries of a writer that was killed between write and rename:
// "<name>.<pid>.<n>.tmp" of a process that no longer runs.
void RemoveStaleTemporaries(const std::string& target)
{
    const std::string folder = FolderOf(target);
    const std::string prefix = target.substr(target.rfind('/') + 1) + '.';
    DIR* entries = opendir(folder.c_str());
    if (!entries) return;
    while (const dirent* entry = readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix) || !name.ends_with(".tmp")) continue;
        unsigned long pid = 0, serial = 0;
        int end = 0;
        const std::string rest(name.substr(prefix.size()));
        if (rest.empty() || rest[0] < '0' || rest[0] > '9' ||
            std::sscanf(rest.c_str(), "%lu.%lu.tmp%n", &pid, &serial, &end) != 2 || std::size_t(end) != rest.size() ||
            pid == 0 || pid > INT_MAX || pid_t(pid) == getpid())
            continue;
        if (kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
        unlinkat(dirfd(entries), entry->d_name, 0);
    }
    closedir(entries);
}

// A name of this process's own beside the target, one RemoveStaleTemporaries
// knows.
std::string TemporaryName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    return target + '.' + std::to_string(getpid()) + '.' + std::to_string(counter.fetch_add(1, std::memory_order_relaxed)) +
           ".tmp";
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
    ReplacingFile(int fd, std::string temporary, std::string target, FileEnds ends)
        : m_fd(fd), m_temporary(std::move(temporary)), m_target(std::move(target)), m_ends(ends)
    {
    }
    ~ReplacingFile() override
    {
        if (m_fd >= 0) m_ends.close(m_fd);
        if (!m_committed) unlink(m_temporary.c_str());
    }

    bool Write(const void* buffer, std::size_t n) override
    {
        const char* bytes = static_cast<const char*>(buffer);
        while (n > 0 && m_fd >= 0 && !m_failure) {
            const ssize_t written = write(m_fd, bytes, n);
            if (written < 0) {
                if (errno == EINTR) continue;
                Fail(errno);
                break;
            }
            bytes += written;
            n -= std::size_t(written);
        }
        return n == 0 && !m_failure;
    }

    bool Commit() override
    {
        if (m_fd < 0 || m_failure) return false;
        if (m_ends.sync(m_fd) != 0) Fail(errno);
        if (m_ends.close(m_fd) != 0) Fail(errno);
        m_fd = -1;
        // Bytes that may not have reached the disk never replace a good file.
        if (!m_failure && rename(m_temporary.c_str(), m_target.c_str()) != 0) Fail(errno);
        if (m_failure) return false;
        m_committed = true;
        SyncFolder(FolderOf(m_target));
        return true;
    }

    std::error_code Failure() const override { return m_failure; }

private:
    int m_fd;
    std::string m_temporary;
    std::string m_target;
    FileEnds m_ends;
    std::error_code m_failure;
    bool m_committed = false;

    void Fail(int error)
    {
        if (!m_failure) m_failure = std::error_code(error, std::generic_category());
    }
};

} // namespace

FileEnds SystemFileEnds() { return {::fsync, ::close}; }

std::unique_ptr<IWriteFile> CreateReplacingFile(const std::string& target, std::error_code& why, FileEnds ends)
{
    // A symbolic link is replaced itself: a game folder's link must never lead
    // the write to a file of the user's elsewhere.
    struct stat status;
    const bool exists = lstat(target.c_str(), &status) == 0 && !S_ISLNK(status.st_mode);
    if (exists && !S_ISREG(status.st_mode)) {
        why = std::make_error_code(S_ISDIR(status.st_mode) ? std::errc::is_a_directory : std::errc::invalid_argument);
        return nullptr;
    }
    if (exists && access(target.c_str(), W_OK) != 0) {
        why = std::error_code(errno, std::generic_category());
        return nullptr;
    }
    RemoveStaleTemporaries(target);

    // Opened with 0666 so the umask applies as to any new file.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temporary = TemporaryName(target);
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            why = std::error_code(errno, std::generic_category());
            return nullptr;
        }
        if (exists) fchmod(fd, status.st_mode & 07777);
        return std::make_unique<ReplacingFile>(fd, std::move(temporary), target, ends);
    }
    why = std::make_error_code(std::errc::file_exists);
    return nullptr;
}

// Linked through /proc, which needs no privilege, where linkat's AT_EMPTY_PATH
// on the descriptor itself does.
bool LinkReplacing(int fd, const std::string& target, std::error_code& why)
{
    const std::string open = "/proc/self/fd/" + std::to_string(fd);
    RemoveStaleTemporaries(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = TemporaryName(target);
        if (linkat(AT_FDCWD, open.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST) continue;
            why = std::error_code(errno, std::generic_category());
            return false;
        }
        if (rename(temporary.c_str(), target.c_str()) != 0) {
            why = std::error_code(errno, std::generic_category());
            unlink(temporary.c_str());
            return false;
        }
        // A target that is a link of the file already is left as it is by
        // rename, and the temporary name with it.
        unlink(temporary.c_str());
        SyncFolder(FolderOf(target));
        return true;
    }
    why = std::make_error_code(std::errc::file_exists);
    return false;
}

} // namespace platform
