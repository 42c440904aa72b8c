#include "platform/SharedLibrary.h"

#include <dlfcn.h>

#include "platform/HostNameResolver.h"

namespace platform {

void* LoadSharedLibrary(std::string_view name)
{
    std::optional<std::string> host = ResolveHostPath(name);
    if (!host) return nullptr;
    // A bare name would send dlopen searching the library path.
    if (host->find('/') == std::string::npos) host->insert(0, "./");
    return dlopen(host->c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindSharedLibrarySymbol(void* library, const char* symbol) { return library ? dlsym(library, symbol) : nullptr; }

bool FreeSharedLibrary(void* library) { return library && dlclose(library) == 0; }

} // namespace platform
