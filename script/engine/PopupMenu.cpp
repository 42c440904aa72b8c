#include "script/engine/QuiltorEngine.h"

#include "frame/WindowApp.h"
#include "platform/Dialogs.h"
#include "script/engine/MenuCommands.h"
#include "script/lang/Set.h"
#include "script/tag/FontList.h"

#include <cstdio>

using kivotasuGameKit::CTextString;
using platform::MenuItem;

namespace {

// Places in the popup that the menu greys or fills by position.
constexpr std::size_t QuickSavePlace = 2;
constexpr std::size_t SavePlace = 4;
constexpr std::size_t FontPlace = 10;

std::string Numbered(const char* format, int n)
{
    char text[32];
    std::snprintf(text, sizeof text, format, n);
    return text;
}

std::vector<MenuItem> SlotItems(std::uint32_t first, const char* format, bool greyed)
{
    std::vector<MenuItem> items;
    for (int n = 0; n < MenuCommand::Slots; ++n)
        items.push_back(MenuItem::Command(first + n, Numbered(format, n) + "- NONE -", greyed));
    return items;
}

// The popup of menu resource 102 as the resource holds it. The further
// commands (opening a script, the history, the screen picture, the window
// frames, the custom skip and its settings) are not offered: a shipped game
// must not let its player open any script. The window hook still carries
// them out.
platform::Menu ResourceMenu()
{
    using namespace MenuCommand;
    std::vector<MenuItem> load{MenuItem::Command(LoadResume, "オートセーブデータ", true), MenuItem::Separator(),
                               MenuItem::Submenu("選択肢自動セーブデータ", SlotItems(LoadAutoSave, "%02d: ", true)),
                               MenuItem::Separator()};
    for (MenuItem& item : SlotItems(LoadSlot, "%03d: ", true)) load.push_back(std::move(item));
    return {
        MenuItem::Submenu("スキップ処理", {MenuItem::Command(SkipNormal, "通常のテキスト送り"),
                                           MenuItem::Command(SkipNormal + 1, "高速スキップ"),
                                           MenuItem::Command(SkipNormal + 2, "自動閲覧"), MenuItem::Separator(),
                                           MenuItem::Command(SceneSkip, "シーンスキップ機能を有効にする")}),
        MenuItem::Separator(),
        MenuItem::Command(QuickSave, "クイックセーブ"),
        MenuItem::Command(QuickLoad, "クイックロード", true),
        MenuItem::Submenu("セーブ", SlotItems(SaveSlot, "%03d: ", false)),
        MenuItem::Submenu("ロード", std::move(load)),
        MenuItem::Separator(),
        MenuItem::Command(HideWindows, "ウィンドウを隠す"),
        MenuItem::Separator(),
        MenuItem::Command(FullScreen, "フルスクリーン表示"),
        MenuItem::Submenu("フォント", {MenuItem::Command(Placeholder, "だみー")}),
        MenuItem::Command(Settings, "設定(&C)..."),
        MenuItem::Separator(),
        MenuItem::Command(ReturnToTitle, "タイトルに戻る"),
        MenuItem::Command(Exit, "終了(&X)"),
    };
}

void Check(platform::Menu& menu, std::uint32_t command)
{
    if (MenuItem* item = platform::FindCommand(menu, command)) item->checked = true;
}

// The item gets the text and is enabled.
void Label(platform::Menu& menu, std::uint32_t command, std::string text)
{
    MenuItem& item = *platform::FindCommand(menu, command);
    item.textSjis = std::move(text);
    item.greyed = false;
}

} // namespace

// A game that never set the variable has the function off: expanding an
// unset variable would raise the script's error from the menu.
bool CQuiltorEngine::IsSceneSkipOn() const
{
    CTextString value("{スキップ機能}");
    try {
        CSet::GetInstance().Expand(value);
    } catch (const EScript&) {
        return false;
    }
    return value == CTextString("1");
}

void CQuiltorEngine::ToggleSceneSkip()
{
    CSet::GetInstance().Set("スキップ機能", IsSceneSkipOn() ? "0" : "1", true);
}

platform::Menu CQuiltorEngine::BuildPopupMenu()
{
    platform::Menu menu = ResourceMenu();
    Check(menu, MenuCommand::SkipNormal + m_state.SkipPattern);
    if (IsSceneSkipOn()) Check(menu, MenuCommand::SceneSkip);
    if (!m_state.AutoSave) menu[QuickSavePlace].greyed = menu[SavePlace].greyed = true;
    LabelSaves(menu);
    MenuItem& hide = *platform::FindCommand(menu, MenuCommand::HideWindows);
    hide.checked = m_state.State == EngineState::WindowHidden;
    hide.greyed = m_state.State != EngineState::ClickWait && !hide.checked;
    if (m_shown.IsFullScreen()) Check(menu, MenuCommand::FullScreen);
    if (m_state.State == EngineState::ClickWait) {
        CFontList::GetInstance().FillMenu(menu[FontPlace], MenuCommand::Font, MenuCommand::WindowFrame - MenuCommand::Font);
    } else {
        menu[FontPlace].greyed = true;
    }
    return menu;
}

// Each save that exists is labelled with its time and can be loaded.
void CQuiltorEngine::LabelSaves(platform::Menu& menu) const
{
    CTextString time;
    if (m_files.GetSaveTime(CPlayersFiles::ResumeCode, time)) Label(menu, MenuCommand::LoadResume, "オートセーブデータ " + time.GetStr());
    if (m_files.GetSaveTime(CPlayersFiles::QuickCode, time)) platform::FindCommand(menu, MenuCommand::QuickLoad)->greyed = false;
    for (int n = MenuCommand::Slots - 1; n >= 0; --n) {
        if (!m_files.GetSaveTime(n, time)) continue;
        Label(menu, MenuCommand::SaveSlot + n, Numbered("%03d: ", n) + time.GetStr());
        Label(menu, MenuCommand::LoadSlot + n, Numbered("%03d: ", n) + time.GetStr());
    }
    for (int n = MenuCommand::Slots - 1; n >= 0; --n) {
        if (m_files.GetSaveTime(CPlayersFiles::RingCode + n, time)) Label(menu, MenuCommand::LoadAutoSave + n, Numbered("%02d: ", n) + time.GetStr());
    }
}

void CQuiltorEngine::PopupMenu()
{
    const platform::WindowHandle window = m_app ? m_app->GetHWnd() : 0;
    const platform::Menu menu = BuildPopupMenu();
    const std::uint32_t command = platform::Dialogs().TrackMenu(menu, platform::Windows().GetCursorPos(window));
    // The menu's own loop swallowed the click that dismissed it, which
    // the flag would otherwise wait for.
    if (command == 0) {
        m_state.PopupActive = 0;
        return;
    }
    platform::Windows().PostMessage(window, platform::WM_COMMAND, command, 0);
}
