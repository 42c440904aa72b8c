#include "platform/WindowSystem.h"

#include "platform/HeadlessWindowSystem.h"

namespace platform {

namespace {

std::unique_ptr<IWindowSystem>& Installed()
{
    // Headless until the executable installs the SDL one: only it has a display.
    static std::unique_ptr<IWindowSystem> system = std::make_unique<HeadlessWindowSystem>();
    return system;
}

} // namespace

IWindowSystem& Windows()
{
    return *Installed();
}

void InstallWindows(std::unique_ptr<IWindowSystem> system)
{
    Installed() = std::move(system);
}

} // namespace platform
