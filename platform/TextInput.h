#pragma once
// The input method (text input) of a window: on in a window, off in full
// screen, where its composition would cover the game. Calls belong to the
// thread that makes the windows.

#include "platform/WindowMessage.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class ITextInput {
public:
    virtual ~ITextInput() = default;
    virtual void Start(WindowHandle window) = 0;
    virtual void Stop(WindowHandle window) = 0;
    virtual bool IsActive(WindowHandle window) = 0;
};

// The headless twin until the executable installs the SDL one.
ITextInput& TextInput();
void InstallTextInput(std::unique_ptr<ITextInput> textInput);

// SDL's text input, which follows the window with the keyboard focus.
std::unique_ptr<ITextInput> MakeSdlTextInput();

// Keeps each window's state and every call, for tests; a window starts with
// text input on, as SDL starts it.
class HeadlessTextInput final : public ITextInput {
public:
    void Start(WindowHandle window) override
    {
        m_calls.push_back("Start " + std::to_string(window));
        m_off.erase(window);
    }
    void Stop(WindowHandle window) override
    {
        m_calls.push_back("Stop " + std::to_string(window));
        m_off[window] = true;
    }
    bool IsActive(WindowHandle window) override { return !m_off.count(window); }

    const std::vector<std::string>& Calls() const { return m_calls; }

private:
    std::map<WindowHandle, bool> m_off;
    std::vector<std::string> m_calls;
};

} // namespace platform
