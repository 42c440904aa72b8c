#include <gtest/gtest.h>

#include <vector>

#include "script/engine/GameState.h"
#include "script/engine/InputState.h"
#include "script/lang/TagAttributes.h"

namespace {

std::vector<std::string> Entries(const CGameState& state)
{
    std::vector<std::string> entries;
    for (int i = 0; i < state.HistoryCount; ++i) entries.push_back(state.History[i].GetStr());
    return entries;
}

TEST(GameState, HistoryKeepsEachScriptOnceNewestFirst)
{
    CGameState state;
    for (const char* name : {"a", "b", "c", "d"}) state.AddHistory(name);
    EXPECT_EQ(Entries(state), (std::vector<std::string>{"d", "c", "b", "a"}));

    // The third one moves to the front; the others keep their order.
    state.AddHistory("b");
    EXPECT_EQ(Entries(state), (std::vector<std::string>{"b", "d", "c", "a"}));
    state.AddHistory("b");
    EXPECT_EQ(Entries(state), (std::vector<std::string>{"b", "d", "c", "a"}));
    state.AddHistory(state.History[3]);
    EXPECT_EQ(Entries(state), (std::vector<std::string>{"a", "b", "d", "c"}));
}

TEST(GameState, HistoryHoldsTen)
{
    CGameState state;
    for (int i = 0; i < 11; ++i) state.AddHistory(std::to_string(i));
    ASSERT_EQ(state.HistoryCount, 10);
    EXPECT_EQ(state.History[0].GetStr(), "10");
    EXPECT_EQ(state.History[9].GetStr(), "1");

    state.ClearHistory();
    EXPECT_EQ(Entries(state), std::vector<std::string>{"10"});
    EXPECT_TRUE(state.History[9].IsEmpty());
}

TEST(GameState, RemoveFirstHistoryShiftsAndStopsAtEmpty)
{
    CGameState state;
    state.AddHistory("old");
    state.AddHistory("new");
    state.RemoveFirstHistory();
    EXPECT_EQ(Entries(state), std::vector<std::string>{"old"});
    state.RemoveFirstHistory();
    state.RemoveFirstHistory();
    EXPECT_EQ(state.HistoryCount, 0);
}

TEST(GameState, ResetClearsTheRunButKeepsOptionsAndHistory)
{
    CGameState state;
    EXPECT_EQ(state.CurrentWait, WaitKind::Choice);
    EXPECT_EQ(state.AutoSave, 1);
    state.ChangeState(EngineState::ClickWait);
    state.ChangeState(EngineState::BackLog);
    EXPECT_EQ(state.PreviousState, EngineState::ClickWait);
    state.CurrentWait = WaitKind::P;
    state.WaitTime = 300;
    state.PendingEffect = EffectKind::Blend;
    state.DisplayMode = 1;
    state.SkipPattern = 3;
    state.NameStem = "Z:/g/data/index";
    state.AddHistory("Z:/g/data/index.txt");

    state.Reset();
    EXPECT_EQ(state.State, EngineState::RunTags);
    EXPECT_EQ(state.PreviousState, EngineState::RunTags);
    EXPECT_EQ(state.PendingEffect, EffectKind::None);
    EXPECT_EQ(state.WaitTime, 0);
    EXPECT_EQ(state.CurrentWait, WaitKind::Choice);
    EXPECT_EQ(state.DisplayMode, 1);
    EXPECT_EQ(state.SkipPattern, 3u);
    EXPECT_EQ(state.NameStem.GetStr(), "Z:/g/data/index");
    EXPECT_EQ(state.HistoryCount, 1);
}

TEST(GameState, NamedEffectKeepsItsText)
{
    CGameState state;
    CTagAttributes record;
    record.SetValue(TagAttributeKey::Effect, "swirl");
    EffectChoice effect;
    effect.Parse(record);
    state.SetEffect(effect);
    EXPECT_EQ(state.PendingEffect, EffectKind::Named);
    EXPECT_EQ(state.PendingEffectText.GetStr(), "swirl");

    record.SetValue(TagAttributeKey::Effect, "BLEND");
    effect.Parse(record);
    state.SetEffect(effect);
    EXPECT_EQ(state.PendingEffect, EffectKind::Blend);
    EXPECT_EQ(state.PendingEffectText.GetStr(), "swirl");
}

TEST(InputState, StartsWithNoEventAndNoLatch)
{
    CInputState& input = CInputState::GetInstance();
    EXPECT_EQ(&input, &CInputState::GetInstance());
    EXPECT_EQ(static_cast<int>(input.Event), 15);
    EXPECT_EQ(input.InstantText, 0);
    // The codes the buttons' LABEL keywords share with the waits.
    EXPECT_EQ(static_cast<int>(InputEvent::Decide), 1);
    EXPECT_EQ(static_cast<int>(InputEvent::GameEnd), 3);
    EXPECT_EQ(static_cast<int>(InputEvent::LogBack), 6);
    EXPECT_EQ(static_cast<int>(InputEvent::LogForward), 8);
    EXPECT_EQ(static_cast<int>(InputEvent::QuickSave), 10);
    EXPECT_EQ(static_cast<int>(InputEvent::SkipFast), 12);
    EXPECT_EQ(static_cast<int>(InputEvent::Select), 13);
    EXPECT_EQ(static_cast<int>(InputEvent::WindowHide), 14);
}

} // namespace
