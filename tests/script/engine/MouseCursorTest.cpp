// The mouse as the engine sees it: press and release edges, the wheel, and
// the wait cursors CURSOR registers.
#include <gtest/gtest.h>

#include <algorithm>

#include "frame/file/FileWriter.h"
#include "platform/Clock.h"
#include "script/engine/MouseCursor.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/kit/TempFolder.h"
#include "tests/platform/CursorFiles.h"

namespace {

void Send(CMouseCursor& mouse, std::uint32_t message, std::uintptr_t wParam = 0)
{
    EXPECT_EQ(mouse.WndProc(0, message, wParam, 0), 0);
}

} // namespace

// A touchpad's tap sends the press and the release at once: both edges stay
// until taken, so the frame that reads them sees a whole click.
TEST(MouseCursor, PressAndReleaseBetweenTwoPollsKeepBothEdges)
{
    CMouseCursor mouse;
    for (auto [down, up] : {std::pair{platform::WM_LBUTTONDOWN, platform::WM_LBUTTONUP},
                            std::pair{platform::WM_RBUTTONDOWN, platform::WM_RBUTTONUP}}) {
        Send(mouse, down);
        Send(mouse, up);
    }
    EXPECT_FALSE(mouse.IsLeftHeld());
    EXPECT_TRUE(mouse.TakeLeftDown());
    EXPECT_TRUE(mouse.TakeLeftUp());
    EXPECT_TRUE(mouse.TakeRightDown());
    // Taking clears.
    EXPECT_FALSE(mouse.TakeLeftDown());
    EXPECT_FALSE(mouse.TakeLeftUp());
    EXPECT_FALSE(mouse.TakeRightDown());
}

TEST(MouseCursor, EdgesAreTakenOnceAndTheWheelKeepsItsSign)
{
    CMouseCursor mouse;
    Send(mouse, platform::WM_RBUTTONDOWN);
    Send(mouse, platform::WM_LBUTTONDOWN);
    EXPECT_TRUE(mouse.HasInput());
    EXPECT_TRUE(mouse.TakeRightDown());
    EXPECT_FALSE(mouse.TakeRightDown());
    EXPECT_TRUE(mouse.TakeLeftDown());
    Send(mouse, platform::WM_MOUSEWHEEL, static_cast<std::uintptr_t>(static_cast<std::uint16_t>(-120)) << 16);
    EXPECT_EQ(mouse.TakeWheel(), -120);
    EXPECT_EQ(mouse.TakeWheel(), 0);
}

TEST(MouseCursor, WaitCursorsFallBackToTheNextRegisteredKind)
{
    CMouseCursor mouse;
    // Nothing registered: every wait shows the arrow.
    for (int kind = 0; kind < 3; ++kind) {
        mouse.Load(kind);
        EXPECT_EQ(mouse.GetKind(), CMouseCursor::Arrow);
    }
    // Only P: the C, L and P waits all show it.
    ASSERT_TRUE(mouse.Register("P", "p.ani"));
    for (int kind = 0; kind < 3; ++kind) {
        mouse.Load(kind);
        EXPECT_EQ(mouse.GetKind(), 2);
    }
    ASSERT_TRUE(mouse.Register("L", "l.ani"));
    mouse.Load(0);
    EXPECT_EQ(mouse.GetKind(), 1);
    mouse.SetArrowCursor();
    EXPECT_EQ(mouse.GetKind(), CMouseCursor::Arrow);
    // Names are exact: lower case is not registered.
    EXPECT_FALSE(mouse.Register("c", "c.ani"));
    EXPECT_TRUE(mouse.GetFile(0).IsEmpty());
}

TEST(MouseCursor, SaveLinesNameTheRegisteredCursorsInOrderAndResetForgetsThem)
{
    TempFolder folder;
    CMouseCursor mouse;
    mouse.Register("P", "p.ani");
    mouse.Register("C", "c.ani");
    {
        kivotasuGameKit::CTextFileWriter writer(folder.Internal("save"));
        mouse.WriteSave(writer);
    }
    std::ifstream in(folder.Host("save"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "[CURSOR NAME=\"C\" FILE=\"c.ani\"]\n[CURSOR NAME=\"P\" FILE=\"p.ani\"]\n");
    mouse.Reset();
    mouse.Load(2);
    EXPECT_EQ(mouse.GetKind(), CMouseCursor::Arrow);
}

TEST(MouseCursor, RegisteredFilesBecomeColourCursorsAndAnimate)
{
    auto installed = std::make_unique<platform::HeadlessCursorSystem>();
    platform::HeadlessCursorSystem& cursors = *installed;
    platform::InstallCursors(std::move(installed));
    platform::VirtualClock& clock = [&]() -> platform::VirtualClock& {
        auto made = std::make_unique<platform::VirtualClock>();
        platform::VirtualClock& kept = *made;
        platform::InstallClock(std::move(made));
        return kept;
    }();
    TempFolder folder;
    using namespace cursorkit;
    const Bytes frame = IconFile({{8, 8, 2, 2, Dib(8, 8, 24, [](int, int) { return 0xFF808080u; })}});
    const Bytes ani = Ani({frame, frame}, 2, 6);
    folder.Put("wait.ani", std::string(ani.begin(), ani.end()));
    folder.Put("broken.cur", "not a cursor");
    {
        CMouseCursor mouse;
        mouse.Register("P", kivotasuGameKit::CTextString(folder.Internal("wait.ani")));
        mouse.Load(0);
        EXPECT_EQ(mouse.GetKind(), 2);
        EXPECT_NE(cursors.Shown(), 0u);
        mouse.Animate();
        clock.Advance(100); // six jiffies later: the second frame
        mouse.Animate();
        EXPECT_EQ(cursors.ShownFrame(), 1u);
        mouse.SetArrowCursor();
        EXPECT_EQ(cursors.Shown(), 0u);
        EXPECT_EQ(cursors.ShownSystem(), platform::SystemCursor::Arrow);
        // A file that is no cursor: the system's wait cursor at every wait,
        // logged once until the file is registered again.
        testkit::ScopedErrorLogRecorder log;
        const auto unreadable = [&] {
            return std::ranges::count_if(log->Messages(), [](const std::string& line) { return line.find("broken.cur") != std::string::npos; });
        };
        mouse.Register("C", kivotasuGameKit::CTextString(folder.Internal("broken.cur")));
        for (int wait = 0; wait < 3; ++wait) mouse.Load(0);
        EXPECT_EQ(cursors.Shown(), 0u);
        EXPECT_EQ(cursors.ShownSystem(), platform::SystemCursor::Wait);
        EXPECT_EQ(unreadable(), 1);
        mouse.Register("C", "");
        mouse.Register("C", kivotasuGameKit::CTextString(folder.Internal("broken.cur")));
        mouse.Load(0);
        EXPECT_EQ(unreadable(), 2);
        mouse.Reset();
        EXPECT_EQ(cursors.Live(), 0u);
        mouse.Load(2);
        EXPECT_EQ(cursors.ShownSystem(), platform::SystemCursor::Arrow);
    }
    platform::InstallCursors(nullptr);
    platform::InstallClock(nullptr);
}
