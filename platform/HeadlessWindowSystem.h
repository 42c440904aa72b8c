#pragma once
// Windows that exist only in memory, with a message queue that tests feed.
// Every request is recorded so tests can check what the player asked for.

#include "platform/WindowSystem.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace platform {

class HeadlessWindowSystem final : public IWindowSystem {
public:
    struct WindowState {
        std::string captionSjis;
        Size client;
        Point position;
        bool fullScreen = false;
        bool maximizeBox = false;
        bool visible = false;
        bool minimized = false;
        bool focused = false;
        bool destroyed = false;
        std::uint32_t destroyingThread = 0; // SDL lets only the creating thread destroy
        void* userData = nullptr;
    };

    WindowHandle CreateWindow(const WindowSpec& request) override;
    void DestroyWindow(WindowHandle window) override;
    bool SetCaption(WindowHandle window, std::string_view captionSjis) override;
    bool SetClientSize(WindowHandle window, int width, int height) override;
    bool SetPosition(WindowHandle window, int x, int y) override;
    bool Show(WindowHandle window, bool show) override;
    bool SetFullScreen(WindowHandle window, bool fullScreen) override;
    void Focus(WindowHandle window) override;
    bool IsMinimized(WindowHandle window) override;
    void SetUserData(WindowHandle window, void* data) override;
    void* GetUserData(WindowHandle window) override;
    Size ScreenSize() override;
    int ShowCursor(bool show) override;
    Point GetCursorPos(WindowHandle window) override;
    void SetCursorPos(WindowHandle window, Point client) override;
    bool PeekMessage(WindowMessage& out) override;
    int GetMessage(WindowMessage& out) override;
    bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    void PostQuitMessage(int exitCode) override;
    std::string DroppedFile(std::uintptr_t drop) override;
    void FinishDrop(std::uintptr_t drop) override;
    // The thread that made the first window.
    bool IsWindowThread() override;
    bool IsCloseWaiting() override;

    // The user's side, for tests. Each queues what the real window would.
    void Feed(WindowHandle window, std::uint32_t message, std::uintptr_t wParam = 0,
              std::intptr_t lParam = 0);
    void Minimize(WindowHandle window);
    void Restore(WindowHandle window);
    void DropFile(WindowHandle window, std::string pathSjis);
    void MoveCursor(Point client);
    void SetScreenSize(Size size);
    void FailNextCreate();

    // What was asked: every window ever created, in order, with its state.
    std::vector<WindowHandle> Created() const;
    std::optional<WindowState> State(WindowHandle window) const;
    int CursorCount() const;
    std::size_t QueuedMessages() const;
    std::size_t OpenDrops() const;

private:
    WindowState* Find(WindowHandle window);
    void QueueLocked(WindowMessage message);

    mutable std::mutex m_lock;
    std::condition_variable m_queued;
    std::map<WindowHandle, WindowState> m_windows;
    std::vector<WindowHandle> m_created;
    std::deque<WindowMessage> m_queue;
    std::map<std::uintptr_t, std::pair<WindowHandle, std::string>> m_drops;
    std::uintptr_t m_nextDrop = 1;
    WindowHandle m_nextWindow = 1;
    Size m_screen{1920, 1080};
    Point m_cursor;
    int m_cursorCount = 0;
    bool m_failNextCreate = false;
    std::optional<std::uint32_t> m_windowThread;
};

} // namespace platform
