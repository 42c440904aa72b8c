#include "platform/Shell.h"

#include "platform/ServiceSlot.h"

namespace platform {

namespace {

ServiceSlot<IShell, HeadlessShell>& Slot()
{
    static ServiceSlot<IShell, HeadlessShell> slot;
    return slot;
}

} // namespace

IShell& Shell()
{
    return Slot().Get();
}

void InstallShell(std::unique_ptr<IShell> shell)
{
    Slot().Install(std::move(shell));
}

} // namespace platform
