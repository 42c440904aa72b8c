#pragma once

#include "frame/WindowApp.h"

#include <functional>

// The player's application: the window KARUTEMI and, on its thread, the game.
class CQuiltorApp : public kivotasuGameKit::CWindowApp {
public:
    // After this many frames the application closes itself (0: never), so
    // tests can run the real executable without input.
    // started runs on the application thread once the start-up is over: a
    // frame has been shown and a second has passed.
    explicit CQuiltorApp(std::uint32_t closeAfterFrames = 0, std::function<void()> started = {})
        : m_closeAfterFrames(closeAfterFrames), m_started(std::move(started))
    {
    }
    ~CQuiltorApp() noexcept override { StopThread(); }

    // For tests: after this many frames the window gets the command message,
    // which may be one the menu does not offer (0: none).
    void PostCommandAfter(std::uint32_t frames, std::uint32_t command)
    {
        m_commandAfterFrames = frames;
        m_command = command;
    }

    int GetWindowOption(kivotasuGameKit::CWindowOption& option) override;
    void MainThread() override;

private:
    std::uint32_t m_closeAfterFrames;
    std::uint32_t m_commandAfterFrames = 0;
    std::uint32_t m_command = 0;
    std::function<void()> m_started;
};
