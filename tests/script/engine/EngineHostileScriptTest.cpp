// Scripts that would loop, recurse or grow without end, and broken ones: the
// player reports them, ends in the end screen and stays closable.
#include <gtest/gtest.h>

#include <functional>

#include "script/engine/KeyCodes.h"
#include "script/lang/ScriptReader.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

TEST(EngineHostileScript, EndlessJumpWithoutAWaitStaysClosable)
{
    GameFolder game;
    game.Put("data/index.txt", "[LABEL LABEL=\"a\"][JUMP LABEL=\"a\"]");
    EngineRun run;
    // The harness posts the close from inside the tag loop, after the limit.
    run.Run(100, 5000);

    EXPECT_GE(run.trace.size(), 5000u);
    // A turn of the main loop every few thousand tags, and the close's own.
    EXPECT_LE(run.frames.size(), 2u);
    EXPECT_TRUE(run.errors.empty());
}

TEST(EngineHostileScript, ALoopWithoutAWaitAnswersItsWindowAndReadsOnWhereItStopped)
{
    const std::string setLoop = "[LABEL LABEL=\"top\"][SET VARIABLE=\"a\" ENTITY=\"1\"][JUMP LABEL=\"top\"]";
    const std::string misspeltLoop = "[LABEL LABEL=\"top\"][BAKC FILE=\"bg.bmp\"][JUMP LABEL=\"top\"]";
    auto altF4 = [](EngineRun& run) {
        run.Key(2, KeyCode::LeftAlt, 3);
        run.Key(2, KeyCode::F4, 3);
    };
    struct Case {
        const char* what;
        std::string script;
        std::function<void(EngineRun&)> act; // from frame 2, the close at frame 4 at the latest
        std::size_t menus;
        bool fullScreen = false; // in frame 4
    };
    const Case cases[] = {
        {"Alt+F4 in a loop of SET", setLoop, altF4, 0},
        {"Alt+F4 in a loop over a misspelt tag", misspeltLoop, altF4, 0},
        {"the close box", setLoop, [](EngineRun& run) { run.Close(2); }, 0},
        {"a right click opens the menu", setLoop,
         [](EngineRun& run) {
             run.RightClick(2);
             run.Close(4);
         },
         1},
        {"Alt+Enter switches to full screen", setLoop,
         [](EngineRun& run) {
             run.Key(2, KeyCode::LeftAlt, 2);
             run.Key(2, KeyCode::Enter, 2);
             run.Close(4);
         },
         0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", c.script);
        EngineRun run;
        c.act(run);
        bool fullScreen = false;
        run.At(4, [&](EngineRun&) { fullScreen = CQuiltorEngine::GetInstance()->GetDraw().IsFullScreen(); });
        // Without a turn for the window, only the tag bound would close it,
        // some hundred frames' worth of tags on.
        testing::internal::CaptureStderr();
        run.Run(1000, 100000);
        testing::internal::GetCapturedStderr();

        ASSERT_GE(run.frames.size(), 2u) << "the loop never gave the main loop a frame";
        EXPECT_LE(run.frames.size(), 5u);
        for (const auto& frame : run.frames) EXPECT_EQ(frame.state, EngineState::RunTags);
        EXPECT_EQ(run.Dialogs().Menus().size(), c.menus);
        EXPECT_EQ(fullScreen, c.fullScreen);
        // Across every frame the reader went on with the tag after the last
        // one: behind the LABEL, the loop's two tags repeat at their offsets.
        ASSERT_GT(run.trace.size(), 3u);
        for (std::size_t i = 3; i < run.trace.size(); ++i) ASSERT_EQ(run.trace[i].offset, run.trace[i - 2].offset) << i;
        EXPECT_NE(run.trace.front().frame, run.trace.back().frame);
    }
}

TEST(EngineHostileScript, EndlessCallRecursionEndsTheScriptAtTheStackBound)
{
    GameFolder game;
    game.Put("data/index.txt", "[LABEL LABEL=\"a\"][CALL LABEL=\"a\"]");
    EngineRun run;
    // Frames come every few thousand tags: the tag bound ends the run.
    run.Run(1000, 4 * CScriptReader::MaxCallDepth);

    ASSERT_FALSE(run.errors.empty());
    EXPECT_EQ(run.errors.front(), "CALLの入れ子が深すぎます。\nCALLしたら、ENDCALLで戻ってください。");
    // The CALL past the bound is traced as the one that raised.
    const auto calls = run.Tags(TagId::Call);
    ASSERT_EQ(calls.size(), CScriptReader::MaxCallDepth + 1);
    EXPECT_TRUE(calls.back()->raised);
    EXPECT_FALSE(calls[calls.size() - 2]->raised);
    EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
}

TEST(EngineHostileScript, BrokenScriptsAreReportedAndEndInTheEndScreen)
{
    struct Case {
        std::string script;
        std::string error;
    };
    const Case cases[] = {
        {"[TEXT BODY=\"{{{\"]", "『 { 』 に対して、対応する 『 } 』 がありません。"},
        {"[SET VARIABLE=\"a\" ENTITY=\"99999999999,0,/\"]", "０で除算しました。（半角の「,」があるので、計算式として読みました。）"},
        {"[LABEL][JUMP LABEL=\"99999999999\"]", "無記名ラベルの数が足りません。"},
        // Binary junk without a lead byte at its end, so the "[" behind it stays a bracket.
        {std::string("[TEXT BODY=\"\xFF\x01\0\x7F", 16), "タグが閉じていません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        GameFolder game;
        game.Put("data/index.txt", c.script + "[WAIT TIME=\"100000\"]");
        EngineRun run;
        run.Run(10);

        ASSERT_FALSE(run.errors.empty());
        EXPECT_EQ(run.errors.front(), c.error);
        EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
    }
}
