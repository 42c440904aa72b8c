#include "script/engine/QuiltorEngine.h"

#include "frame/Window.h"
#include "frame/WindowApp.h"
#include "script/engine/GlobalSettings.h"
#include "script/engine/InputState.h"
#include "script/engine/KeyCodes.h"

namespace {

constexpr std::size_t TextMode = 0;
constexpr std::size_t InputMode = 2;
constexpr std::uint32_t AutoReadMs = 2000;

// Ctrl's "advance while held" counts as a click in every wait.
void HeldIsClick(InputEvent& event)
{
    if (event == InputEvent::DecideAuto) event = InputEvent::Decide;
}

} // namespace

void CQuiltorEngine::ClickWait()
{
    InputEvent& event = CInputState::GetInstance().Event;
    std::uint32_t inputMode = m_state.SkipModes[InputMode];
    kivotasuGameKit::CTimer cursorTimer;
    const std::uint32_t interval = m_animations.GetTime();
    cursorTimer.Set(interval > 0 ? interval - 1 : 0);
    const kivotasuGameKit::POINT cursor = m_text.CursorPos();
    m_animations.SetPosition(cursor);
    event = InputEvent::None;
    if (inputMode == 3) event = InputEvent::Decide;
    if (inputMode == 2) m_engineTimer.Reset();

    for (;;) {
        PollInput();
        CheckKey();
        if (m_keyInput.IsKeyPush(KeyCode::PageUp)) event = InputEvent::LogBack;
        if (m_keyInput.IsKeyPush(KeyCode::PageDown)) {
            SetSkipPattern(1);
            event = InputEvent::Decide;
        }
        CheckMouse();
        if (m_windows.IsShown()) m_buttons.Update(m_shown.GetDraw(), m_shown.GetScreenPlane(), m_frameInput, m_keyInput);
        else if (m_frameInput.leftDown) event = InputEvent::Decide;
        if (m_state.State != EngineState::ClickWait) return;

        // Automatic reading chosen in the menu at this wait reads on from
        // this wait, its time counted from the choice.
        if (m_state.SkipModes[InputMode] != inputMode) {
            inputMode = m_state.SkipModes[InputMode];
            if (inputMode == 2) m_engineTimer.Reset();
        }
        if (inputMode == 2 && m_engineTimer.Get() >= AutoReadMs) event = InputEvent::Decide;
        const bool cursorHidden = m_app && !m_app->GetWindow()->IsShowCursor();
        if (m_windows.IsShown() && cursorTimer.Get() > interval && (cursorHidden || !m_state.AnimatedCursor)) {
            cursorTimer.Reset();
            m_animations.Draw(m_shown.GetDraw(), m_shown.GetScreenPlane());
        }
        switch (event) {
        case InputEvent::GameEnd:
            PostClose();
            return;
        case InputEvent::Select:
            // A function button's jump leaves the page like a choice does.
            if (JumpToChosenButton()) {
                LeaveClickWait(WaitKind::P);
                return;
            }
            event = InputEvent::None;
            break;
        case InputEvent::QuickSave:
            m_files.QuickSave();
            return;
        case InputEvent::QuickLoad:
            // A quick save that cannot be read is said, and the wait goes on.
            event = InputEvent::None;
            LoadQuick();
            if (m_state.State != EngineState::ClickWait) return;
            break;
        case InputEvent::WindowHide:
            if (m_windows.IsShown()) {
                m_state.ChangeState(EngineState::WindowHidden);
                return;
            }
            break;
        case InputEvent::LogBack:
            m_state.ChangeState(EngineState::BackLog);
            return;
        case InputEvent::SkipFast:
            m_mouse.SetArrowCursor();
            SetSkipPattern(1);
            event = InputEvent::Decide;
            break;
        default:
            HeldIsClick(event);
            break;
        }
        if (event == InputEvent::Decide) {
            LeaveClickWait(m_state.CurrentWait);
            return;
        }
        WaitFrame();
        if (!PumpMessages()) return;
    }
}

void CQuiltorEngine::LeaveClickWait(WaitKind ending)
{
    m_mouse.SetArrowCursor();
    m_animations.Refresh(m_shown.GetDraw());
    if (ending == WaitKind::L) NewLine();
    if (ending == WaitKind::P) NewPage();
    m_state.CurrentWait = WaitKind::Choice;
    m_state.ChangeState(EngineState::RunTags);
}

void CQuiltorEngine::TextDisplay()
{
    CInputState& input = CInputState::GetInstance();
    input.Event = InputEvent::None;
    if (GetTextTime() == 0 || m_state.SkipModes[TextMode] == 1 || input.InstantText) input.Event = InputEvent::Decide;
    kivotasuGameKit::CTimer charTimer;

    for (;;) {
        PollInput();
        CheckKey();
        CheckMouse();
        // A right press is a click here too (no menu while text types).
        if (m_frameInput.leftDown || m_frameInput.rightDown) {
            input.Event = InputEvent::Decide;
            input.InstantText = 1;
        }
        if (m_state.State != EngineState::TextDisplay) return;
        HeldIsClick(input.Event);

        if (input.Event == InputEvent::Decide) {
            m_shown.TypeRest();
            m_state.ChangeState(EngineState::RunTags);
            return;
        }
        // At most one character a frame (every frame under a LOCK); time
        // missed is not caught up.
        if (m_shown.IsHeld() || static_cast<std::int64_t>(charTimer.Get()) > GetTextTime()) {
            charTimer.Reset();
            if (!m_shown.TypeCharacter()) {
                m_state.ChangeState(EngineState::RunTags);
                return;
            }
        }
        m_shown.ShowPending();
        WaitFrame();
        if (!PumpMessages()) return;
    }
}

void CQuiltorEngine::TimedWait()
{
    InputEvent& event = CInputState::GetInstance().Event;
    m_engineTimer.Reset();
    event = m_state.SkipModes[TextMode] == 1 ? InputEvent::Decide : InputEvent::None;

    for (;;) {
        PollInput();
        CheckKey();
        CheckMouse();
        if (m_frameInput.leftDown) event = InputEvent::Decide;
        if (m_state.State != EngineState::TimedWait) return;
        if (static_cast<std::int64_t>(m_engineTimer.Get()) >= m_state.WaitTime) event = InputEvent::Decide;
        HeldIsClick(event);
        if (event == InputEvent::Decide) {
            m_state.ChangeState(EngineState::RunTags);
            return;
        }
        m_shown.ShowPending();
        WaitFrame();
        if (!PumpMessages()) return;
    }
}

void CQuiltorEngine::WindowHidden()
{
    InputEvent& event = CInputState::GetInstance().Event;
    m_shown.LiftPage();
    event = InputEvent::None;

    for (;;) {
        PollInput();
        CheckKey();
        CheckMouse();
        if (m_frameInput.leftDown) event = InputEvent::Decide;
        if (m_state.State != EngineState::WindowHidden) return;
        if (event == InputEvent::WindowHide) event = InputEvent::Decide;
        if (event == InputEvent::Decide) {
            m_shown.LayPage();
            std::swap(m_state.State, m_state.PreviousState);
            return;
        }
        m_shown.ShowPending();
        WaitFrame();
        if (!PumpMessages()) return;
    }
}
