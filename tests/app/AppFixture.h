#pragma once
// A headless window system and a virtual clock for the application tests, and
// an application whose MainThread is the test's own code.

#include "frame/WindowApp.h"
#include "platform/Clock.h"
#include "platform/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

namespace apptest {

class TestApp : public kivotasuGameKit::CWindowApp {
public:
    explicit TestApp(std::function<void(TestApp&)> body = {}, std::atomic<bool>* deleted = nullptr)
        : m_body(std::move(body)), m_deleted(deleted)
    {
    }
    ~TestApp() noexcept override
    {
        StopThread();
        if (m_deleted)
            m_deleted->store(true);
    }

    void MainThread() override
    {
        if (m_body)
            m_body(*this);
    }

private:
    std::function<void(TestApp&)> m_body;
    std::atomic<bool>* m_deleted;
};

// Records every message it sees; answers none.
class RecordingHook : public kivotasuGameKit::IWinHook {
public:
    std::intptr_t WndProc(platform::WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t) override
    {
        seen.push_back(message);
        return 0;
    }
    std::vector<std::uint32_t> seen;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<platform::HeadlessWindowSystem>();
        windows = owned.get();
        platform::InstallWindows(std::move(owned));
        platform::InstallClock(std::make_unique<platform::VirtualClock>());
    }

    platform::HeadlessWindowSystem* windows = nullptr;
};

} // namespace apptest
