#pragma once
// Open and save file dialogs as plain data: the engine says what it wants,
// the dialog service (Dialogs.h) lets the user choose, and the answer is an
// internal path (Shift-JIS, "Z:\home\a\x.txt"), or nothing when cancelled.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A line of the type list: "PDT Files(*.pdt)" shown, "*.pdt" matched;
// several patterns are split by ";".
struct FileFilter {
    std::string textSjis;
    std::string patterns;
};

struct FileDialog {
    enum class Kind : std::uint8_t { Open, Save };

    Kind kind = Kind::Open;
    std::string titleSjis;
    std::string folder;       // internal; empty for the current directory
    std::string fileNameSjis; // the name proposed in the name field
    std::vector<FileFilter> filters;
    std::string defaultExtension; // without the dot; given to a name that has none
    bool mustExist = false;
    bool overwritePrompt = false;
};

// Whether a file name matches one of the patterns: "*" any run, "?" one
// character, ASCII letters without regard to case; "*.*" matches every name,
// as it does on Windows.
bool MatchesFilter(std::string_view name, std::string_view patterns);

// The path with the dialog's default extension when its file name has no
// extension.
std::string WithDefaultExtension(std::string_view path, const FileDialog& dialog);

// The internal path of a name chosen in the dialog: as it is when absolute,
// else inside the dialog's folder.
std::string InDialogFolder(std::string_view name, const FileDialog& dialog);

// Shows the dialog until the user cancels it or chooses a name it accepts:
// an open dialog that wants an existing file says so when there is none, a
// save dialog with the overwrite prompt asks before it names an existing
// file; either way the dialog opens again at that name.
std::optional<std::string> ChooseFile(FileDialog dialog);

} // namespace platform
