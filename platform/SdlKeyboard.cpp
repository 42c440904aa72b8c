#include "platform/Keyboard.h"

#include <SDL.h>

#include <bitset>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform {

namespace {

class SdlKeyboard final : public IKeyboardDevice {
public:
    // SDL's key state shows a key only while it is down: a press and release
    // between two readings (the player reads once a frame) would be lost. The
    // watch sees every key event as the window system's poll (or a modal's)
    // takes it, so it also knows which keys a modal took.
    SdlKeyboard() { SDL_AddEventWatch(&SdlKeyboard::Watch, this); }
    ~SdlKeyboard() override { SDL_DelEventWatch(&SdlKeyboard::Watch, this); }
    SdlKeyboard(const SdlKeyboard&) = delete;
    SdlKeyboard& operator=(const SdlKeyboard&) = delete;

    bool SetCooperativeLevel(WindowHandle window, bool background) override
    {
        m_window = window;
        m_background = background;
        return SDL_WasInit(SDL_INIT_VIDEO) != 0;
    }

    bool Acquire() override
    {
        m_acquired = m_background || HasFocus();
        return m_acquired;
    }

    void Unacquire() override { m_acquired = false; }

    KeyboardRead GetState(KeyTable& keys) override
    {
        if (!m_acquired)
            return KeyboardRead::Failed;
        if (!m_background && !HasFocus()) {
            m_acquired = false;
            return KeyboardRead::Lost;
        }
        // Current as of the window system's last event poll.
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        std::memset(keys, 0, sizeof keys);
        std::lock_guard<std::mutex> guard(m_pressedLock);
        for (int scanCode = 0; scanCode < count; ++scanCode) {
            if (state[scanCode])
                if (const std::uint8_t code = KeyCodeFromScanCode(scanCode); code != 0 && !m_modal.test(code))
                    keys[code] = 0x80;
        }
        for (std::uint8_t code : m_pressed)
            keys[code] = 0x80;
        m_pressed.clear();
        return KeyboardRead::Ok;
    }

private:
    static int SDLCALL Watch(void* self, SDL_Event* event)
    {
        auto& keyboard = *static_cast<SdlKeyboard*>(self);
        if ((event->type != SDL_KEYDOWN && event->type != SDL_KEYUP) || event->key.repeat
            || event->key.windowID != keyboard.m_window)
            return 0;
        const std::uint8_t code = KeyCodeFromScanCode(event->key.keysym.scancode);
        if (code == 0)
            return 0;
        const bool down = event->type == SDL_KEYDOWN;
        const bool modal = down && ModalKeyboard::Owned();
        std::lock_guard<std::mutex> guard(keyboard.m_pressedLock);
        keyboard.m_modal.set(code, modal);
        if (down && !modal && keyboard.m_pressed.size() < 256) // unread while the keyboard is lost
            keyboard.m_pressed.push_back(code);
        return 0;
    }

    bool HasFocus() const
    {
        SDL_Window* focus = SDL_GetKeyboardFocus();
        return focus && SDL_GetWindowID(focus) == m_window;
    }

    WindowHandle m_window = 0;
    bool m_background = false;
    bool m_acquired = false;
    std::mutex m_pressedLock;
    std::vector<std::uint8_t> m_pressed;
    std::bitset<256> m_modal; // down since a modal took them
};

class SdlKeyboardSystem final : public IKeyboardSystem {
public:
    std::unique_ptr<IKeyboardDevice> CreateDevice() override { return std::make_unique<SdlKeyboard>(); }
};

} // namespace

std::unique_ptr<IKeyboardSystem> MakeSdlKeyboardSystem()
{
    return std::make_unique<SdlKeyboardSystem>();
}

} // namespace platform
