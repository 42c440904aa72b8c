#pragma once
// What a drawn file dialog shows and does, without the drawing: one host
// folder with its subfolders and the files of the chosen type, names in UTF-8
// as the host has them, and the internal path of the name the user accepts.

#include "platform/FileDialogs.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FileBrowser {
public:
    struct Entry {
        std::string name; // UTF-8
        bool folder = false;
        // False for a name with no Shift-JIS form: the program cannot name it.
        bool usable = true;
    };

    // At the dialog's folder, else the current directory, else the nearest
    // folder above it that can be read; the first filter chosen.
    explicit FileBrowser(const FileDialog& dialog);

    // The host path of the folder shown.
    const std::string& Folder() const { return m_folder; }
    // Subfolders, then the files that match the filter, each by name; hidden
    // names (a leading ".") are left out.
    const std::vector<Entry>& Entries() const { return m_entries; }
    std::size_t FilterIndex() const { return m_filter; }
    void SetFilter(std::size_t index);

    // A subfolder of the one shown ("..": its parent).
    void Enter(std::string_view name);
    void Up();

    // The name field accepted (UTF-8, inside the folder unless it starts at
    // "/"): a folder is entered and gives nothing; a file gives its internal
    // path, or nothing when that path has no Shift-JIS form (see ProblemSjis).
    std::optional<std::string> Accept(std::string_view typed);
    // Why the last Accept gave nothing for a file; empty otherwise.
    const std::string& ProblemSjis() const { return m_problemSjis; }

private:
    // Shows the folder, or the nearest one above it that can be read.
    void Show(const std::string& folder);
    void List();

    std::vector<FileFilter> m_filters;
    std::string m_folder;
    std::size_t m_filter = 0;
    std::vector<Entry> m_entries;
    std::string m_problemSjis;
};

} // namespace platform
