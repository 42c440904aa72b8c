#pragma once

#include <cstdint>

#include "frame/Singleton.h"
#include "frame/ThreadLocal.h"
#include "platform/WindowMessage.h"

namespace kivotasuGameKit {

// Each application thread's window, for the input-method switch.
using CImeWindowMap = CThreadLocal<platform::WindowHandle>;
CImeWindowMap* GetImeWindowMap();
void ReleaseImeWindowMap();

// Turns the input method on in a window and off in full screen, for the
// calling thread's window in the map; a repeated request does nothing.
class CImeSwitch : public CSingleton<CImeSwitch> {
public:
    enum State : std::int32_t { NotSwitched = 0, SwitchedOn = 1, SwitchedOff = 2 };

    virtual void On();
    virtual void Off();
    virtual ~CImeSwitch() = default;

    State GetState() const { return m_state; }

private:
    friend class CSingleton<CImeSwitch>;
    CImeSwitch() = default;
    void Switch(State state);

    State m_state = NotSwitched;
};

} // namespace kivotasuGameKit
