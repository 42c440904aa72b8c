#pragma once

#include "frame/WindowApp.h"

// The player's application: the window KARUTEMI and, on its thread, the game.
class CQuiltorApp : public kivotasuGameKit::CWindowApp {
public:
    // After this many frames the application closes itself (0: never), so
    // tests can run the real executable without input.
    explicit CQuiltorApp(std::uint32_t closeAfterFrames = 0) : m_closeAfterFrames(closeAfterFrames) {}
    ~CQuiltorApp() noexcept override { StopThread(); }

    int GetWindowOption(kivotasuGameKit::CWindowOption& option) override;
    void MainThread() override;

private:
    std::uint32_t m_closeAfterFrames;
};
