#pragma once
// Top-level windows and their message queue. Every call but PostMessage and
// IsWindowThread belongs to the thread that creates the windows (the
// application thread); messages posted from other threads wake that thread's
// wait.

#include "platform/WindowMessage.h"

#include <memory>
#include <string>
#include <string_view>

namespace platform {

struct WindowSpec {
    std::string captionSjis;
    int clientWidth = 640;
    int clientHeight = 480;
    bool fullScreen = false; // desktop full screen, the client area letterboxed
    bool maximizeBox = false;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;

    // A hidden window, or 0 on failure.
    virtual WindowHandle CreateWindow(const WindowSpec& request) = 0;
    // Pending messages of the window are dropped with it.
    virtual void DestroyWindow(WindowHandle window) = 0;

    virtual bool SetCaption(WindowHandle window, std::string_view captionSjis) = 0;
    virtual bool SetClientSize(WindowHandle window, int width, int height) = 0;
    virtual bool SetPosition(WindowHandle window, int x, int y) = 0;
    virtual bool Show(WindowHandle window, bool show) = 0;
    virtual bool SetFullScreen(WindowHandle window, bool fullScreen) = 0;
    virtual void Focus(WindowHandle window) = 0;
    virtual bool IsMinimized(WindowHandle window) = 0;

    // The frame's object for the window (its GWL_USERDATA).
    virtual void SetUserData(WindowHandle window, void* data) = 0;
    virtual void* GetUserData(WindowHandle window) = 0;

    virtual Size ScreenSize() = 0;

    // The display counter of the cursor: +1 to show, -1 to hide; the cursor
    // is visible while it is 0 or more. Returns the new count.
    virtual int ShowCursor(bool show) = 0;
    // The cursor in client coordinates of the window (letterbox undone).
    virtual Point GetCursorPos(WindowHandle window) = 0;
    virtual void SetCursorPos(WindowHandle window, Point client) = 0;

    // Takes the next message without waiting; false when none is queued.
    virtual bool PeekMessage(WindowMessage& out) = 0;
    // Waits for the next message: 1 for a message, 0 for WM_QUIT, -1 on failure.
    virtual int GetMessage(WindowMessage& out) = 0;

    // Any thread. False when the window does not exist.
    virtual bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;

    // The file of a WM_DROPFILES, as an internal path in Shift-JIS; empty
    // once finished. FinishDrop frees it (unfinished drops go with their window).
    virtual std::string DroppedFile(std::uintptr_t drop) = 0;
    virtual void FinishDrop(std::uintptr_t drop) = 0;

    // Why no display could be opened, once that failed; else empty.
    virtual std::string VideoError() { return {}; }

    // Any thread: whether it is the one that makes the windows and takes
    // their messages.
    virtual bool IsWindowThread() = 0;
    // On that thread: whether a close of the player (the close box, Alt+F4,
    // a posted WM_CLOSE) waits among the messages not yet taken, looked for
    // without taking any. Lent to the close latch (CloseLatch.h).
    virtual bool IsCloseWaiting() = 0;
};

// The headless system until the executable installs the SDL one.
IWindowSystem& Windows();
void InstallWindows(std::unique_ptr<IWindowSystem> system);

// SDL2 windows. Video starts with the first window and stops with the last,
// on the thread that makes them.
std::unique_ptr<IWindowSystem> MakeSdlWindowSystem();

} // namespace platform
