#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform {

// The virtual key of an SDL key, 0 for keys the player has no code for.
std::uintptr_t VirtualKeyFromSdl(SDL_Keycode key);

} // namespace platform
