#include "frame/Window.h"

#include "frame/ImeSwitch.h"
#include "platform/TextInput.h"

#include "platform/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kivotasuGameKit;
using platform::HeadlessWindowSystem;

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<HeadlessWindowSystem>();
        windows = owned.get();
        windows->SetScreenSize({1024, 768});
        platform::InstallWindows(std::move(owned));
        window.SetFullScreenFlag(false);
    }
    void TearDown() override { window.SetFullScreenFlag(false); }

    HeadlessWindowSystem::WindowState State() { return *windows->State(window.GetHWnd()); }

    HeadlessWindowSystem* windows = nullptr;
    CWindow window;
};

} // namespace

TEST_F(WindowTest, CreateShowsACentredWindowWithTheOptions)
{
    CWindowOption option;
    option.caption = "KARUTEMI";
    ASSERT_EQ(window.Create(option), 0);
    auto state = State();
    EXPECT_EQ(state.captionSjis, "KARUTEMI");
    EXPECT_EQ(state.client.width, 640);
    EXPECT_EQ(state.client.height, 480);
    EXPECT_TRUE(state.visible);
    EXPECT_TRUE(state.focused);
    EXPECT_EQ(state.position.x, (1024 - 640) / 2);
    EXPECT_EQ(state.position.y, (768 - 480) / 2);
    EXPECT_EQ(state.userData, &window);
    // Its own hook is in the list, so messages reach it.
    EXPECT_EQ(window.GetHookList().GetCount(), 1u);
}

TEST_F(WindowTest, DefaultCaptionIsTheSdkOne)
{
    ASSERT_EQ(window.Create(CWindowOption{}), 0);
    EXPECT_EQ(State().captionSjis, "あぷりちゃん");
}

TEST_F(WindowTest, FailedCreateReportsOne)
{
    windows->FailNextCreate();
    EXPECT_EQ(window.Create(CWindowOption{}), 1);
    EXPECT_EQ(window.GetHWnd(), 0u);
    CWindowOption dialog;
    dialog.dialogTemplate = 109;
    EXPECT_EQ(window.Create(dialog), 1);
}

TEST_F(WindowTest, MinimisedStateFollowsSizeAndActivation)
{
    ASSERT_EQ(window.Create(CWindowOption{}), 0);
    const auto hwnd = window.GetHWnd();
    auto send = [&](std::uint32_t message, std::uintptr_t wParam) {
        CWindow::DispatchMessage({hwnd, message, wParam, 0});
    };
    send(platform::WM_SIZE, platform::SIZE_MINIMIZED);
    EXPECT_TRUE(window.IsMinimized());
    send(platform::WM_SIZE, platform::SIZE_MAXIMIZED);
    EXPECT_TRUE(window.IsMinimized());
    send(platform::WM_SIZE, platform::SIZE_RESTORED);
    EXPECT_FALSE(window.IsMinimized());

    send(platform::WM_SIZE, platform::SIZE_MINIMIZED);
    send(platform::WM_ACTIVATEAPP, 0);
    EXPECT_TRUE(window.IsMinimized());
    send(platform::WM_ACTIVATEAPP, 1);
    EXPECT_FALSE(window.IsMinimized());
}

TEST_F(WindowTest, DestroyMessageHidesAndDestroyEndsTheWindow)
{
    ASSERT_EQ(window.Create(CWindowOption{}), 0);
    const auto hwnd = window.GetHWnd();
    CWindow::DispatchMessage({hwnd, platform::WM_DESTROY, 0, 0});
    EXPECT_FALSE(windows->State(hwnd)->visible);
    EXPECT_FALSE(windows->State(hwnd)->destroyed);
    window.Destroy();
    EXPECT_TRUE(windows->State(hwnd)->destroyed);
    EXPECT_EQ(window.GetHWnd(), 0u);
    // A message for a window that is gone reaches nobody.
    EXPECT_EQ(CWindow::DispatchMessage({hwnd, platform::WM_PAINT, 0, 0}), 0);
}

TEST_F(WindowTest, ADropNoHookTakesIsFinishedByItsDispatch)
{
    ASSERT_EQ(window.Create(CWindowOption{}), 0);
    const platform::WindowHandle hwnd = window.GetHWnd();
    for (int i = 0; i < 3; ++i) windows->DropFile(hwnd, "Z:\\game\\a.txt");
    platform::WindowMessage message;
    std::vector<std::uintptr_t> drops;
    while (windows->PeekMessage(message)) {
        if (message.message != platform::WM_DROPFILES) continue;
        ASSERT_EQ(windows->DroppedFile(message.wParam), "Z:\\game\\a.txt");
        drops.push_back(message.wParam);
        CWindow::DispatchMessage(message);
    }
    ASSERT_EQ(drops.size(), 3u);
    for (std::uintptr_t drop : drops) EXPECT_EQ(windows->DroppedFile(drop), "");
}

TEST_F(WindowTest, InputMethodIsOffInFullScreenAndOnInAWindowOncePerSwitch)
{
    auto owned = std::make_unique<platform::HeadlessTextInput>();
    platform::HeadlessTextInput& ime = *owned;
    platform::InstallTextInput(std::move(owned));
    CImeSwitch::Release();
    ASSERT_EQ(window.Create(CWindowOption{}), 0);
    const platform::WindowHandle hwnd = window.GetHWnd();
    const std::string start = "Start " + std::to_string(hwnd), stop = "Stop " + std::to_string(hwnd);

    // Without this thread's window in the map the switch only keeps its state.
    window.SetFullScreenFlag(true);
    window.ChangeScreen();
    EXPECT_EQ(CImeSwitch::GetInstance()->GetState(), CImeSwitch::SwitchedOff);
    EXPECT_TRUE(ime.Calls().empty());

    GetImeWindowMap()->Set(hwnd);
    window.SetFullScreenFlag(false);
    window.ChangeScreen();
    EXPECT_TRUE(ime.IsActive(hwnd));
    window.SetSizeLater(800, 600);
    window.ChangeScreen(); // on already: nothing
    window.SetFullScreenFlag(true);
    window.ChangeScreen();
    EXPECT_FALSE(ime.IsActive(hwnd));
    EXPECT_EQ(ime.Calls(), (std::vector<std::string>{start, stop}));

    GetImeWindowMap()->DropCurrentThread();
    CImeSwitch::Release();
    platform::InstallTextInput(nullptr);
}

TEST_F(WindowTest, ChangeScreenActsOnlyOnAChange)
{
    ASSERT_EQ(window.Create(CWindowOption{}), 0);
    window.SetWindowPos(10, 20);
    window.ChangeScreen();
    EXPECT_EQ(State().position.x, 10);

    window.SetFullScreenFlag(true);
    window.ChangeScreen();
    EXPECT_TRUE(State().fullScreen);
    // In full screen the window does not move.
    EXPECT_EQ(window.SetWindowPos(1, 1), 0);
    EXPECT_EQ(State().position.x, 10);

    window.SetFullScreenFlag(false);
    window.SetSizeLater(800, 600);
    window.ChangeScreen();
    auto state = State();
    EXPECT_FALSE(state.fullScreen);
    EXPECT_EQ(state.client.width, 800);
    EXPECT_EQ(state.position.x, (1024 - 800) / 2);
    EXPECT_EQ(state.position.y, (768 - 600) / 2);
}

TEST_F(WindowTest, CursorCounterMovesOncePerChange)
{
    ASSERT_EQ(window.Create(CWindowOption{}), 0);
    window.ShowCursor(true);
    window.ShowCursor(true);
    EXPECT_EQ(windows->CursorCount(), 0);
    window.ShowCursor(false);
    window.ShowCursor(false);
    EXPECT_EQ(windows->CursorCount(), -1);
    EXPECT_FALSE(window.IsShowCursor());

    window.ShowCursor(true);
    EXPECT_EQ(windows->CursorCount(), 0);
    window.SetCursorHidden(true);
    EXPECT_EQ(windows->CursorCount(), -1);
    window.SetCursorHidden(true);
    EXPECT_EQ(windows->CursorCount(), -1);
    // Hidden by request, a show becomes a hide: the byte still said shown.
    window.ShowCursor(true);
    EXPECT_EQ(windows->CursorCount(), -2);
    EXPECT_FALSE(window.IsShowCursor());
    // Lifting the request adds one back; the next show makes it visible.
    window.SetCursorHidden(false);
    EXPECT_EQ(windows->CursorCount(), -1);
    window.ShowCursor(true);
    EXPECT_EQ(windows->CursorCount(), 0);
}
