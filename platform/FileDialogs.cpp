#include "platform/FileDialogs.h"

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/HostPath.h"

namespace platform {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool Glob(std::string_view pattern, std::string_view name)
{
    // The last "*" seen and the name position it stands for, to widen on a mismatch.
    std::size_t p = 0, n = 0, star = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool IsAbsolute(std::string_view path)
{
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

} // namespace

bool MatchesFilter(std::string_view name, std::string_view patterns)
{
    while (!patterns.empty()) {
        const std::size_t end = std::min(patterns.find(';'), patterns.size());
        const std::string_view pattern = patterns.substr(0, end);
        if (pattern == "*.*" || (!pattern.empty() && Glob(pattern, name)))
            return true;
        patterns.remove_prefix(std::min(end + 1, patterns.size()));
    }
    return false;
}

std::string WithDefaultExtension(std::string_view path, const FileDialog& dialog)
{
    std::string result(path);
    const std::string_view name = path.substr(FileNameStart(path));
    if (!dialog.defaultExtension.empty() && !name.empty() && name.find('.') == std::string_view::npos)
        result += "." + dialog.defaultExtension;
    return result;
}

std::string InDialogFolder(std::string_view name, const FileDialog& dialog)
{
    if (IsAbsolute(name))
        return std::string(name);
    std::string folder = dialog.folder.empty() ? FileSystem().CurrentDirectory() : dialog.folder;
    if (FileNameStart(folder) != folder.size())
        folder += '\\';
    return folder + std::string(name);
}

std::optional<std::string> ChooseFile(FileDialog dialog)
{
    for (;;) {
        const std::optional<std::string> chosen = Dialogs().RunFileDialog(dialog);
        if (!chosen)
            return std::nullopt;
        const std::string path = WithDefaultExtension(InDialogFolder(*chosen, dialog), dialog);
        const std::size_t nameStart = FileNameStart(path);
        const std::string name = path.substr(nameStart);
        const bool exists = FileSystem().Exists(path);
        if (dialog.mustExist && !exists) {
            Question(dialog.titleSjis, name + "\nファイルが見つかりません。\nファイル名を確認してください。", {"OK"},
                     DialogIcon::Warning);
        } else if (!(dialog.overwritePrompt && exists)
                   || Question(dialog.titleSjis, name + " は既に存在します。\n上書きしますか？", {"はい(&Y)", "いいえ(&N)"},
                               DialogIcon::Warning)
                          == 1) {
            return path;
        }
        dialog.folder = path.substr(0, nameStart);
        dialog.fileNameSjis = name;
    }
}

} // namespace platform
