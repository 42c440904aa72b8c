#pragma once

#include <string_view>

namespace platform {

// Plug-in libraries by internal name (dlopen with every symbol bound now and
// kept local to the library). Null when the library cannot be loaded.
void* LoadSharedLibrary(std::string_view name);
void* FindSharedLibrarySymbol(void* library, const char* symbol);
// False when the system refuses to unload it.
bool FreeSharedLibrary(void* library);

} // namespace platform
