#pragma once
// Inside platform/ only: the renderer of the window the display presents to,
// with the texture that holds its last frame, for what is drawn over it.

#include "platform/WindowSystem.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace platform {

struct SdlFrame {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* lastFrame = nullptr; // null before the first present
    Size logical;                     // the client area the frame fills
};

// False while no display has a renderer.
bool CurrentSdlFrame(SdlFrame& out);

// Whether windows are made for OpenGL: SDL's OpenGL renderer, which it picks
// when no driver is named, re-creates a window made without it.
bool DrawsThroughOpenGl();

} // namespace platform
