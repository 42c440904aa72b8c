#include "platform/HeadlessWindowSystem.h"

#include <algorithm>

#include "platform/Thread.h"

namespace platform {

HeadlessWindowSystem::WindowState* HeadlessWindowSystem::Find(WindowHandle window)
{
    auto found = m_windows.find(window);
    if (found == m_windows.end() || found->second.destroyed)
        return nullptr;
    return &found->second;
}

void HeadlessWindowSystem::QueueLocked(WindowMessage message)
{
    m_queue.push_back(message);
    m_queued.notify_all();
}

WindowHandle HeadlessWindowSystem::CreateWindow(const WindowSpec& request)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_failNextCreate) {
        m_failNextCreate = false;
        return 0;
    }
    WindowHandle handle = m_nextWindow++;
    if (!m_windowThread)
        m_windowThread = CurrentThreadId();
    WindowState& state = m_windows[handle];
    state.captionSjis = request.captionSjis;
    state.client = {request.clientWidth, request.clientHeight};
    state.fullScreen = request.fullScreen;
    state.maximizeBox = request.maximizeBox;
    m_created.push_back(handle);
    return handle;
}

void HeadlessWindowSystem::DestroyWindow(WindowHandle window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    WindowState* state = Find(window);
    if (!state)
        return;
    state->destroyed = true;
    state->destroyingThread = CurrentThreadId();
    state->visible = false;
    std::erase_if(m_queue, [window](const WindowMessage& m) { return m.window == window; });
    std::erase_if(m_drops, [window](const auto& drop) { return drop.second.first == window; });
}

bool HeadlessWindowSystem::SetCaption(WindowHandle window, std::string_view captionSjis)
{
    std::lock_guard<std::mutex> guard(m_lock);
    WindowState* state = Find(window);
    if (!state)
        return false;
    state->captionSjis = captionSjis;
    return true;
}

bool HeadlessWindowSystem::SetClientSize(WindowHandle window, int width, int height)
{
    std::lock_guard<std::mutex> guard(m_lock);
    WindowState* state = Find(window);
    if (!state || width <= 0 || height <= 0)
        return false;
    state->client = {width, height};
    return true;
}

bool HeadlessWindowSystem::SetPosition(WindowHandle window, int x, int y)
{
    std::lock_guard<std::mutex> guard(m_lock);
    WindowState* state = Find(window);
    if (!state)
        return false;
    state->position = {x, y};
    return true;
}

bool HeadlessWindowSystem::Show(WindowHandle window, bool show)
{
    std::lock_guard<std::mutex> guard(m_lock);
    WindowState* state = Find(window);
    if (!state)
        return false;
    state->visible = show;
    return true;
}

bool HeadlessWindowSystem::SetFullScreen(WindowHandle window, bool fullScreen)
{
    std::lock_guard<std::mutex> guard(m_lock);
    WindowState* state = Find(window);
    if (!state)
        return false;
    state->fullScreen = fullScreen;
    return true;
}

void HeadlessWindowSystem::Focus(WindowHandle window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto& [handle, state] : m_windows)
        state.focused = handle == window && !state.destroyed;
}

bool HeadlessWindowSystem::IsMinimized(WindowHandle window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    WindowState* state = Find(window);
    return state && state->minimized;
}

void HeadlessWindowSystem::SetUserData(WindowHandle window, void* data)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (WindowState* state = Find(window))
        state->userData = data;
}

void* HeadlessWindowSystem::GetUserData(WindowHandle window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    WindowState* state = Find(window);
    return state ? state->userData : nullptr;
}

Size HeadlessWindowSystem::ScreenSize()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_screen;
}

int HeadlessWindowSystem::ShowCursor(bool show)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_cursorCount += show ? 1 : -1;
    return m_cursorCount;
}

Point HeadlessWindowSystem::GetCursorPos(WindowHandle)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_cursor;
}

void HeadlessWindowSystem::SetCursorPos(WindowHandle, Point client)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_cursor = client;
}

bool HeadlessWindowSystem::PeekMessage(WindowMessage& out)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_queue.empty())
        return false;
    out = m_queue.front();
    m_queue.pop_front();
    return true;
}

int HeadlessWindowSystem::GetMessage(WindowMessage& out)
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_queued.wait(guard, [this] { return !m_queue.empty(); });
    out = m_queue.front();
    m_queue.pop_front();
    return out.message == WM_QUIT ? 0 : 1;
}

bool HeadlessWindowSystem::PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (window != 0 && !Find(window))
        return false;
    QueueLocked({window, message, wParam, lParam});
    return true;
}

void HeadlessWindowSystem::PostQuitMessage(int exitCode)
{
    std::lock_guard<std::mutex> guard(m_lock);
    QueueLocked({0, WM_QUIT, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(exitCode)), 0});
}

std::string HeadlessWindowSystem::DroppedFile(std::uintptr_t drop)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_drops.find(drop);
    return found == m_drops.end() ? std::string() : found->second.second;
}

void HeadlessWindowSystem::FinishDrop(std::uintptr_t drop)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_drops.erase(drop);
}

bool HeadlessWindowSystem::IsWindowThread()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_windowThread == CurrentThreadId();
}

bool HeadlessWindowSystem::IsCloseWaiting()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return std::any_of(m_queue.begin(), m_queue.end(), [](const WindowMessage& m) { return m.message == WM_CLOSE; });
}

void HeadlessWindowSystem::Feed(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam)
{
    std::lock_guard<std::mutex> guard(m_lock);
    QueueLocked({window, message, wParam, lParam});
}

void HeadlessWindowSystem::Minimize(WindowHandle window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (WindowState* state = Find(window)) {
        state->minimized = true;
        QueueLocked({window, WM_SIZE, SIZE_MINIMIZED, 0});
    }
}

void HeadlessWindowSystem::Restore(WindowHandle window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (WindowState* state = Find(window)) {
        state->minimized = false;
        QueueLocked({window, WM_SIZE, SIZE_RESTORED, MakePointParam(state->client.width, state->client.height)});
    }
}

void HeadlessWindowSystem::DropFile(WindowHandle window, std::string pathSjis)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!Find(window))
        return;
    const std::uintptr_t drop = m_nextDrop++;
    m_drops[drop] = {window, std::move(pathSjis)};
    QueueLocked({window, WM_DROPFILES, drop, 0});
}

void HeadlessWindowSystem::MoveCursor(Point client)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_cursor = client;
}

void HeadlessWindowSystem::SetScreenSize(Size size)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_screen = size;
}

void HeadlessWindowSystem::FailNextCreate()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_failNextCreate = true;
}

std::vector<WindowHandle> HeadlessWindowSystem::Created() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_created;
}

std::optional<HeadlessWindowSystem::WindowState> HeadlessWindowSystem::State(WindowHandle window) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_windows.find(window);
    if (found == m_windows.end())
        return std::nullopt;
    return found->second;
}

int HeadlessWindowSystem::CursorCount() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_cursorCount;
}

std::size_t HeadlessWindowSystem::QueuedMessages() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_queue.size();
}

std::size_t HeadlessWindowSystem::OpenDrops() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_drops.size();
}

} // namespace platform
