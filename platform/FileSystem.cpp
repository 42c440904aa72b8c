#include "platform/FileSystem.h"

#include <atomic>

#include "platform/HostFileSystem.h"

namespace platform {
namespace {

std::unique_ptr<IFileSystem>& Installed()
{
    static std::unique_ptr<IFileSystem> fileSystem = std::make_unique<HostFileSystem>();
    return fileSystem;
}

std::atomic<IFileSystem*> g_current{nullptr};

} // namespace

IFileSystem& FileSystem()
{
    IFileSystem* fileSystem = g_current.load(std::memory_order_acquire);
    if (fileSystem) return *fileSystem;
    return *Installed();
}

void InstallFileSystem(std::unique_ptr<IFileSystem> fileSystem)
{
    if (!fileSystem) fileSystem = std::make_unique<HostFileSystem>();
    g_current.store(fileSystem.get(), std::memory_order_release);
    Installed() = std::move(fileSystem);
}

} // namespace platform
