// The SDL windows on SDL's dummy video driver: no display needed.
#include "platform/WindowSystem.h"
#include "platform/CloseLatch.h"
#include "platform/SdlFrame.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
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

    // A close asked elsewhere (a signal's latch) ends a wait with nothing to take.
    while (system->PeekMessage(message)) {
    }
    LatchClose();
    EXPECT_EQ(system->GetMessage(message), 1);
    EXPECT_EQ(message.message, WM_CLOSE);
    EXPECT_EQ(message.window, window);
    ClearCloseLatch();

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

// Looked for by the window's own thread, the only one that may pump SDL.
TEST_F(SdlWindowSystemTest, ACloseWaitingIsSeenWithoutTakingAnyMessage)
{
    auto system = MakeSdlWindowSystem();
    WindowHandle window = system->CreateWindow(WindowSpec());
    ASSERT_NE(window, 0u);
    EXPECT_FALSE(std::async(std::launch::async, [&] { return system->IsWindowThread(); }).get()) << "another thread";
    EXPECT_TRUE(system->IsWindowThread());
    const auto id = static_cast<Uint32>(window);
    const auto key = [id](SDL_Keycode sym, Uint16 mod, Uint8 repeat = 0) {
        return SDL_Event{.key = {SDL_KEYDOWN, 0, id, 0, repeat, 0, 0, {SDL_SCANCODE_UNKNOWN, sym, mod, 0}}};
    };
    // Each with the message the main loop gets of it afterwards: a close is waiting only for WM_CLOSE.
    const struct {
        const char* what;
        std::optional<SDL_Event> event; // else a posted close
        std::uint32_t arrives;
    } cases[] = {
        {"the close box", SDL_Event{.window = {SDL_WINDOWEVENT, 0, id, SDL_WINDOWEVENT_CLOSE, 0, 0, 0, 0, 0}},
         WM_CLOSE},
        {"the last window's quit", SDL_Event{.type = SDL_QUIT}, WM_CLOSE},
        {"Alt+F4", key(SDLK_F4, KMOD_LALT), WM_CLOSE},
        {"a posted close", std::nullopt, WM_CLOSE},
        {"F4 alone", key(SDLK_F4, KMOD_NONE), WM_KEYDOWN},
        {"Alt+F4 held on", key(SDLK_F4, KMOD_LALT, 1), WM_KEYDOWN},
        {"Alt+Enter", key(SDLK_RETURN, KMOD_RALT), WM_KEYDOWN},
    };
    WindowMessage message;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        while (system->PeekMessage(message)) {
        }
        SDL_Event event = c.event.value_or(SDL_Event{});
        ASSERT_TRUE(c.event ? SDL_PushEvent(&event) == 1 : system->PostMessage(window, WM_CLOSE, 0, 0));
        EXPECT_EQ(system->IsCloseWaiting(), c.arrives == WM_CLOSE);
        EXPECT_EQ(system->IsCloseWaiting(), c.arrives == WM_CLOSE) << "asked again";
        // Nothing was taken: the main loop still gets it.
        bool arrived = false;
        while (system->PeekMessage(message)) arrived = arrived || message.message == c.arrives;
        EXPECT_TRUE(arrived);
        EXPECT_FALSE(system->IsCloseWaiting()) << "once taken";
    }
    system->DestroyWindow(window);
}
