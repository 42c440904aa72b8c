#pragma once
// The headless platform for screen tests: windows, a virtual clock, displays
// and a scripted keyboard, an error log that records, and a way to run test
// code as an application that has its window.

#include <cstdlib>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/HeadlessDisplay.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/Keyboard.h"
#include "tests/app/AppFixture.h"
#include "tests/kit/RecordingErrorLog.h"

namespace screentest {

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto ownedWindows = std::make_unique<platform::HeadlessWindowSystem>();
        windows = ownedWindows.get();
        platform::InstallWindows(std::move(ownedWindows));
        auto ownedClock = std::make_unique<platform::VirtualClock>();
        clock = ownedClock.get();
        platform::InstallClock(std::move(ownedClock));
        auto ownedKeys = std::make_unique<platform::ScriptedKeyboardSystem>();
        keys = ownedKeys.get();
        platform::InstallKeyboards(std::move(ownedKeys));
        UseDisplayFormat(nullptr);
    }

    void TearDown() override { unsetenv("QUILTOR_DISPLAY_FORMAT"); }

    // New displays as the environment asks for (null: the default).
    void UseDisplayFormat(const char* name)
    {
        if (name)
            setenv("QUILTOR_DISPLAY_FORMAT", name, 1);
        else
            unsetenv("QUILTOR_DISPLAY_FORMAT");
        auto owned = std::make_unique<platform::HeadlessDisplaySystem>();
        displays = owned.get();
        platform::InstallDisplays(std::move(owned));
    }

    // Runs the body on this thread as an application with its window.
    void InApp(const std::function<void()>& body)
    {
        apptest::TestApp app([&](apptest::TestApp&) { body(); });
        app.Run();
    }

    platform::WindowHandle Window() const { return windows->Created().back(); }

    platform::HeadlessWindowSystem* windows = nullptr;
    platform::VirtualClock* clock = nullptr;
    platform::ScriptedKeyboardSystem* keys = nullptr;
    platform::HeadlessDisplaySystem* displays = nullptr;
    testkit::ScopedErrorLogRecorder log;
};

} // namespace screentest
