#include "platform/TextInput.h"

#include <SDL.h>

namespace platform {

namespace {

// SDL keeps one text-input state, for the window that has the keyboard focus;
// the player has one window.
class SdlTextInput final : public ITextInput {
public:
    void Start(WindowHandle) override
    {
        if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_StartTextInput();
    }
    void Stop(WindowHandle) override
    {
        if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_StopTextInput();
    }
    bool IsActive(WindowHandle) override { return SDL_WasInit(SDL_INIT_VIDEO) && SDL_IsTextInputActive(); }
};

} // namespace

std::unique_ptr<ITextInput> MakeSdlTextInput()
{
    return std::make_unique<SdlTextInput>();
}

} // namespace platform
