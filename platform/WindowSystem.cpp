#include "platform/WindowSystem.h"

#include "platform/ServiceSlot.h"
#include "platform/HeadlessWindowSystem.h"

namespace platform {

namespace {

ServiceSlot<IWindowSystem, HeadlessWindowSystem>& Slot()
{
    // Headless until the executable installs the SDL one: only it has a display.
    static ServiceSlot<IWindowSystem, HeadlessWindowSystem> slot;
    return slot;
}

} // namespace

IWindowSystem& Windows()
{
    return Slot().Get();
}

void InstallWindows(std::unique_ptr<IWindowSystem> system)
{
    Slot().Install(std::move(system));
}

} // namespace platform
