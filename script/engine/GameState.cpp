#include "script/engine/GameState.h"

#include <algorithm>

void CGameState::Reset()
{
    State = EngineState::RunTags;
    PreviousState = EngineState::RunTags;
    PendingEffect = EffectKind::None;
    WaitTime = 0;
    CurrentWait = WaitKind::Choice;
}

void CGameState::ChangeState(EngineState next)
{
    PreviousState = State;
    State = next;
}

void CGameState::SetEffect(const EffectChoice& effect)
{
    PendingEffect = effect.kind;
    if (effect.kind == EffectKind::Named) PendingEffectText = effect.picture;
}

void CGameState::AddHistory(CTextString name)
{
    auto begin = History.begin();
    auto found = std::find(begin, begin + HistoryCount, name);
    if (found == begin + HistoryCount) {
        // The oldest entry falls off the end of a full list.
        std::move_backward(begin, begin + HistorySize - 1, History.end());
        HistoryCount = std::min(HistoryCount + 1, HistorySize);
    } else {
        std::move_backward(begin, found, found + 1);
    }
    History[0] = std::move(name);
}

void CGameState::ClearHistory()
{
    std::fill(History.begin() + 1, History.end(), CTextString());
    HistoryCount = 1;
}

void CGameState::RemoveFirstHistory()
{
    HistoryCount = std::max(HistoryCount - 1, 0);
    std::copy(History.begin() + 1, History.begin() + 1 + HistoryCount, History.begin());
}
