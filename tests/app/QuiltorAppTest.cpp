#include "AppFixture.h"

#include "app/QuiltorApp.h"
#include "platform/Dialogs.h"
#include "script/engine/MenuCommands.h"

using namespace kivotasuGameKit;
using namespace apptest;

TEST_F(AppTest, PlayerWindowIsKarutemiAt640By480)
{
    CQuiltorApp app;
    CWindowOption option;
    EXPECT_EQ(app.GetWindowOption(option), 0);
    EXPECT_EQ(option.caption, CTextString("KARUTEMI"));
    EXPECT_EQ(option.className, CTextString("KIVOSDKAPPLICATION"));
    EXPECT_EQ(option.width, 640);
    EXPECT_EQ(option.height, 480);
    EXPECT_TRUE(option.style & WS_MAXIMIZEBOX);
}

TEST_F(AppTest, PlayerPostsTheTestCommandAndItsCloseAtTheirFrames)
{
    // The exit item's command brings its question, which the headless
    // service dismisses: the game plays on until its close after 8 frames,
    // through a posted WM_CLOSE.
    auto dialogs = std::make_unique<platform::HeadlessDialogs>();
    platform::HeadlessDialogs& shown = *dialogs;
    platform::InstallDialogs(std::move(dialogs));
    CQuiltorApp app(8);
    app.PostCommandAfter(3, MenuCommand::Exit);
    app.Run();
    ASSERT_EQ(shown.Shown().size(), 1u);
    EXPECT_EQ(shown.Shown()[0].titleSjis, "終了確認");
    platform::InstallDialogs(nullptr);
    ASSERT_EQ(windows->Created().size(), 1u);
    auto state = *windows->State(windows->Created().front());
    EXPECT_EQ(state.captionSjis, "KARUTEMI");
    EXPECT_EQ(state.client.width, 640);
    EXPECT_EQ(state.client.height, 480);
    EXPECT_TRUE(state.maximizeBox);
    EXPECT_TRUE(state.destroyed);
    // 8 frames at 30 per second on the virtual clock: 7 frame waits of about
    // 33 ms, the question's none.
    EXPECT_GE(platform::Clock().Now(), 7u * 33u);
    EXPECT_LT(platform::Clock().Now(), 9u * 34u);
}
