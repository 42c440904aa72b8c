#include "platform/FileSystem.h"

#include "platform/HostFileSystem.h"
#include "platform/ServiceSlot.h"

namespace platform {
namespace {

ServiceSlot<IFileSystem, HostFileSystem>& Slot()
{
    static ServiceSlot<IFileSystem, HostFileSystem> slot;
    return slot;
}

} // namespace

IFileSystem& FileSystem()
{
    return Slot().Get();
}

void InstallFileSystem(std::unique_ptr<IFileSystem> fileSystem)
{
    Slot().Install(std::move(fileSystem));
}

} // namespace platform
