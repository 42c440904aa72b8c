#include "script/engine/EngineWinHook.h"

#include "frame/AppManager.h"
#include "frame/Window.h"
#include "platform/Dialogs.h"
#include "platform/FileDialogs.h"
#include "platform/WindowSystem.h"
#include "script/engine/InputState.h"
#include "script/engine/MenuCommands.h"
#include "script/engine/QuiltorEngine.h"

using kivotasuGameKit::CTextString;

namespace {

constexpr std::size_t MaxPath = 260;

} // namespace

CEngineWinHook::CEngineWinHook(CQuiltorEngine& engine) : m_engine(engine)
{
    kivotasuGameKit::CAppManager::GetInstance()->Hook(this);
}

CEngineWinHook::~CEngineWinHook()
{
    kivotasuGameKit::CAppManager::GetInstance()->Unhook(this);
}

std::intptr_t CEngineWinHook::WndProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t)
{
    switch (message) {
    case platform::WM_COMMAND:
        OnCommand(static_cast<std::uint32_t>(wParam & 0xFFFF));
        break;
    case platform::WM_PAINT:
        m_engine.Shown().Repaint();
        break;
    case platform::WM_SIZE:
        if (wParam == platform::SIZE_MAXIMIZED) m_engine.Shown().ChangeDisplayMode(true);
        break;
    case platform::WM_ACTIVATE:
    case platform::WM_ACTIVATEAPP:
        kivotasuGameKit::CWindow::DispatchMessage({window, platform::WM_PAINT, 0, 0});
        break;
    case platform::WM_DROPFILES:
        OnDropFiles(wParam);
        break;
    default:
        break;
    }
    return 0;
}

void CEngineWinHook::OnCommand(std::uint32_t id)
{
    using namespace MenuCommand;
    m_engine.GetGameState().PopupActive = 0;
    if (id >= WindowFrame) {
        m_engine.SelectWindowFrame(static_cast<std::int32_t>(id - WindowFrame));
    } else if (id >= Font) {
        m_engine.SetFont(static_cast<std::int32_t>(id - Font));
    } else if (id >= History) {
        OnHistory(id - History);
    } else if (id >= LoadAutoSave && id < LoadAutoSave + Slots) {
        m_engine.Guarded([&] { m_engine.LoadAutoSave(static_cast<int>(id - LoadAutoSave)); });
    } else if (id >= LoadSlot && id < LoadSlot + Slots) {
        m_engine.Guarded([&] { m_engine.LoadSlot(static_cast<int>(id - LoadSlot)); });
    } else if (id >= SaveSlot && id < SaveSlot + Slots) {
        m_engine.Guarded([&] { m_engine.Files().SaveSlot(static_cast<int>(id - SaveSlot)); });
    } else if (id >= SkipNormal && id <= SkipCustom) {
        m_engine.SetSkipPattern(id - SkipNormal);
        if (id == SkipNormal) CInputState::GetInstance().Event = InputEvent::None;
    } else {
        OnPlainCommand(id);
    }
}

// The commands of one id each.
void CEngineWinHook::OnPlainCommand(std::uint32_t id)
{
    using namespace MenuCommand;
    CGameState& state = m_engine.GetGameState();
    switch (id) {
    case Exit:
        if (platform::Question("終了確認", "終了しますか？", {"はい(&Y)", "いいえ(&N)"}) == 1) m_engine.PostClose();
        break;
    case HideWindows: CInputState::GetInstance().Event = InputEvent::WindowHide; break;
    case QuickSave: m_engine.Guarded([&] { m_engine.Files().QuickSave(); }); break;
    case QuickLoad: m_engine.Guarded([&] { m_engine.LoadQuick(); }); break;
    case ClearHistory:
        if (platform::Question("クリア確認", "履歴をクリアしますか？", {"はい(&Y)", "いいえ(&N)"}) == 1) state.ClearHistory();
        break;
    case SaveScreenPicture: m_engine.Guarded([&] { m_engine.SaveScreenPicture(); }); break;
    case LoadResume: m_engine.Guarded([&] { m_engine.LoadResume(); }); break;
    case ReturnToTitle:
        m_engine.Guarded([&] {
            m_engine.Files().Keep(CPlayersFiles::Moment::ReturnToTitle);
            m_engine.Reset();
            m_engine.StartGame();
        });
        break;
    case FullScreen: m_engine.Shown().ChangeDisplayMode(!m_engine.Shown().IsFullScreen()); break;
    case SceneSkip: m_engine.ToggleSceneSkip(); break;
    case Settings: m_engine.ShowSettingDialog(); break;
    case CustomSkipSettings: m_engine.CustomSkipDialog(); break;
    case OpenScript: OnOpenScript(); break;
    default: // progress and the placeholder
        break;
    }
}

void CEngineWinHook::OnHistory(std::uint32_t n)
{
    CGameState& state = m_engine.GetGameState();
    if (static_cast<std::int32_t>(n) >= state.HistoryCount) return;
    const CTextString path = state.History[n];
    m_engine.Guarded([&] { m_engine.Restart(path); });
}

void CEngineWinHook::OnOpenScript()
{
    platform::FileDialog dialog;
    dialog.titleSjis = "スクリプトを開く";
    dialog.folder = m_engine.GetLastScriptFolder().GetStr();
    dialog.filters = {{"スクリプト ファイル(*.txt;*.qlx)", "*.txt;*.qlx"}, {"すべてのファイル(*.*)", "*.*"}};
    dialog.mustExist = true;
    if (const std::optional<std::string> path = platform::ChooseFile(std::move(dialog)))
        StartScript(CTextString(*path));
}

void CEngineWinHook::OnDropFiles(std::uintptr_t drop)
{
    platform::IWindowSystem& windows = platform::Windows();
    CTextString path(windows.DroppedFile(drop).substr(0, MaxPath));
    windows.FinishDrop(drop);
    if (!path.IsEmpty()) StartScript(path);
}

void CEngineWinHook::StartScript(const CTextString& path)
{
    m_engine.SetLastScriptFolder(path.LeftOfLast('\\'));
    m_engine.Guarded([&] { m_engine.Restart(path); });
}
