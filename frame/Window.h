#pragma once

#include "frame/TextString.h"
#include "frame/WinHook.h"
#include "frame/WinHookList.h"

#include <atomic>
#include <cstdint>

namespace kivotasuGameKit {

inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;

// What a window is made with.
struct CWindowOption {
    CTextString caption = "あぷりちゃん";
    CTextString className = "KIVOAPPLICATION";
    std::uintptr_t dialogTemplate = 0; // 0: an ordinary window
    int width = 640;                   // client area
    int height = 480;
    std::uint32_t style = 0x10CA0000;
    bool centre = true;
};

// The application's main window. Its own hook is the first of its list;
// messages reach every hook through Dispatch on the window's thread.
class CWindow : public IWinHook {
public:
    CWindow() = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;
    // Leaves the platform window alone: Destroy belongs to the window's thread.
    ~CWindow() noexcept override;

    // 0 on success, 1 on failure (logged).
    virtual int Create(const CWindowOption& option);
    virtual platform::WindowHandle GetHWnd() const { return m_window.load(std::memory_order_acquire); }
    virtual int SetWindowPos(int x, int y);
    virtual void ChangeScreen();
    virtual int SetClientSize(int width, int height);
    virtual void SetSizeLater(int width, int height);
    virtual void SetCursorHidden(bool hide);
    virtual void ShowCursor(bool show);
    virtual bool IsShowCursor() const { return m_cursorShown; }
    virtual const CWindowOption& GetOption() const { return m_option; }
    virtual bool IsMinimized() const { return m_minimized; }
    virtual CWinHookList& GetHookList() { return m_hooks; }
    virtual void ClearHooks() { m_hooks.Clear(); }
    virtual void MarkSizeChanged() { m_sizeChanged = true; }
    virtual void SetFullScreenFlag(bool fullScreen);
    virtual bool IsDialog() const { return m_option.dialogTemplate != 0; }

    // The screen manager's names for the last two.
    void MarkScreenChanged() { MarkSizeChanged(); }
    void SetFullScreen(bool fullScreen) { SetFullScreenFlag(fullScreen); }

    // The mode asked for, process-wide.
    static bool IsFullScreen();

    // Ends the platform window (its pending messages go with it).
    void Destroy();

    // Sends a queued message through the hooks of its window.
    static std::intptr_t DispatchMessage(const platform::WindowMessage& message);

    std::intptr_t WndProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;

private:
    void MoveToCentre();

    // Read by threads that post to the window.
    std::atomic<platform::WindowHandle> m_window{0};
    bool m_fullScreen = false;
    CWindowOption m_option;
    CWinHookList m_hooks;
    bool m_cursorShown = true;
    bool m_cursorHidden = false;
    bool m_sizeChanged = false;
    bool m_minimized = false;
};

} // namespace kivotasuGameKit
