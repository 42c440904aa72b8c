#include "platform/Keyboard.h"

#include <SDL.h>

#include <cstring>

namespace platform {

namespace {

class SdlKeyboard final : public IKeyboardDevice {
public:
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
        for (int scanCode = 0; scanCode < count; ++scanCode) {
            if (state[scanCode])
                if (const std::uint8_t code = KeyCodeFromScanCode(scanCode))
                    keys[code] = 0x80;
        }
        return KeyboardRead::Ok;
    }

private:
    bool HasFocus() const
    {
        SDL_Window* focus = SDL_GetKeyboardFocus();
        return focus && SDL_GetWindowID(focus) == m_window;
    }

    WindowHandle m_window = 0;
    bool m_background = false;
    bool m_acquired = false;
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
