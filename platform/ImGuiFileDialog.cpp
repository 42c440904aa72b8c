#include "platform/ImGuiFileDialog.h"

#include "platform/DrawnText.h"
#include "platform/ImGuiModal.h"
#include "platform/TextCodec.h"

#include <imgui.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr float DialogWidth = 560.0f;
constexpr float ListHeight = 230.0f;
constexpr float ButtonWidth = 88.0f;

// The labels of the dialog, Shift-JIS as every text of the program.
constexpr const char* FolderLabel = "場所:";
constexpr const char* UpLabel = "上へ";
constexpr const char* NameLabel = "ファイル名(&N):";
constexpr const char* TypeLabel = "ファイルの種類(&T):";
constexpr const char* OpenLabel = "開く(&O)";
constexpr const char* SaveLabel = "保存(&S)";
constexpr const char* CancelLabel = "キャンセル";

// Where the fields start: after the widest label of the left column.
float FieldStart()
{
    float widest = 0;
    for (const char* label : {FolderLabel, NameLabel, TypeLabel})
        widest = std::max(widest, ImGui::CalcTextSize(ShownLabel(label).c_str()).x);
    return ImGui::GetStyle().WindowPadding.x + widest + 2 * ImGui::GetStyle().ItemSpacing.x;
}

} // namespace

FileDialogView::FileDialogView(const FileDialog& dialog) : m_dialog(dialog), m_browser(dialog)
{
    SetName(Cp932ToUtf8(dialog.fileNameSjis));
}

std::set<std::uint16_t> FileDialogView::Glyphs() const
{
    std::set<std::uint16_t> glyphs;
    for (const char* label : {FolderLabel, UpLabel, NameLabel, TypeLabel, OpenLabel, SaveLabel, CancelLabel})
        CollectCodepoints(ShownLabel(label), glyphs);
    CollectCodepoints(Cp932ToUtf8(m_dialog.titleSjis), glyphs);
    for (const FileFilter& filter : m_dialog.filters)
        CollectCodepoints(Cp932ToUtf8(filter.textSjis), glyphs);
    CollectCodepoints(Cp932ToUtf8(m_browser.ProblemSjis()), glyphs);
    CollectCodepoints(m_browser.Folder(), glyphs);
    for (const FileBrowser::Entry& entry : m_browser.Entries())
        CollectCodepoints(entry.name, glyphs);
    CollectCodepoints(m_name.data(), glyphs);
    return glyphs;
}

bool FileDialogView::Frame(bool first)
{
    // ImGui's own arrows walk the list and the fields.
    if (first)
        ImGui::GetIO().ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
    ImGui::SetNextWindowSize(ImVec2(DialogWidth, 0));
    bool open = true;
    BeginCentredDialog(Cp932ToUtf8(m_dialog.titleSjis) + "###file", first, &open, ImGuiWindowFlags_NoResize, m_corner);
    FolderLine();
    List();
    NameAndType(first);
    Buttons();
    ImGui::End();
    if (!open || KeyPressed(ImGuiKey_Escape))
        m_done = true;
    return m_done;
}

void FileDialogView::FolderLine()
{
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(ShownLabel(FolderLabel).c_str());
    ImGui::SameLine(FieldStart());
    const std::string up = ShownLabel(UpLabel);
    const float upWidth = ImGui::CalcTextSize(up.c_str()).x + ImGui::GetStyle().FramePadding.x * 2;
    ImGui::PushTextWrapPos(ImGui::GetWindowContentRegionMax().x - upWidth - ImGui::GetStyle().ItemSpacing.x);
    ImGui::TextUnformatted(m_browser.Folder().c_str());
    ImGui::PopTextWrapPos();
    ImGui::SameLine(ImGui::GetWindowContentRegionMax().x - upWidth);
    if (ImGui::Button(up.c_str()) || (KeyPressed(ImGuiKey_Backspace) && !ImGui::GetIO().WantTextInput))
        m_browser.Up();
}

void FileDialogView::List()
{
    ImGui::BeginChild("entries", ImVec2(0, ListHeight), true);
    // Entering a folder changes the list: the rest of this frame draws the old one.
    std::optional<std::string> enter;
    for (std::size_t i = 0; i < m_browser.Entries().size(); ++i) {
        const FileBrowser::Entry& entry = m_browser.Entries()[i];
        ImGui::PushID(static_cast<int>(i));
        const std::string shown = entry.folder ? entry.name + "/" : entry.name;
        const bool selected = !entry.folder && entry.name == m_name.data();
        const ImGuiSelectableFlags flags = ImGuiSelectableFlags_AllowDoubleClick
                                           | (entry.usable ? 0 : ImGuiSelectableFlags_Disabled);
        if (ImGui::Selectable(shown.c_str(), selected, flags)) {
            if (entry.folder) {
                if (ImGui::IsMouseDoubleClicked(0) || KeyPressed(ImGuiKey_Enter))
                    enter = entry.name;
            } else {
                SetName(entry.name);
                if (ImGui::IsMouseDoubleClicked(0))
                    Accept();
            }
        }
        ImGui::PopID();
    }
    ImGui::EndChild();
    if (enter)
        m_browser.Enter(*enter);
}

void FileDialogView::NameAndType(bool first)
{
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(ShownLabel(NameLabel).c_str());
    ImGui::SameLine(FieldStart());
    ImGui::SetNextItemWidth(-1);
    if (first)
        ImGui::SetKeyboardFocusHere();
    if (ImGui::InputText("##name", m_name.data(), m_name.size(), ImGuiInputTextFlags_EnterReturnsTrue))
        Accept();
    if (!m_browser.ProblemSjis().empty())
        ImGui::TextColored(ImVec4(0.8f, 0.1f, 0.1f, 1.0f), "%s", Cp932ToUtf8(m_browser.ProblemSjis()).c_str());

    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(ShownLabel(TypeLabel).c_str());
    ImGui::SameLine(FieldStart());
    ImGui::SetNextItemWidth(-1);
    const std::size_t chosen = m_browser.FilterIndex();
    const std::string preview = chosen < m_dialog.filters.size() ? Cp932ToUtf8(m_dialog.filters[chosen].textSjis) : "";
    if (ImGui::BeginCombo("##type", preview.c_str())) {
        for (std::size_t i = 0; i < m_dialog.filters.size(); ++i) {
            ImGui::PushID(static_cast<int>(i));
            if (ImGui::Selectable(Cp932ToUtf8(m_dialog.filters[i].textSjis).c_str(), i == chosen))
                m_browser.SetFilter(i);
            ImGui::PopID();
        }
        ImGui::EndCombo();
    }
}

void FileDialogView::Buttons()
{
    const float spacing = ImGui::GetStyle().ItemSpacing.x;
    ImGui::Dummy(ImVec2(0, 4));
    ImGui::SetCursorPosX(ImGui::GetWindowContentRegionMax().x - 2 * ButtonWidth - spacing);
    const char* ok = m_dialog.kind == FileDialog::Kind::Save ? SaveLabel : OpenLabel;
    if (ImGui::Button(ShownLabel(ok).c_str(), ImVec2(ButtonWidth, 0)))
        Accept();
    ImGui::SameLine();
    if (ImGui::Button(ShownLabel(CancelLabel).c_str(), ImVec2(ButtonWidth, 0)))
        m_done = true;
}

void FileDialogView::Accept()
{
    const std::string typed = m_name.data();
    m_result = m_browser.Accept(typed);
    if (m_result) {
        m_done = true;
        return;
    }
    // A folder was entered: its name leaves the field.
    if (m_browser.ProblemSjis().empty() && !typed.empty())
        SetName("");
}

void FileDialogView::SetName(const std::string& utf8)
{
    m_name.fill('\0');
    std::memcpy(m_name.data(), utf8.data(), std::min(utf8.size(), m_name.size() - 1));
}

} // namespace platform
