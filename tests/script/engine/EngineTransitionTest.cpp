// LOCK and UNLOCK around element changes, and the transition state's timing.
#include <gtest/gtest.h>

#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

namespace {

const std::string Hold = "[WAIT TIME=\"100000\"]";

} // namespace

TEST(EngineTransition, TwoLocksNeedTwoUnlocksAndOnlyTheSecondStartsTheTransition)
{
    GameFolder game;
    game.Put("data/index.txt", "[LOCK][LOCK][UNLOCK][UNLOCK][UNLOCK]" + Hold);
    EngineRun run;
    run.Run(60);

    auto unlocks = run.Tags(TagId::Unlock);
    ASSERT_EQ(unlocks.size(), 3u);
    EXPECT_EQ(unlocks[0]->after, EngineState::RunTags);
    EXPECT_EQ(unlocks[1]->after, EngineState::Transition);
    // An UNLOCK without a LOCK changes nothing.
    EXPECT_EQ(unlocks[2]->after, EngineState::RunTags);
}

TEST(EngineTransition, ElementTagUnderALockStartsNoTransition)
{
    GameFolder game;
    game.Put("data/index.txt", "[LOCK][ACT NAME=\"a\" EFFECT=\"BLEND\"][BACK NAME=\"b\"][SET VARIABLE=\"x\" ENTITY=\"1\"]"
                               "[UNLOCK EFFECT=\"NONE\"]" + Hold);
    EngineRun run;
    run.Run(30);

    EXPECT_EQ(run.Tags(TagId::Act).at(0)->after, EngineState::RunTags);
    EXPECT_EQ(run.Tags(TagId::Back).at(0)->after, EngineState::RunTags);
    // The transition of the UNLOCK, NONE, ends on its first frame.
    EXPECT_EQ(run.FramesIn(EngineState::Transition).size(), 1u);
}

TEST(EngineTransition, TransitionLastsTheEffectTime)
{
    GameFolder game;
    game.Put("system/option.qsd", "[SYSTEM CONTROL=\"EFFECT\" TIME=\"500\"]");
    game.Put("data/index.txt", "[BACK NAME=\"b\" EFFECT=\"BLEND\"][SET VARIABLE=\"a\" ENTITY=\"1\"]"
                               "[BACK NAME=\"b\" EFFECT=\"MOSAIC\"][SET VARIABLE=\"b\" ENTITY=\"1\"]"
                               "[BACK NAME=\"b\" EFFECT=\"NONE\"][SET VARIABLE=\"c\" ENTITY=\"1\"]" + Hold);
    EngineRun run;
    run.Run(120);

    auto backs = run.Tags(TagId::Back);
    auto sets = run.Tags(TagId::Set);
    ASSERT_EQ(sets.size(), 3u);
    auto took = [&](int i) { return sets[i]->time - backs[i]->time; };
    // BLEND over the EFFECT time; MOSAIC over twice that; NONE at once.
    EXPECT_GE(took(0), 500u);
    EXPECT_LT(took(0), 500u + 3 * 34);
    EXPECT_GE(took(1), 1000u);
    EXPECT_LT(took(1), 1000u + 3 * 34);
    EXPECT_LT(took(2), 3 * 34u);
}

TEST(EngineTransition, ClickEndsATransition)
{
    GameFolder game;
    game.Put("data/index.txt", "[BACK NAME=\"b\" EFFECT=\"BLEND\"][SET VARIABLE=\"a\" ENTITY=\"1\"]" + Hold);
    EngineRun run;
    run.Click(3);
    run.Run(40);
    EXPECT_EQ(run.Tags(TagId::Set).at(0)->frame, 4u);
}

TEST(EngineStory, SpeakerBeforeTheColonGoesToTheNameUnderTrh2)
{
    GameFolder game;
    // Two full-width letters (4 bytes) and the colon: window 4 / 2.
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTWINDOW CONTROL=\"TRH2\"]ＡＢ：本文です[C]");
    EngineRun run;
    std::string name, message;
    run.At(5, [&](EngineRun&) {
        TAG::CText& text = CQuiltorEngine::GetInstance()->GetText();
        name = text.GetName().GetStr();
        message = text.GetMessage().GetStr();
    });
    run.Run(5);

    EXPECT_EQ(name, "ＡＢ");
    EXPECT_EQ(message, "本文です");
}

TEST(EngineStory, NoSplitWithoutAStyleOrBeyondTheNameLength)
{
    GameFolder game;
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]ＡＢ：本文[C][TP]"
                               "[DEFAULTWINDOW CONTROL=\"TRH2\"]ＡＢＣＤＥ：本文[C]");
    EngineRun run;
    std::string first, second;
    run.At(5, [&](EngineRun&) { first = CQuiltorEngine::GetInstance()->GetText().GetMessage().GetStr(); });
    run.Click(6);
    run.At(12, [&](EngineRun&) { second = CQuiltorEngine::GetInstance()->GetText().GetMessage().GetStr(); });
    run.Run(12);

    EXPECT_EQ(first, "ＡＢ：本文");
    // The colon at byte 10 lies past the 8 bytes a TRH2 name may have.
    EXPECT_EQ(second, "ＡＢＣＤＥ：本文");
}
