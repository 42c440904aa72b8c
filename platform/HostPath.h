#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The internal form of a path (Shift-JIS, "Z:\home\a\x.txt") split for the
// host: whether it starts at the root, and its folder and file names in UTF-8.
struct HostPathParts {
    bool absolute = false;
    bool trailingSeparator = false;
    std::vector<std::string> names;
};

// Separators are "\" and "/" outside two-byte characters (a second byte 0x5C
// is part of its character); empty names are dropped. Nothing for a path with
// no host form: another drive than Z:, a network path, an embedded zero byte.
std::optional<HostPathParts> SplitInternalPath(std::string_view internal);
std::string JoinHostPath(const HostPathParts& parts);
std::optional<std::string> ToHostPath(std::string_view internal);
// "/home/a" -> "Z:\home\a"; a relative host path stays relative.
std::string ToInternalPath(std::string_view host);

// Host names compared as Windows does for the names games use: ASCII letters
// without regard to case, every other byte exactly.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace platform
