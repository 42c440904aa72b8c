#include "platform/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <thread>

using namespace platform;

namespace {

WindowSpec Request()
{
    WindowSpec request;
    request.captionSjis = "KARUTEMI";
    return request;
}

} // namespace

TEST(HeadlessWindowSystem, MessagesComeInOrderAndQuitEndsGetMessage)
{
    HeadlessWindowSystem system;
    WindowHandle window = system.CreateWindow(Request());
    ASSERT_NE(window, 0u);

    system.Feed(window, WM_LBUTTONDOWN, MK_LBUTTON, MakePointParam(10, 20));
    EXPECT_TRUE(system.PostMessage(window, WM_CLOSE, 0, 0));
    system.PostQuitMessage(3);

    WindowMessage message;
    ASSERT_EQ(system.GetMessage(message), 1);
    EXPECT_EQ(message.message, WM_LBUTTONDOWN);
    EXPECT_EQ(LowWord(message.lParam), 10);
    EXPECT_EQ(HighWord(message.lParam), 20);
    ASSERT_TRUE(system.PeekMessage(message));
    EXPECT_EQ(message.message, WM_CLOSE);
    EXPECT_EQ(system.GetMessage(message), 0);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(system.PeekMessage(message));
}

TEST(HeadlessWindowSystem, PostFromAnotherThreadWakesTheWait)
{
    HeadlessWindowSystem system;
    WindowHandle window = system.CreateWindow(Request());
    std::thread poster([&] { system.PostMessage(window, WM_USER + 1, 7, 0); });
    WindowMessage message;
    EXPECT_EQ(system.GetMessage(message), 1);
    EXPECT_EQ(message.message, WM_USER + 1);
    EXPECT_EQ(message.wParam, 7u);
    poster.join();
}

TEST(HeadlessWindowSystem, DestroyDropsPendingMessagesDropsAndLaterPosts)
{
    HeadlessWindowSystem system;
    WindowHandle window = system.CreateWindow(Request());
    WindowHandle other = system.CreateWindow(Request());
    system.DropFile(window, "Z:\\game\\index.txt");
    system.Feed(other, WM_PAINT);
    ASSERT_EQ(system.OpenDrops(), 1u);

    system.DestroyWindow(window);
    EXPECT_EQ(system.OpenDrops(), 0u);
    EXPECT_EQ(system.QueuedMessages(), 1u);
    EXPECT_FALSE(system.PostMessage(window, WM_CLOSE, 0, 0));
    EXPECT_TRUE(system.State(window)->destroyed);
    EXPECT_FALSE(system.SetCaption(window, "x"));
}

TEST(HeadlessWindowSystem, DroppedFileIsReadableUntilFinished)
{
    HeadlessWindowSystem system;
    WindowHandle window = system.CreateWindow(Request());
    system.DropFile(window, "Z:\\ゲーム\\index.txt");
    WindowMessage message;
    ASSERT_TRUE(system.PeekMessage(message));
    ASSERT_EQ(message.message, WM_DROPFILES);
    EXPECT_EQ(system.DroppedFile(message.wParam), "Z:\\ゲーム\\index.txt");
    system.FinishDrop(message.wParam);
    EXPECT_EQ(system.DroppedFile(message.wParam), "");
}

TEST(HeadlessWindowSystem, MinimizeSetsStateBeforeTheMessageArrives)
{
    HeadlessWindowSystem system;
    WindowHandle window = system.CreateWindow(Request());
    system.Minimize(window);
    EXPECT_TRUE(system.IsMinimized(window));
    WindowMessage message;
    ASSERT_TRUE(system.PeekMessage(message));
    EXPECT_EQ(message.message, WM_SIZE);
    EXPECT_EQ(message.wParam, SIZE_MINIMIZED);
    system.Restore(window);
    EXPECT_FALSE(system.IsMinimized(window));
}
