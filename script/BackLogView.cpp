#include "script/QuiltorEngine.h"

#include "script/InputState.h"
#include "script/KeyCodes.h"

// The frame loop of the back-log view. The log's pages (drawing, paging,
// scrolling, restoring the screen) come with the back-log; until then the
// view shows the screen without the text window until a click.
void CQuiltorEngine::BackLog()
{
    using namespace KeyCode;
    InputEvent& event = CInputState::GetInstance().Event;
    {
        TAG::CLockScope lock(m_lock);
        HideText();
        HideWindows();
    }
    Present();

    for (;;) {
        PollInput();
        CheckKey();
        if (m_keyInput.IsKeyPush(Left)) event = InputEvent::LogHead;
        if (m_keyInput.IsKeyPush(Right)) event = InputEvent::LogTail;
        if (m_keyInput.IsKeyPress(Up)) event = InputEvent::LogBack;
        if (m_keyInput.IsKeyPress(Down)) event = InputEvent::LogForward;
        CheckMouse();
        if (m_frameInput.leftDown || m_frameInput.rightDown) event = InputEvent::Decide;
        if (m_state.State != EngineState::BackLog) return;
        if (event == InputEvent::Decide) {
            ShowWindows();
            ShowText();
            Present();
            std::swap(m_state.State, m_state.PreviousState);
            return;
        }
        event = InputEvent::None;
        WaitFrame();
        if (!PumpMessages()) return;
    }
}
