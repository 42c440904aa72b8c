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
    m_shown.ShowChoice();

    for (;;) {
        PollInput();
        CheckKey();
        if (m_keyInput.IsKeyPush(KeyCode::PageUp)) event = InputEvent::LogBack;
        CheckMouse();
        m_buttons.Update(m_shown.GetDraw(), m_shown.GetScreenPlane(), m_frameInput, m_keyInput);
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
            m_shown.EndChoice();
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
    if (!RanWhole([&] { m_reader.Jump(record); })) return false;
    m_shown.ButtonJumped();
    return true;
}
