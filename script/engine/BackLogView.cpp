#include "script/engine/QuiltorEngine.h"

#include "script/engine/InputState.h"
#include "script/engine/KeyCodes.h"

// The frame loop of the back-log view: the log's pages over what the window
// shows without the text window, until a click gives it back.
void CQuiltorEngine::BackLog()
{
    using namespace KeyCode;
    InputEvent& event = CInputState::GetInstance().Event;
    m_shown.OpenBackLog();
    // The wheel or key that opened the view would also scroll it a line up,
    // hiding the newest line it opened on.
    event = InputEvent::None;

    for (;;) {
        PollInput();
        CheckKey();
        if (m_keyInput.IsKeyPush(Left)) event = InputEvent::LogHead;
        if (m_keyInput.IsKeyPush(Right)) event = InputEvent::LogTail;
        if (m_keyInput.IsKeyPress(Up)) event = InputEvent::LogBack;
        if (m_keyInput.IsKeyPress(Down)) event = InputEvent::LogForward;
        const bool shift = m_keyInput.IsKeyPress(LeftShift) || m_keyInput.IsKeyPress(RightShift);
        const bool pageUp = m_keyInput.IsKeyPush(PageUp) || (m_keyInput.IsKeyPush(Space) && shift);
        const bool pageDown = m_keyInput.IsKeyPush(PageDown) || (m_keyInput.IsKeyPush(Space) && !shift);
        if (pageUp) m_log.ScrollUp(0);
        if (pageDown) m_log.ScrollDown(0);
        if (pageUp || pageDown) m_shown.PresentBack();
        CheckMouse();
        if (m_frameInput.leftDown || m_frameInput.rightDown) event = InputEvent::Decide;
        if (m_state.State != EngineState::BackLog) return;
        if (event == InputEvent::Decide) {
            m_shown.CloseBackLog();
            std::swap(m_state.State, m_state.PreviousState);
            return;
        }
        switch (event) {
        case InputEvent::LogHead: m_log.ScrollToTop(); break;
        case InputEvent::LogTail: m_log.ScrollToEnd(); break;
        case InputEvent::LogBack: m_log.ScrollUp(1); break;
        case InputEvent::LogForward: m_log.ScrollDown(1); break;
        default: break;
        }
        if (event == InputEvent::LogHead || event == InputEvent::LogTail || event == InputEvent::LogBack ||
            event == InputEvent::LogForward)
            m_shown.PresentBack();
        event = InputEvent::None;
        WaitFrame();
        if (!PumpMessages()) return;
    }
}
