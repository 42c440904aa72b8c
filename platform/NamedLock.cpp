#include "platform/NamedLock.h"

#include "platform/HostPath.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

std::string LockFile(std::string_view name)
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char file[48];
    std::snprintf(file, sizeof file, "/quiltor-%016llx.lock", static_cast<unsigned long long>(hash));
    return file;
}

// A relative $XDG_RUNTIME_DIR is invalid and ignored, as the base-directory
// rules say; one that cannot take the file falls back to /tmp, so a broken
// environment does not pass for another instance holding the lock.
int OpenLockFile(const std::string& file)
{
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (dir && dir[0] == '/') {
        const int fd = ::open((dir + file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
    }
    return ::open(("/tmp" + file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

} // namespace

NamedLock::OpenResult NamedLock::Open(std::string_view name)
{
    Close();
    m_fd = OpenLockFile(LockFile(ExpandGameDrive(name)));
    if (m_fd < 0) return Failed;
    while (flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) return HeldElsewhere;
        if (errno != EINTR) return Failed;
    }
    return Acquired;
}

void NamedLock::Wait()
{
    if (m_fd < 0) return;
    while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

void NamedLock::Close()
{
    if (m_fd < 0) return;
    flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

} // namespace platform
