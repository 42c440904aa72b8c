#pragma once
// The last input event, shared by the mouse, the keys, the menu and the waits.

#include <cstdint>

// The codes 0 to 14 are also the function codes of buttons.
enum class InputEvent : std::uint32_t {
    Null = 0,
    Decide = 1,
    DecideAuto = 2,
    GameEnd = 3,
    LogHead = 4,
    LogTail = 5,
    LogBack = 6,
    LogBackZero = 7,
    LogForward = 8,
    LogForwardZero = 9,
    QuickSave = 10,
    QuickLoad = 11,
    SkipFast = 12,
    Select = 13,
    WindowHide = 14,
    None = 15,
};

class CInputState {
public:
    static CInputState& GetInstance();
    virtual ~CInputState() = default;

    InputEvent Event = InputEvent::None;
    // Set by a click during timed text: the rest of the page shows at once.
    std::uint8_t InstantText = 0;

private:
    CInputState() = default;
};
