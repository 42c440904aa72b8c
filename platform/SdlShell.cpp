#include "platform/Shell.h"

#include <SDL.h>

namespace platform {

namespace {

class SdlShell final : public IShell {
public:
    bool OpenUrl(const std::string& url) override { return SDL_OpenURL(url.c_str()) == 0; }
};

} // namespace

std::unique_ptr<IShell> MakeSdlShell()
{
    return std::make_unique<SdlShell>();
}

} // namespace platform
