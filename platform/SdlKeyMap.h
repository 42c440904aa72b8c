#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform {

// The virtual key of an SDL key, 0 for keys the player has no code for.
std::uintptr_t VirtualKeyFromSdl(SDL_Keycode key);
// Alt+F4 pressed (not held on): the close the system's own shortcut makes of
// it, in the game's loop and in a box's alike.
bool IsCloseKey(const SDL_Event& event);

} // namespace platform
