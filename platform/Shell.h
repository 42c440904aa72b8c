#pragma once
// The desktop's open operation: an address given to the reader's web
// browser. Calls belong to the application thread.

#include <memory>
#include <string>
#include <vector>

namespace platform {

class IShell {
public:
    virtual ~IShell() = default;
    // False when nothing could take the address.
    virtual bool OpenUrl(const std::string& url) = 0;
};

// The headless twin until the executable installs the SDL one.
IShell& Shell();
void InstallShell(std::unique_ptr<IShell> shell);

// SDL_OpenURL: xdg-open on a Linux desktop.
std::unique_ptr<IShell> MakeSdlShell();

// Keeps every address it was given and opens none.
class HeadlessShell final : public IShell {
public:
    bool OpenUrl(const std::string& url) override
    {
        m_opened.push_back(url);
        return true;
    }
    const std::vector<std::string>& Opened() const { return m_opened; }

private:
    std::vector<std::string> m_opened;
};

} // namespace platform
