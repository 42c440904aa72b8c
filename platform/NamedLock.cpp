#include "platform/NamedLock.h"

#include "platform/HostPath.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
int OpenLockFile(const std::string& file, std::string& path)
{
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (dir && dir[0] == '/') {
        path = dir + file;
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
    }
    path = "/tmp" + file;
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

bool IsStillNamed(int fd, const std::string& path)
{
    struct stat opened, named;
    return fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

} // namespace

NamedLock::OpenResult NamedLock::Open(std::string_view name)
{
    Close();
    m_file = LockFile(ExpandGameDrive(name));
    return Take(false);
}

// The holder removes the file as it lets go, so that none is left behind: a
// lock won on a file that is no longer under its name is won again on the
// one that is.
NamedLock::OpenResult NamedLock::Take(bool wait)
{
    for (;;) {
        if (m_fd < 0) m_fd = OpenLockFile(m_file, m_path);
        if (m_fd < 0) return Failed;
        while (flock(m_fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) return HeldElsewhere;
            if (errno != EINTR) return Failed;
        }
        if (IsStillNamed(m_fd, m_path)) {
            m_held = true;
            return Acquired;
        }
        ::close(m_fd);
        m_fd = -1;
    }
}

void NamedLock::Wait()
{
    if (m_fd >= 0 && !m_held) Take(true);
}

void NamedLock::Close()
{
    if (m_fd < 0) return;
    if (m_held) ::unlink(m_path.c_str());
    flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
    m_held = false;
}

} // namespace platform
