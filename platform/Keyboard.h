#pragma once
// The keyboard as the key input reads it: one table of 256 key codes (the
// DirectInput scan codes; extended keys 0x80 | code), 0x80 for a key that is
// down. A keyboard that reads only for its window in the foreground loses
// itself when the window loses the keyboard focus.

#include "platform/WindowMessage.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <vector>

namespace platform {

using KeyTable = std::uint8_t[256];

enum class KeyboardRead { Ok, Lost, Failed };

class IKeyboardDevice {
public:
    virtual ~IKeyboardDevice() = default;
    virtual bool SetCooperativeLevel(WindowHandle window, bool background) = 0;
    virtual bool Acquire() = 0;
    virtual void Unacquire() = 0;
    virtual KeyboardRead GetState(KeyTable& keys) = 0;
};

class IKeyboardSystem {
public:
    virtual ~IKeyboardSystem() = default;
    // Null when the keyboard cannot be opened.
    virtual std::unique_ptr<IKeyboardDevice> CreateDevice() = 0;
};

// The scripted keyboard until the executable installs the SDL one.
IKeyboardSystem& Keyboards();
void InstallKeyboards(std::unique_ptr<IKeyboardSystem> system);

// While one lives, a menu, a dialog or a box owns the keyboard (they nest):
// a key pressed meanwhile is the modal's, read by no device, and one still
// down when it ends reads up until it is released. Every menu, dialog and
// box of the installed dialog service owns it (Dialogs.h).
class ModalKeyboard {
public:
    ModalKeyboard();
    ~ModalKeyboard();
    ModalKeyboard(const ModalKeyboard&) = delete;
    ModalKeyboard& operator=(const ModalKeyboard&) = delete;

    static bool Owned();
};

// SDL's keyboard state of the window system's windows; a key pressed since
// the last reading reads down even when it is up again.
std::unique_ptr<IKeyboardSystem> MakeSdlKeyboardSystem();

// The key code of an SDL scan code (a USB keyboard usage), 0 for none.
std::uint8_t KeyCodeFromScanCode(int sdlScanCode);

// Keys pressed by a test: each reading takes the next scripted frame when one
// is queued, else the keys held now and those pressed since the last reading
// (a key pressed and released between two readings is read down once, as the
// SDL keyboard does), but for those a modal took.
class ScriptedKeyboardSystem final : public IKeyboardSystem {
public:
    struct State {
        std::set<std::uint8_t> held;
        std::set<std::uint8_t> pressedSinceRead;
        std::set<std::uint8_t> modal; // held since a modal took them
        std::deque<std::vector<std::uint8_t>> frames;
        bool focused = true;
        bool failCreate = false;
        bool failCooperativeLevel = false;
        int reads = 0;
    };

    ScriptedKeyboardSystem() : m_state(std::make_shared<State>()) {}

    std::unique_ptr<IKeyboardDevice> CreateDevice() override;

    void Hold(std::uint8_t code);
    void Release(std::uint8_t code);
    // One reading with exactly these keys down; afterwards they stay held.
    void QueueFrame(std::vector<std::uint8_t> down) { m_state->frames.push_back(std::move(down)); }
    void SetFocus(bool focused) { m_state->focused = focused; }
    State& GetState() { return *m_state; }

private:
    std::shared_ptr<State> m_state;
};

} // namespace platform
