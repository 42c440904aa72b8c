// The SDL windows on SDL's dummy video driver: no display needed.
#include "platform/WindowSystem.h"
#include "platform/SdlFrame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

using namespace platform;

namespace {

class SdlWindowSystemTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_VIDEODRIVER", "dummy", 1); }
};

} // namespace

TEST_F(SdlWindowSystemTest, PostedMessagesArriveThroughSdlIncludingFromOtherThreads)
{
    auto system = MakeSdlWindowSystem();
    WindowSpec request;
    request.captionSjis = "KARUTEMI";
    WindowHandle window = system->CreateWindow(request);
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(system->SetCaption(window, "カルテミ"));

    EXPECT_TRUE(system->PostMessage(window, WM_USER, 1, -2));
    std::thread poster([&] { system->PostMessage(window, WM_CLOSE, 0, 0); });
    poster.join();

    WindowMessage message;
    std::vector<std::uint32_t> seen;
    // Only the posted messages are certain; the dummy driver may add its own.
    while (seen.size() < 2 && system->GetMessage(message) == 1) {
        if (message.message == WM_USER) {
            EXPECT_EQ(message.window, window);
            EXPECT_EQ(message.wParam, 1u);
            EXPECT_EQ(message.lParam, -2);
        }
        if (message.message == WM_USER || message.message == WM_CLOSE)
            seen.push_back(message.message);
    }
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_USER, WM_CLOSE}));

    system->PostQuitMessage(0);
    while (system->GetMessage(message) != 0) {
    }
    EXPECT_EQ(message.message, WM_QUIT);

    system->DestroyWindow(window);
    EXPECT_FALSE(system->PostMessage(window, WM_CLOSE, 0, 0));
    EXPECT_EQ(system->GetMessage(message), -1);
}

TEST_F(SdlWindowSystemTest, UserDataAndCursorCounterFollowTheWindow)
{
    auto system = MakeSdlWindowSystem();
    WindowSpec request;
    WindowHandle window = system->CreateWindow(request);
    ASSERT_NE(window, 0u);
    int marker = 0;
    system->SetUserData(window, &marker);
    EXPECT_EQ(system->GetUserData(window), &marker);
    EXPECT_TRUE(system->SetClientSize(window, 800, 600));
    EXPECT_EQ(system->ShowCursor(false), -1);
    EXPECT_EQ(system->ShowCursor(true), 0);
    system->DestroyWindow(window);
    EXPECT_EQ(system->GetUserData(window), nullptr);
}

TEST_F(SdlWindowSystemTest, WindowsAreMadeForOpenGlOnlyWhenItsRendererWillDraw)
{
    const char* before = std::getenv("SDL_RENDER_DRIVER");
    const std::string kept = before ? before : "";
    for (auto [driver, gl] : {std::pair{"", true}, {"OpenGL", true}, {"software", false}, {"opengles2", false}}) {
        setenv("SDL_RENDER_DRIVER", driver, 1);
        EXPECT_EQ(DrawsThroughOpenGl(), gl) << driver;
    }
    unsetenv("SDL_RENDER_DRIVER");
    EXPECT_TRUE(DrawsThroughOpenGl());
    if (before) setenv("SDL_RENDER_DRIVER", kept.c_str(), 1);
}
