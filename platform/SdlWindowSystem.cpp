#include "platform/WindowSystem.h"

#include "platform/CloseLatch.h"
#include "platform/Letterbox.h"
#include "platform/SdlFrame.h"
#include "platform/SdlKeyMap.h"
#include "platform/TextCodec.h"
#include "platform/Thread.h"
#include "platform/HostPath.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <iterator>
#include <map>
#include <mutex>
#include <set>

namespace platform {

// The renderer SDL picks unless told otherwise is its OpenGL one.
bool DrawsThroughOpenGl()
{
    const char* driver = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    return !driver || !*driver || SDL_strcasecmp(driver, "opengl") == 0;
}

namespace {

// How long a blocking wait sleeps in SDL before it asks the close latch (a
// signal may land on any thread and so cannot wake SDL's wait).
constexpr int SignalPollMs = 50;

class SdlWindowSystem final : public IWindowSystem {
public:
    ~SdlWindowSystem() override;

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
    std::string VideoError() override { return m_videoError; }
    bool IsWindowThread() override { return m_videoThread.load(std::memory_order_acquire) == CurrentThreadId(); }
    bool IsCloseWaiting() override;

private:
    struct Window {
        SDL_Window* sdl = nullptr;
        Size client;
        bool fullScreen = false;
        void* userData = nullptr;
    };

    bool StartVideo();
    void StopVideo();
    Window* Find(WindowHandle window);
    WindowHandle FirstWindow() const;
    Letterbox BoxOf(const Window& window) const;
    Point ClientPoint(WindowHandle window, int x, int y);
    std::uintptr_t MouseKeys() const;
    void Queue(WindowHandle window, std::uint32_t message, std::uintptr_t wParam = 0,
               std::intptr_t lParam = 0);
    void Translate(const SDL_Event& event);
    void TranslateWindowEvent(const SDL_WindowEvent& event);
    bool TakePending(WindowMessage& out);

    std::map<WindowHandle, Window> m_windows;
    std::deque<WindowMessage> m_pending;
    std::map<std::uintptr_t, std::pair<WindowHandle, std::string>> m_drops;
    std::uintptr_t m_nextDrop = 1;
    int m_cursorCount = 0;
    std::string m_videoError;

    // The thread that started video, which alone may pump SDL.
    static constexpr std::uint32_t NoThread = 0xFFFFFFFFu;
    std::atomic<std::uint32_t> m_videoThread{NoThread};

    // Shared with posting threads.
    std::mutex m_postLock;
    bool m_videoUp = false;
    Uint32 m_postedEvent = 0;
    std::set<WindowHandle> m_live;
};

SdlWindowSystem::~SdlWindowSystem()
{
    while (!m_windows.empty())
        DestroyWindow(m_windows.begin()->first);
}

bool SdlWindowSystem::StartVideo()
{
    if (m_videoUp)
        return true;
    // Closing is ours to decide: the signals are handled by TerminationSignals
    // and the last window's close box arrives as WM_CLOSE.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Only drivers that show something, unless SDL_VIDEODRIVER names one:
    // without a display SDL would fall back to its off-screen driver, and the
    // player would run where no one can see it.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,wayland,KMSDRM", SDL_HINT_DEFAULT);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        m_videoError = SDL_GetError();
        return false;
    }
    Uint32 posted = SDL_RegisterEvents(1);
    if (posted == static_cast<Uint32>(-1)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    SDL_ShowCursor(m_cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    m_videoThread.store(CurrentThreadId(), std::memory_order_release);
    std::lock_guard<std::mutex> guard(m_postLock);
    m_postedEvent = posted;
    m_videoUp = true;
    return true;
}

void SdlWindowSystem::StopVideo()
{
    {
        std::lock_guard<std::mutex> guard(m_postLock);
        if (!m_videoUp)
            return;
        m_videoUp = false;
    }
    m_videoThread.store(NoThread, std::memory_order_release);
    m_pending.clear();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    // The last user frees SDL's own state too (hints, the window titles).
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

SdlWindowSystem::Window* SdlWindowSystem::Find(WindowHandle window)
{
    auto found = m_windows.find(window);
    return found == m_windows.end() ? nullptr : &found->second;
}

WindowHandle SdlWindowSystem::FirstWindow() const
{
    return m_windows.empty() ? 0 : m_windows.begin()->first;
}

WindowHandle SdlWindowSystem::CreateWindow(const WindowSpec& request)
{
    if (!StartVideo())
        return 0;
    // X11 window managers offer a maximise box only with a sizing border, which
    // the player's window has not: request.maximizeBox cannot be honoured, and
    // full screen is reached from the menu.
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (request.fullScreen)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    const std::string caption = Cp932ToUtf8(request.captionSjis);
    auto create = [&](Uint32 extra) {
        return SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, request.clientWidth,
                                request.clientHeight, flags | extra);
    };
    // SDL's OpenGL renderer destroys and re-creates a window made without GL,
    // after the player has shown it; without GL at all the window is plain.
    SDL_Window* sdl = DrawsThroughOpenGl() ? create(SDL_WINDOW_OPENGL) : nullptr;
    if (!sdl)
        sdl = create(0);
    if (!sdl) {
        if (m_windows.empty())
            StopVideo();
        return 0;
    }
    WindowHandle handle = SDL_GetWindowID(sdl);
    m_windows[handle] = Window{sdl, {request.clientWidth, request.clientHeight}, request.fullScreen, nullptr};
    std::lock_guard<std::mutex> guard(m_postLock);
    m_live.insert(handle);
    return handle;
}

void SdlWindowSystem::DestroyWindow(WindowHandle window)
{
    Window* found = Find(window);
    if (!found)
        return;
    {
        std::lock_guard<std::mutex> guard(m_postLock);
        m_live.erase(window);
    }
    SDL_DestroyWindow(found->sdl);
    m_windows.erase(window);
    std::erase_if(m_pending, [window](const WindowMessage& m) { return m.window == window; });
    std::erase_if(m_drops, [window](const auto& drop) { return drop.second.first == window; });
    if (m_windows.empty())
        StopVideo();
}

bool SdlWindowSystem::SetCaption(WindowHandle window, std::string_view captionSjis)
{
    Window* found = Find(window);
    if (!found)
        return false;
    SDL_SetWindowTitle(found->sdl, Cp932ToUtf8(captionSjis).c_str());
    return true;
}

bool SdlWindowSystem::SetClientSize(WindowHandle window, int width, int height)
{
    Window* found = Find(window);
    if (!found || width <= 0 || height <= 0)
        return false;
    found->client = {width, height};
    if (!found->fullScreen)
        SDL_SetWindowSize(found->sdl, width, height);
    return true;
}

bool SdlWindowSystem::SetPosition(WindowHandle window, int x, int y)
{
    Window* found = Find(window);
    if (!found)
        return false;
    SDL_SetWindowPosition(found->sdl, x, y);
    return true;
}

bool SdlWindowSystem::Show(WindowHandle window, bool show)
{
    Window* found = Find(window);
    if (!found)
        return false;
    if (show)
        SDL_ShowWindow(found->sdl);
    else
        SDL_HideWindow(found->sdl);
    return true;
}

bool SdlWindowSystem::SetFullScreen(WindowHandle window, bool fullScreen)
{
    Window* found = Find(window);
    if (!found)
        return false;
    if (SDL_SetWindowFullscreen(found->sdl, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        return false;
    found->fullScreen = fullScreen;
    if (!fullScreen)
        SDL_SetWindowSize(found->sdl, found->client.width, found->client.height);
    return true;
}

void SdlWindowSystem::Focus(WindowHandle window)
{
    if (Window* found = Find(window))
        SDL_RaiseWindow(found->sdl);
}

bool SdlWindowSystem::IsMinimized(WindowHandle window)
{
    Window* found = Find(window);
    return found && (SDL_GetWindowFlags(found->sdl) & SDL_WINDOW_MINIMIZED) != 0;
}

void SdlWindowSystem::SetUserData(WindowHandle window, void* data)
{
    if (Window* found = Find(window))
        found->userData = data;
}

void* SdlWindowSystem::GetUserData(WindowHandle window)
{
    Window* found = Find(window);
    return found ? found->userData : nullptr;
}

Size SdlWindowSystem::ScreenSize()
{
    if (!StartVideo())
        return {};
    int display = 0;
    if (!m_windows.empty())
        display = std::max(0, SDL_GetWindowDisplayIndex(m_windows.begin()->second.sdl));
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(display, &mode) != 0)
        return {};
    return {mode.w, mode.h};
}

int SdlWindowSystem::ShowCursor(bool show)
{
    const bool wasVisible = m_cursorCount >= 0;
    m_cursorCount += show ? 1 : -1;
    const bool visible = m_cursorCount >= 0;
    if (m_videoUp && visible != wasVisible)
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    return m_cursorCount;
}

Letterbox SdlWindowSystem::BoxOf(const Window& window) const
{
    Size outer;
    SDL_GetWindowSize(window.sdl, &outer.width, &outer.height);
    return FitLetterbox(outer, window.client);
}

Point SdlWindowSystem::ClientPoint(WindowHandle window, int x, int y)
{
    Window* found = Find(window);
    if (!found)
        return {x, y};
    return ToLogical(BoxOf(*found), {x, y});
}

Point SdlWindowSystem::GetCursorPos(WindowHandle window)
{
    Window* found = Find(window);
    if (!found)
        return {};
    int x = 0, y = 0;
    if (SDL_GetMouseFocus() == found->sdl) {
        // SDL refreshes its global position only on raw input, which a warped
        // pointer (xdotool, VNC, remote desktops) does not send; the position
        // in the window follows every motion event.
        SDL_GetMouseState(&x, &y);
    } else {
        int windowX = 0, windowY = 0;
        SDL_GetGlobalMouseState(&x, &y);
        SDL_GetWindowPosition(found->sdl, &windowX, &windowY);
        x -= windowX;
        y -= windowY;
    }
    return ToLogical(BoxOf(*found), {x, y});
}

void SdlWindowSystem::SetCursorPos(WindowHandle window, Point client)
{
    Window* found = Find(window);
    if (!found)
        return;
    Point outer = ToOuter(BoxOf(*found), client);
    SDL_WarpMouseInWindow(found->sdl, outer.x, outer.y);
}

std::uintptr_t SdlWindowSystem::MouseKeys() const
{
    const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    const SDL_Keymod mods = SDL_GetModState();
    std::uintptr_t keys = 0;
    if (buttons & SDL_BUTTON_LMASK)
        keys |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK)
        keys |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK)
        keys |= MK_MBUTTON;
    if (mods & KMOD_SHIFT)
        keys |= MK_SHIFT;
    if (mods & KMOD_CTRL)
        keys |= MK_CONTROL;
    return keys;
}

void SdlWindowSystem::Queue(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam)
{
    m_pending.push_back({window, message, wParam, lParam});
}

void SdlWindowSystem::TranslateWindowEvent(const SDL_WindowEvent& event)
{
    const WindowHandle window = event.windowID;
    Window* found = Find(window);
    if (!found)
        return;
    const std::intptr_t size = MakePointParam(found->client.width, found->client.height);
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        Queue(window, WM_CLOSE);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        Queue(window, WM_SIZE, SIZE_MINIMIZED);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        Queue(window, WM_SIZE, SIZE_MAXIMIZED, size);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        Queue(window, WM_SIZE, SIZE_RESTORED, size);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Queue(window, WM_ACTIVATEAPP, 1);
        Queue(window, WM_ACTIVATE, WA_ACTIVE);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        Queue(window, WM_ACTIVATE, WA_INACTIVE);
        Queue(window, WM_ACTIVATEAPP, 0);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        Queue(window, WM_PAINT);
        break;
    default:
        break;
    }
}

void SdlWindowSystem::Translate(const SDL_Event& event)
{
    if (event.type == m_postedEvent) {
        Queue(event.user.windowID, static_cast<std::uint32_t>(event.user.code),
              reinterpret_cast<std::uintptr_t>(event.user.data1),
              reinterpret_cast<std::intptr_t>(event.user.data2));
        return;
    }
    switch (event.type) {
    case SDL_QUIT:
        if (!m_windows.empty())
            Queue(FirstWindow(), WM_CLOSE);
        break;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        break;
    case SDL_MOUSEMOTION: {
        Point at = ClientPoint(event.motion.windowID, event.motion.x, event.motion.y);
        Queue(event.motion.windowID, WM_MOUSEMOVE, MouseKeys(), MakePointParam(at.x, at.y));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        std::uint32_t message = 0;
        if (event.button.button == SDL_BUTTON_LEFT)
            message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        else if (event.button.button == SDL_BUTTON_RIGHT)
            message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        else if (event.button.button == SDL_BUTTON_MIDDLE)
            message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        else
            break;
        Point at = ClientPoint(event.button.windowID, event.button.x, event.button.y);
        Queue(event.button.windowID, message, MouseKeys(), MakePointParam(at.x, at.y));
        break;
    }
    case SDL_MOUSEWHEEL: {
        int notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        if (notches == 0)
            break;
        Point at = ClientPoint(event.wheel.windowID, event.wheel.mouseX, event.wheel.mouseY);
        const auto delta = static_cast<std::uint16_t>(notches * WHEEL_DELTA);
        Queue(event.wheel.windowID, WM_MOUSEWHEEL, (std::uintptr_t{delta} << 16) | MouseKeys(),
              MakePointParam(at.x, at.y));
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const std::uintptr_t key = VirtualKeyFromSdl(event.key.keysym.sym);
        if (key == 0)
            break;
        const bool release = event.type == SDL_KEYUP;
        Queue(event.key.windowID, release ? WM_KEYUP : WM_KEYDOWN, key,
              KeyData(event.key.repeat != 0, release));
        // The engine reads Alt+F4 only at its next turn, which a script's
        // long tags may put off: the close waits here meanwhile.
        if (IsCloseKey(event))
            Queue(event.key.windowID, WM_CLOSE);
        break;
    }
    case SDL_DROPFILE: {
        WindowHandle window = event.drop.windowID != 0 ? event.drop.windowID : FirstWindow();
        if (event.drop.file && Find(window)) {
            const std::uintptr_t drop = m_nextDrop++;
            m_drops[drop] = {window, ToInternalPath(event.drop.file)};
            Queue(window, WM_DROPFILES, drop);
        }
        SDL_free(event.drop.file);
        break;
    }
    default:
        break;
    }
}

bool SdlWindowSystem::TakePending(WindowMessage& out)
{
    if (m_pending.empty())
        return false;
    out = m_pending.front();
    m_pending.pop_front();
    return true;
}

bool SdlWindowSystem::PeekMessage(WindowMessage& out)
{
    if (!m_videoUp)
        return TakePending(out);
    SDL_Event event;
    while (m_pending.empty() && SDL_PollEvent(&event))
        Translate(event);
    return TakePending(out);
}

int SdlWindowSystem::GetMessage(WindowMessage& out)
{
    if (!m_videoUp)
        return -1;
    SDL_Event event;
    while (!TakePending(out)) {
        // A close asked elsewhere (a signal) ends the wait as the window's close.
        if (!m_windows.empty() && CloseAsked()) {
            out = {FirstWindow(), WM_CLOSE, 0, 0};
            return 1;
        }
        if (SDL_WaitEventTimeout(&event, SignalPollMs))
            Translate(event);
    }
    return out.message == WM_QUIT ? 0 : 1;
}

bool SdlWindowSystem::IsCloseWaiting()
{
    const auto isClose = [](const WindowMessage& message) { return message.message == WM_CLOSE; };
    if (std::any_of(m_pending.begin(), m_pending.end(), isClose))
        return true;
    if (!m_videoUp)
        return false;
    // The system's events are only looked at: the main loop takes them when
    // it runs again.
    SDL_PumpEvents();
    SDL_Event events[64];
    const int seen = SDL_PeepEvents(events, int(std::size(events)), SDL_PEEKEVENT, SDL_QUIT, SDL_KEYDOWN);
    for (int i = 0; i < seen; ++i) {
        const SDL_Event& event = events[i];
        if (event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)
            || IsCloseKey(event))
            return true;
    }
    const int posted = SDL_PeepEvents(events, int(std::size(events)), SDL_PEEKEVENT, m_postedEvent, m_postedEvent);
    for (int i = 0; i < posted; ++i)
        if (static_cast<std::uint32_t>(events[i].user.code) == WM_CLOSE)
            return true;
    return false;
}

bool SdlWindowSystem::PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam)
{
    std::lock_guard<std::mutex> guard(m_postLock);
    if (!m_videoUp || (window != 0 && !m_live.contains(window)))
        return false;
    SDL_Event event{};
    event.type = m_postedEvent;
    event.user.windowID = static_cast<Uint32>(window);
    event.user.code = static_cast<Sint32>(message);
    event.user.data1 = reinterpret_cast<void*>(wParam);
    event.user.data2 = reinterpret_cast<void*>(lParam);
    return SDL_PushEvent(&event) == 1;
}

void SdlWindowSystem::PostQuitMessage(int exitCode)
{
    std::uintptr_t code = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(exitCode));
    if (!PostMessage(0, WM_QUIT, code, 0))
        Queue(0, WM_QUIT, code);
}

std::string SdlWindowSystem::DroppedFile(std::uintptr_t drop)
{
    auto found = m_drops.find(drop);
    return found == m_drops.end() ? std::string() : found->second.second;
}

void SdlWindowSystem::FinishDrop(std::uintptr_t drop)
{
    m_drops.erase(drop);
}

} // namespace

std::unique_ptr<IWindowSystem> MakeSdlWindowSystem()
{
    return std::make_unique<SdlWindowSystem>();
}

} // namespace platform
