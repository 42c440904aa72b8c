#include "platform/HostNameResolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include "platform/HostPath.h"

namespace platform {
namespace {

bool EntryExists(const std::string& path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
}

std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = readdir(dir)) {
        std::string_view candidate = entry->d_name;
        if (EqualIgnoringAsciiCase(candidate, name) && (!best || candidate < *best)) best = std::string(candidate);
    }
    closedir(dir);
    return best;
}

} // namespace

std::optional<std::string> ResolveHostPath(std::string_view internal)
{
    std::optional<HostPathParts> parts = SplitInternalPath(internal);
    if (!parts) return std::nullopt;
    std::string exact = JoinHostPath(*parts);
    if (EntryExists(exact)) return exact;

    std::string prefix = parts->absolute ? parts->root : "";
    for (std::string& name : parts->names) {
        if (name != "." && name != "..") {
            if (!EntryExists(prefix + name)) {
                std::optional<std::string> found = FindIgnoringCase(prefix, name);
                if (!found) break;
                name = *found;
            }
        }
        prefix += name;
        prefix += '/';
    }
    return JoinHostPath(*parts);
}

} // namespace platform
