#pragma once
// Where the game stands: the main loop's state, the pending transition, the
// skip settings, the current wait, the options kept in the options file and
// the last ten scripts.

#include <array>
#include <cstdint>

#include "frame/TextString.h"
#include "script/lang/EffectChoice.h"

enum class EngineState : std::uint32_t {
    RunTags = 0,
    ClickWait = 1,
    TextDisplay = 2,
    BackLog = 3,
    ChoiceWait = 4,
    WindowHidden = 5,
    Transition = 6,
    TimedWait = 8,
    ScriptEnd = 10,
};

// The wait a save resumes: the click-wait tags C, L, P, or a choice.
enum class WaitKind : std::uint32_t { C = 0, L = 1, P = 2, Choice = 4 };

class CGameState {
public:
    using CTextString = kivotasuGameKit::CTextString;
    static constexpr std::int32_t HistorySize = 10;

    virtual ~CGameState() = default;

    // Clears the state, the transition and the wait; options and history stay.
    void Reset();
    // Remembers the state it leaves, as every change of state does.
    void ChangeState(EngineState next);
    // A picture's name is taken too; another kind leaves the last name.
    void SetEffect(const EffectChoice& effect);

    // Taken by value: the name may be one of the entries it moves.
    void AddHistory(CTextString name);
    void ClearHistory();
    void RemoveFirstHistory();

    EngineState State = EngineState::RunTags;
    EngineState PreviousState = EngineState::RunTags;
    EffectKind PendingEffect = EffectKind::None;
    CTextString PendingEffectText;
    // Text, graphic, input and condition, each for the modes in force and for
    // the custom preset (skip pattern 4).
    std::array<std::uint32_t, 4> SkipModes = {};
    std::array<std::uint32_t, 4> SkipSettings = {};
    std::uint32_t SkipPattern = 0;
    std::int32_t WaitTime = 0;
    WaitKind CurrentWait = WaitKind::Choice;
    std::uint8_t DisplayMode = 0;
    std::uint8_t PopupActive = 0;
    std::uint8_t AutoSave = 1;
    std::uint8_t OverwriteCheck = 0;
    CTextString NameStem;
    std::uint8_t AnimatedCursor = 0;
    std::int32_t HistoryCount = 0;
    std::array<CTextString, HistorySize> History;
};
