#pragma once

#include "platform/WindowMessage.h"

#include <cstdint>

namespace kivotasuGameKit {

// A window-message hook. A non-zero answer ends the message's dispatch.
class IWinHook {
public:
    virtual std::intptr_t WndProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) = 0;
    virtual ~IWinHook() = default;
};

} // namespace kivotasuGameKit
