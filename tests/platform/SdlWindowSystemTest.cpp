// The SDL windows on SDL's dummy video driver: no display needed.
#include "platform/WindowSystem.h"
#include "platform/SdlFrame.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
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

TEST_F(SdlWindowSystemTest, ACloseWaitingIsSeenWithoutTakingAnyMessage)
{
    auto system = MakeSdlWindowSystem();
    WindowHandle window = system->CreateWindow(WindowSpec());
    ASSERT_NE(window, 0u);
    const auto sdlId = static_cast<Uint32>(window);
    const auto key = [&](SDL_Keycode sym, Uint16 mod) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.windowID = sdlId;
        event.key.keysym.sym = sym;
        event.key.keysym.mod = mod;
        return event;
    };
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_Event closeBox{};
    closeBox.type = SDL_WINDOWEVENT;
    closeBox.window.windowID = sdlId;
    closeBox.window.event = SDL_WINDOWEVENT_CLOSE;
    // Each with the message the main loop gets of it afterwards.
    struct Case {
        const char* what;
        std::optional<SDL_Event> event;
        bool close;
        std::uint32_t arrives;
    };
    const Case cases[] = {{"the close box", closeBox, true, WM_CLOSE},
                          {"the last window's quit", quit, true, WM_CLOSE},
                          {"Alt+F4", key(SDLK_F4, KMOD_LALT), true, WM_CLOSE},
                          {"a posted close", std::nullopt, true, WM_CLOSE},
                          {"F4 alone", key(SDLK_F4, KMOD_NONE), false, WM_KEYDOWN},
                          {"Alt+Enter", key(SDLK_RETURN, KMOD_RALT), false, WM_KEYDOWN}};
    WindowMessage message;
    for (const Case& c : cases) {
        while (system->PeekMessage(message)) {
        }
        if (c.event) {
            SDL_Event event = *c.event;
            ASSERT_EQ(SDL_PushEvent(&event), 1) << c.what;
        } else {
            ASSERT_TRUE(system->PostMessage(window, WM_CLOSE, 0, 0));
        }
        EXPECT_EQ(system->IsCloseWaiting(), c.close) << c.what;
        EXPECT_EQ(system->IsCloseWaiting(), c.close) << c.what << ", asked again";
        // Nothing was taken: the main loop still gets it.
        bool arrived = false;
        while (system->PeekMessage(message)) arrived = arrived || message.message == c.arrives;
        EXPECT_TRUE(arrived) << c.what;
        EXPECT_FALSE(system->IsCloseWaiting()) << c.what << ", once taken";
    }
    system->DestroyWindow(window);
}
