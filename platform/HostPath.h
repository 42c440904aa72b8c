#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The internal form of a path (Shift-JIS, "Z:\home\a\x.txt") split for the
// host: whether it starts at a root, that root as host bytes ("/", or the
// game drive's folder with a final "/"), and its folder and file names in UTF-8.
struct HostPathParts {
    bool absolute = false;
    bool trailingSeparator = false;
    std::string root = "/";
    std::vector<std::string> names;
};

// The player's folder is the drive "G:", its host path kept as bytes: a game
// under a folder whose name has no Shift-JIS form (José, an emoji) still
// reaches its files, as only the names inside the game pass through CP932.
inline constexpr char GameDrive = 'G';
// An absolute host folder; empty takes the drive away.
void MapGameDrive(std::string_view hostFolder);
const std::string& GameDriveFolder();

// Separators are "\" and "/" outside two-byte characters (a second byte 0x5C
// is part of its character); empty names are dropped. Nothing for a path with
// no host form: a drive other than Z: and a mapped G:, a network path, an
// embedded zero byte.
std::optional<HostPathParts> SplitInternalPath(std::string_view internal);
std::string JoinHostPath(const HostPathParts& parts);
std::optional<std::string> ToHostPath(std::string_view internal);
// For the user's eyes: the host path, else the internal name in UTF-8.
std::string ShownPath(std::string_view internal);
// A Shift-JIS text for the user's eyes in UTF-8, each internal path in it
// shown as its host path. A path starts at a drive letter that follows no
// letter or digit, and runs to a blank, a quote or a Japanese bracket.
std::string ShownText(std::string_view sjis);
// "/home/a" -> "Z:\home\a", and "G:\..." inside the game drive's folder; a
// relative host path stays relative.
std::string ToInternalPath(std::string_view host);
// The internal name with the game drive spelled as its host folder: a key
// that differs between game folders (single-instance lock names).
std::string ExpandGameDrive(std::string_view internal);

// Where the file name of an internal path starts: after the last "\" or "/"
// outside two-byte characters, 0 when there is none.
std::size_t FileNameStart(std::string_view internal);

// Host names compared as Windows does for the names games use: ASCII letters
// without regard to case, every other byte exactly.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace platform
