// Scripts that would loop, recurse or grow without end, and broken ones: the
// player reports them, ends in the end screen and stays closable.
#include <gtest/gtest.h>

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
    EXPECT_LE(run.frames.size(), 1u);
    EXPECT_TRUE(run.errors.empty());
}

TEST(EngineHostileScript, EndlessCallRecursionEndsTheScriptAtTheStackBound)
{
    GameFolder game;
    game.Put("data/index.txt", "[LABEL LABEL=\"a\"][CALL LABEL=\"a\"]");
    EngineRun run;
    run.Run(5, 4 * CScriptReader::MaxCallDepth);

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
        {"[SET VARIABLE=\"a\" ENTITY=\"99999999999,0,/\"]", "０で除算しました。"},
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
