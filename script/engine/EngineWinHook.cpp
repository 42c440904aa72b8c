#include "script/engine/EngineWinHook.h"

#include "frame/AppManager.h"
#include "frame/Window.h"
#include "platform/WindowSystem.h"
#include "script/engine/InputState.h"
#include "script/engine/QuiltorEngine.h"

using kivotasuGameKit::CTextString;

namespace {

enum MenuCommand : std::uint32_t {
    HideWindowsCommand = 40007,
    SkipNormal = 40051,
    SkipCustom = 40055,
    FullScreenCommand = 40064,
};

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
        if (!m_engine.IsPaintBusy()) {
            m_engine.SetPaintBusy(true);
            m_engine.PresentBack();
            m_engine.SetPaintBusy(false);
        }
        break;
    case platform::WM_SIZE:
        if (wParam == platform::SIZE_MAXIMIZED) m_engine.ChangeDisplayMode(true);
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

// The commands of the popup menu; those whose operations come with the menu,
// the dialogs and saving are handled there.
void CEngineWinHook::OnCommand(std::uint32_t id)
{
    m_engine.GetGameState().PopupActive = 0;
    if (id == HideWindowsCommand) {
        CInputState::GetInstance().Event = InputEvent::WindowHide;
    } else if (id >= SkipNormal && id <= SkipCustom) {
        m_engine.SetSkipPattern(id - SkipNormal);
        if (id == SkipNormal) CInputState::GetInstance().Event = InputEvent::None;
    } else if (id == FullScreenCommand) {
        m_engine.ChangeDisplayMode(!m_engine.GetDraw().IsFullScreen());
    }
}

void CEngineWinHook::OnDropFiles(std::uintptr_t drop)
{
    platform::IWindowSystem& windows = platform::Windows();
    CTextString path(windows.DroppedFile(drop).substr(0, MaxPath));
    windows.FinishDrop(drop);
    if (path.IsEmpty()) return;
    m_engine.SetLastScriptFolder(path.LeftOfLast('\\'));
    m_engine.Guarded([&] { m_engine.Restart(path); });
}
