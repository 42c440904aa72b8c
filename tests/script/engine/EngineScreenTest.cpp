// SCREEN switches the display, the window, the screen plane and the back plane
// between 640 x 480 and 800 x 600.
#include <gtest/gtest.h>

#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

namespace {

struct Sizes {
    int screenWidth = 0, screenHeight = 0;
    int backWidth = 0, backHeight = 0;
    int clientWidth = 0, clientHeight = 0;
};

Sizes Measure(EngineRun& run)
{
    CQuiltorEngine& engine = *CQuiltorEngine::GetInstance();
    Sizes sizes;
    engine.Shown().GetScreenPlane().GetSize(&sizes.screenWidth, &sizes.screenHeight);
    engine.Shown().GetBackPlane().GetSize(&sizes.backWidth, &sizes.backHeight);
    auto window = *run.Windows().State(run.Window());
    sizes.clientWidth = window.client.width;
    sizes.clientHeight = window.client.height;
    return sizes;
}

void ExpectSize(const Sizes& sizes, int width, int height)
{
    EXPECT_EQ(sizes.screenWidth, width);
    EXPECT_EQ(sizes.screenHeight, height);
    EXPECT_EQ(sizes.backWidth, width);
    EXPECT_EQ(sizes.backHeight, height);
    EXPECT_EQ(sizes.clientWidth, width);
    EXPECT_EQ(sizes.clientHeight, height);
}

} // namespace

TEST(EngineScreen, ScreenSwitchesThePlanesTo800By600AndBack)
{
    GameFolder game;
    game.Put("data/index.txt", "[SCREEN NAME=\"1\"][WAIT TIME=\"500\"][SCREEN NAME=\"1\"][WAIT TIME=\"500\"]"
                               "[SCREEN NAME=\"0\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    Sizes before, large, again, back;
    run.At(0, [&](EngineRun& r) { before = Measure(r); });
    run.At(5, [&](EngineRun& r) { large = Measure(r); });
    run.At(20, [&](EngineRun& r) { again = Measure(r); });
    run.At(40, [&](EngineRun& r) { back = Measure(r); });
    run.Run(40);

    ExpectSize(large, 800, 600);
    ExpectSize(again, 800, 600);
    ExpectSize(back, 640, 480);
    EXPECT_EQ(ScreenWidth(), 640);
    EXPECT_EQ(ScreenHeight(), 480);
    // The screen plane is made with the display, before the first frame.
    EXPECT_EQ(before.clientWidth, 640);
    EXPECT_TRUE(run.errors.empty());
}

TEST(EngineScreen, LargeScreenPresentsBeyondTheSmallOne)
{
    GameFolder game;
    // A character drawn where only the large screen reaches.
    game.Put("data/index.txt", "[SCREEN NAME=\"1\"][SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]"
                               "[DEFAULTTEXT X=\"700\" Y=\"520\" BEAM=\"2\" LINE=\"1\"]あ[WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(10);

    const auto& state = run.Displays().GetState();
    EXPECT_EQ(state.width, 800);
    EXPECT_EQ(state.height, 600);
    int inked = 0;
    for (int y = 520; y < 560; ++y) {
        for (int x = 700; x < 740; ++x) inked += run.Displays().PictureAt(x, y) != 0;
    }
    EXPECT_GT(inked, 20);
    EXPECT_TRUE(run.errors.empty());
}
