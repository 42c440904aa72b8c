#include "script/engine/QuiltorEngine.h"

#include "script/engine/InputState.h"
#include "script/engine/KeyCodes.h"
#include "script/lang/ScriptError.h"

// The frame loop of the choice wait: the buttons follow the mouse and the
// arrow keys until one is chosen; a function button's jump ends the choice too.
void CQuiltorEngine::ChoiceWait()
{
    InputEvent& event = CInputState::GetInstance().Event;
    event = InputEvent::None;
    // As a text under a LOCK does, the choice shows its page; the function
    // buttons the window shows are there already.
    if (m_lock.IsLocked()) ShowPage();
    m_buttons.DrawChoiceButtons(GetBackPlane());
    PresentBack();

    for (;;) {
        PollInput();
        CheckKey();
        if (m_keyInput.IsKeyPush(KeyCode::PageUp)) event = InputEvent::LogBack;
        CheckMouse();
        m_buttons.Update(GetDraw(), m_screen, m_frameInput, m_keyInput);
        if (m_state.State != EngineState::ChoiceWait) return;
        switch (event) {
        case InputEvent::GameEnd:
            PostClose();
            return;
        case InputEvent::WindowHide:
            if (m_select.HasTextItems()) {
                m_state.ChangeState(EngineState::WindowHidden);
                return;
            }
            break;
        case InputEvent::LogBack:
            m_state.ChangeState(EngineState::BackLog);
            return;
        // A quick save or load button works in the other waits only: said, as
        // the click otherwise leaves no trace.
        case InputEvent::QuickSave:
        case InputEvent::QuickLoad: {
            CScriptError& errors = CScriptError::GetInstance();
            errors.Warn(event == InputEvent::QuickSave ? "選択肢が開いている間は、クイックセーブしません。"
                                                       : "選択肢が開いている間は、クイックロードしません。",
                        errors.Here());
            event = InputEvent::None;
            break;
        }
        case InputEvent::Select: {
            if (!JumpToChosenButton()) {
                event = InputEvent::None;
                break;
            }
            m_select.Reset();
            // The buttons stood on the back plane alone: they leave with the
            // choice, whether or not a later wait presents the whole screen
            // (under a LOCK, from their own areas alone: the rest waits for
            // the UNLOCK).
            if (m_lock.IsLocked()) {
                m_buttons.EraseChoiceButtons(GetDraw(), m_screen);
                PresentBack();
            } else {
                Present();
            }
            m_buttons.EndSelect();
            NewPage();
            m_state.ChangeState(EngineState::RunTags);
            return;
        }
        default:
            break;
        }
        WaitFrame();
        if (!PumpMessages()) return;
    }
}

bool CQuiltorEngine::JumpToChosenButton()
{
    CTagAttributes& record = CTagAttributes::GetCurrent();
    m_buttons.ParseCurrentTarget(record);
    return RanWhole([&] { m_reader.Jump(record); });
}
