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
    // The close's own frame: the window's turns wait for none.
    EXPECT_LE(run.frames.size(), 1u);
    EXPECT_GE(run.turns, 1u);
    EXPECT_TRUE(run.errors.empty());
}

TEST(EngineHostileScript, ALoopWithoutAWaitAnswersItsWindowAndReadsOnWhereItStopped)
{
    const std::string setLoop = "[LABEL LABEL=\"top\"][SET VARIABLE=\"a\" ENTITY=\"1\"][JUMP LABEL=\"top\"]";
    const std::string misspeltLoop = "[LABEL LABEL=\"top\"][BAKC FILE=\"bg.bmp\"][JUMP LABEL=\"top\"]";
    auto post = [](std::uint32_t turn, std::uint32_t message, std::uintptr_t wParam) {
        return [=](EngineRun& r) { r.AtTurn(turn, [=](EngineRun& run) { run.Post(message, wParam, 0); }); };
    };
    struct Case {
        const char* what;
        std::string script;
        std::function<void(EngineRun&)> act; // from turn 2, the close at turn 5 at the latest
        std::size_t menus;
        bool fullScreen = false; // at turn 4
    };
    const Case cases[] = {
        // Alt+F4 as well: the window system makes the close of it.
        {"the close box", setLoop, post(2, platform::WM_CLOSE, 0), 0},
        {"the close box in a loop over a misspelt tag", misspeltLoop, post(2, platform::WM_CLOSE, 0), 0},
        {"a right click opens the menu", setLoop, [&](EngineRun& run) {
             post(2, platform::WM_RBUTTONDOWN, platform::MK_RBUTTON)(run);
             post(3, platform::WM_RBUTTONUP, 0)(run);
             post(5, platform::WM_CLOSE, 0)(run);
         }, 1},
        {"Alt+Enter switches to full screen", setLoop, [&](EngineRun& run) {
             run.AtTurn(2, [](EngineRun& r) { r.Keyboard().Hold(KeyCode::LeftAlt), r.Keyboard().Hold(KeyCode::Enter); });
             run.AtTurn(4, [](EngineRun& r) { r.Keyboard().Release(KeyCode::LeftAlt), r.Keyboard().Release(KeyCode::Enter); });
             post(5, platform::WM_CLOSE, 0)(run);
         }, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", c.script);
        EngineRun run;
        c.act(run);
        bool fullScreen = false;
        run.AtTurn(4, [&](EngineRun&) { fullScreen = CQuiltorEngine::GetInstance()->Shown().IsFullScreen(); });
        // Without a turn for the window, only the tag bound would close it,
        // some dozens of turns' worth of tags on.
        testing::internal::CaptureStderr();
        run.Run(1000, 100000);
        testing::internal::GetCapturedStderr();

        EXPECT_GE(run.turns, 2u);
        EXPECT_LE(run.turns, 6u);
        // The close's own frame at most: no turn waits for one.
        EXPECT_LE(run.frames.size(), 1u);
        for (const auto& frame : run.frames) EXPECT_EQ(frame.state, EngineState::RunTags);
        EXPECT_EQ(run.Dialogs().Menus().size(), c.menus);
        EXPECT_EQ(fullScreen, c.fullScreen);
        // Across every turn the reader went on with the tag after the last
        // one: behind the LABEL, the loop's two tags repeat at their offsets.
        ASSERT_GT(run.trace.size(), 3u);
        for (std::size_t i = 3; i < run.trace.size(); ++i) ASSERT_EQ(run.trace[i].offset, run.trace[i - 2].offset) << i;
    }
}

TEST(EngineHostileScript, ALongLoopWithoutAWaitWaitsForNoFrameAndPresentsNothing)
{
    // Two tags a round: the JUMP lands behind the LABEL.
    constexpr std::uint32_t Rounds = 30000, Turns = 2 * Rounds / 4096;
    GameFolder game;
    game.Put("data/index.txt", "[SET VARIABLE=\"i\" ENTITY=\"0\"][LABEL LABEL=\"回\"][SET VARIABLE=\"i\" ENTITY=\"{i},1,+\"]"
                               "[JUMP LABEL=\"回\" COND=\"{i},30000,<\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.RecordTags(false);
    std::vector<int> presents;
    for (std::uint32_t turn = 1; turn <= Turns; ++turn)
        run.AtTurn(turn, [&](EngineRun& r) { presents.push_back(r.Displays().GetState().presents); });
    std::uint32_t turnsAtTheWait = 0;
    run.At(1, [&](EngineRun& r) { turnsAtTheWait = r.turns; });
    const std::uint32_t begun = platform::Clock().Now();
    run.Run(2, 4 * Rounds);

    // The window had a turn every few thousand tags, and the loop neither
    // slept for a frame nor showed anything: its time is the processor's
    // alone, and the first frame is the wait's.
    EXPECT_EQ(turnsAtTheWait, Turns);
    ASSERT_EQ(presents.size(), Turns);
    EXPECT_EQ(presents.back(), presents.front());
    ASSERT_FALSE(run.frames.empty());
    EXPECT_EQ(run.frames.front().state, EngineState::TimedWait);
    EXPECT_LT(run.frames.front().time - begun, 2 * 34u);
}

// Tags that take time give the window its turn a frame's time apart, long
// before the count, but only after the few dozen tags of a set-up.
TEST(EngineHostileScript, SlowTagsWithoutAWaitGiveTheWindowATurnEveryFrame)
{
    constexpr std::uint32_t Turns = 20;
    // Tags a millisecond, and milliseconds between turns: eight make a frame's
    // time of tags; at a millisecond a tag, the 64 take more than a frame's.
    for (const auto& [tagsAMillisecond, apart] : {std::pair{8u, 1000u / 30}, std::pair{1u, 64u}}) {
        SCOPED_TRACE(std::to_string(tagsAMillisecond) + " tags a millisecond");
        GameFolder game;
        game.Put("data/index.txt", "[LABEL LABEL=\"top\"][SET VARIABLE=\"a\" ENTITY=\"1\"][JUMP LABEL=\"top\"]");
        EngineRun run;
        run.RecordTags(false);
        run.TagsTakeAMillisecond(tagsAMillisecond);
        std::vector<std::uint32_t> times;
        for (std::uint32_t turn = 1; turn <= Turns; ++turn)
            run.AtTurn(turn, [&](EngineRun& r) { times.push_back(r.Clock().Now()); });
        run.AtTurn(Turns, [](EngineRun& r) { r.Post(platform::WM_CLOSE, 0, 0); });
        run.Run(1000, 100000);

        ASSERT_EQ(times.size(), Turns);
        // The apart time or a millisecond more; a shorter gap wraps round, unsigned.
        for (std::uint32_t i = 1; i < Turns; ++i) EXPECT_LE(times[i] - times[i - 1] - apart, 1u) << "turn " << i + 1;
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
