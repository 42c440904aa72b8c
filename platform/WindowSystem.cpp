#include "platform/WindowSystem.h"

#include "platform/CloseLatch.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/ServiceSlot.h"

namespace platform {

namespace {

ServiceSlot<IWindowSystem, HeadlessWindowSystem>& Slot()
{
    // Headless until the executable installs the SDL one: only it has a display.
    static ServiceSlot<IWindowSystem, HeadlessWindowSystem> slot;
    // The close latch looks into the queue of whichever system is installed.
    [[maybe_unused]] static const bool lent =
        (LendCloseLook([] { return Windows().IsWindowThread(); }, [] { return Windows().IsCloseWaiting(); }), true);
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
