#include "frame/Window.h"

#include "frame/ErrorLog.h"
#include "frame/ImeSwitch.h"
#include "platform/WindowSystem.h"

#include <atomic>

namespace kivotasuGameKit {

namespace {

std::atomic<bool> FullScreenFlag{false};

// Window creation is serialised process-wide.
KTL::CCriticalSection& CreateLock()
{
    static KTL::CCriticalSection lock;
    return lock;
}

} // namespace

CWindow::~CWindow() noexcept
{
    m_hooks.Remove(this);
}

bool CWindow::IsFullScreen()
{
    return FullScreenFlag.load(std::memory_order_acquire);
}

void CWindow::SetFullScreenFlag(bool fullScreen)
{
    FullScreenFlag.store(fullScreen, std::memory_order_release);
}

void CWindow::MoveToCentre()
{
    // Centred on the screen, halves rounded down as an arithmetic shift does.
    const platform::Size screen = platform::Windows().ScreenSize();
    platform::Windows().SetPosition(m_window, (screen.width - m_option.width) >> 1,
                                    (screen.height - m_option.height) >> 1);
}

int CWindow::Create(const CWindowOption& option)
{
    KTL::CCriticalLock guard(CreateLock());
    m_fullScreen = IsFullScreen();
    m_option = option;
    m_window = 0;

    if (IsDialog()) {
        // Dialogs are drawn inside the main window; no window is made for a template.
        ErrorLog.Out("CWindow::CreateでCreateWindowに失敗。");
        return 1;
    }

    platform::WindowSpec request;
    request.captionSjis = m_option.caption.GetStr();
    request.clientWidth = m_option.width;
    request.clientHeight = m_option.height;
    request.fullScreen = m_fullScreen;
    request.maximizeBox = (m_option.style & WS_MAXIMIZEBOX) != 0;
    m_window = platform::Windows().CreateWindow(request);
    if (m_window == 0) {
        ErrorLog.Out("CWindow::CreateでCreateWindowに失敗。");
        return 1;
    }
    platform::Windows().SetUserData(m_window, this);

    const bool sized = m_option.width != 0 && m_option.height != 0;
    if (!m_fullScreen && sized && m_option.centre)
        MoveToCentre();
    if (sized)
        platform::Windows().Show(m_window, true);
    platform::Windows().Focus(m_window);

    m_hooks.Add(this);
    return 0;
}

void CWindow::Destroy()
{
    if (m_window == 0)
        return;
    platform::Windows().DestroyWindow(m_window);
    m_window = 0;
}

int CWindow::SetWindowPos(int x, int y)
{
    if (m_window == 0 || m_fullScreen)
        return 0;
    return platform::Windows().SetPosition(m_window, x, y) ? 0 : 1;
}

int CWindow::SetClientSize(int width, int height)
{
    m_option.width = width;
    m_option.height = height;
    if (m_window == 0 || m_fullScreen)
        return 0;
    if (width != 0 && height != 0)
        platform::Windows().Show(m_window, true);
    return platform::Windows().SetClientSize(m_window, width, height) ? 0 : 1;
}

void CWindow::SetSizeLater(int width, int height)
{
    if (m_option.width == width && m_option.height == height)
        return;
    m_option.width = width;
    m_option.height = height;
    m_sizeChanged = true;
}

void CWindow::ChangeScreen()
{
    const bool wanted = IsFullScreen();
    if (m_fullScreen == wanted && !m_sizeChanged)
        return;
    m_fullScreen = wanted;
    m_sizeChanged = false;
    if (m_window == 0)
        return;

    platform::IWindowSystem& windows = platform::Windows();
    // The client size is the logical size in both modes: full screen letterboxes it.
    windows.SetClientSize(m_window, m_option.width, m_option.height);
    windows.SetFullScreen(m_window, m_fullScreen);
    if (!m_fullScreen)
        MoveToCentre();
    windows.Show(m_window, true);
    if (CImeSwitch* ime = CImeSwitch::GetInstance())
        m_fullScreen ? ime->Off() : ime->On();
}

void CWindow::ShowCursor(bool show)
{
    if (m_cursorHidden)
        show = false;
    if (show == m_cursorShown)
        return;
    m_cursorShown = show;
    platform::Windows().ShowCursor(show);
}

void CWindow::SetCursorHidden(bool hide)
{
    if (hide == m_cursorHidden)
        return;
    m_cursorHidden = hide;
    if (hide)
        platform::Windows().ShowCursor(false);
    else if (!IsFullScreen())
        platform::Windows().ShowCursor(true);
}

std::intptr_t CWindow::DispatchMessage(const platform::WindowMessage& message)
{
    if (message.window == 0)
        return 0;
    auto* window = static_cast<CWindow*>(platform::Windows().GetUserData(message.window));
    const std::intptr_t answer =
        window ? window->m_hooks.Dispatch(message.window, message.message, message.wParam, message.lParam) : 0;
    // A drop that no hook finished would stay for the window's life.
    if (message.message == platform::WM_DROPFILES)
        platform::Windows().FinishDrop(message.wParam);
    return answer;
}

std::intptr_t CWindow::WndProc(platform::WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t)
{
    switch (message) {
    case platform::WM_DESTROY:
        platform::Windows().Show(m_window, false);
        break;
    case platform::WM_SIZE:
        if (wParam == platform::SIZE_RESTORED)
            m_minimized = false;
        else if (wParam == platform::SIZE_MINIMIZED)
            m_minimized = true;
        break;
    case platform::WM_ACTIVATEAPP:
        if (wParam != 0)
            m_minimized = false;
        break;
    case platform::WM_NCDESTROY:
        m_window = 0;
        break;
    default:
        break;
    }
    return 0;
}

} // namespace kivotasuGameKit
