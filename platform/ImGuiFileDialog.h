#pragma once
// Inside platform/ only: one frame of a drawn file dialog (a folder browser
// with a name field and a type list), between ImGui's NewFrame and Render.

#include "platform/FileBrowser.h"
#include "platform/FileDialogs.h"

#include <imgui.h>

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace platform {

class FileDialogView {
public:
    explicit FileDialogView(const FileDialog& dialog);

    // True once OK, Cancel, Return, Escape or the close box has ended it.
    bool Frame(bool first);
    // The internal path accepted; nothing when cancelled.
    const std::optional<std::string>& Result() const { return m_result; }
    // Every character the dialog shows now.
    std::set<std::uint16_t> Glyphs() const;

private:
    void FolderLine();
    void List();
    void NameAndType(bool first);
    void Buttons();
    void Accept();
    void SetName(const std::string& utf8);

    const FileDialog& m_dialog;
    FileBrowser m_browser;
    std::array<char, 1024> m_name{}; // UTF-8: 260 characters of up to four bytes
    std::optional<std::string> m_result;
    std::optional<ImVec2> m_corner;
    bool m_done = false;
};

} // namespace platform
