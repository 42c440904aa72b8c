#include "platform/PlayerPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/HostPath.h"

namespace platform {
namespace {

std::string& StartedAs()
{
    static std::string path;
    return path;
}

std::string RealExecutablePath()
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (std::size_t(length) < buffer.size()) return std::string(buffer.data(), std::size_t(length));
        buffer.resize(buffer.size() * 2);
    }
}

bool SameFile(const char* a, const char* b)
{
    struct stat first {}, second {};
    return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// The folder made absolute; the last name, the link, kept as it stands.
std::string Absolute(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(folder.c_str(), nullptr), &std::free);
    if (!real) return {};
    const std::string resolved = real.get();
    return (resolved == "/" ? "" : resolved) + path.substr(slash);
}

} // namespace

void SetPlayerStartedAs(const char* startedAs)
{
    const bool path = startedAs && std::strchr(startedAs, '/');
    StartedAs() = path && SameFile(startedAs, "/proc/self/exe") ? Absolute(startedAs) : std::string();
}

std::string PlayerHostPath()
{
    return StartedAs().empty() ? RealExecutablePath() : StartedAs();
}

void MapGameDriveToPlayerFolder()
{
    const std::string host = PlayerHostPath();
    const std::size_t slash = host.rfind('/');
    if (slash != std::string::npos && slash > 0) MapGameDrive(host.substr(0, slash));
}

} // namespace platform
