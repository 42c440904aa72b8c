#include "script/engine/QuiltorEngine.h"

#include "frame/Window.h"
#include "frame/WindowApp.h"
#include "script/engine/InputState.h"
#include "script/engine/KeyCodes.h"

namespace {

constexpr std::size_t InputMode = 2;

} // namespace

void CQuiltorEngine::PollInput()
{
    m_keyInput.Input();
    m_mouse.Animate();
    m_frameInput.moved = m_mouse.HasInput();
    m_frameInput.x = m_mouse.GetLastPos().x;
    m_frameInput.y = m_mouse.GetLastPos().y;
    m_frameInput.leftDown = m_mouse.TakeLeftDown();
    m_frameInput.rightDown = m_mouse.TakeRightDown();
    m_frameInput.leftUp = m_mouse.TakeLeftUp();
    m_frameInput.leftHeld = m_mouse.IsLeftHeld();
    m_frameInput.wheel = m_mouse.TakeWheel();
}

void CQuiltorEngine::CheckMouse()
{
    InputEvent& event = CInputState::GetInstance().Event;
    const std::uint32_t inputMode = m_state.SkipModes[InputMode];
    kivotasuGameKit::CWindow* window = m_app ? m_app->GetWindow() : nullptr;
    if (m_frameInput.moved && window && !window->IsShowCursor()) {
        m_animations.Refresh(m_shown.GetDraw());
        window->ShowCursor(true);
    }
    if (inputMode == 3 && m_frameInput.leftDown) SetSkipPattern(0);
    if (inputMode == 1 && m_frameInput.leftHeld) event = InputEvent::Decide;
    if (m_frameInput.rightDown) {
        const EngineState state = m_state.State;
        if (m_state.PopupActive) {
            m_state.PopupActive = 0;
        } else if (state == EngineState::TextDisplay || state == EngineState::BackLog ||
                   state == EngineState::Transition) {
            event = InputEvent::Decide;
        } else {
            m_state.PopupActive = 1;
            PopupMenu();
            PumpMessages();
            if (m_state.SkipModes[InputMode] == 3) event = InputEvent::DecideAuto;
        }
    }
    if (m_state.PopupActive && m_frameInput.leftDown) m_state.PopupActive = 0;
    if (m_frameInput.wheel < 0) event = InputEvent::LogForward;
    if (m_frameInput.wheel > 0) event = InputEvent::LogBack;
}

void CQuiltorEngine::CheckKey()
{
    using namespace KeyCode;
    InputEvent& event = CInputState::GetInstance().Event;
    auto pushed = [&](int key) { return m_keyInput.IsKeyPush(key); };
    auto held = [&](int key) { return m_keyInput.IsKeyPress(key); };

    for (int key = 0; key < 256; ++key) {
        if (!pushed(key)) continue;
        if (m_app) m_app->GetWindow()->ShowCursor(false);
        if (m_state.SkipModes[InputMode] == 3) SetSkipPattern(0);
        break;
    }
    // With Alt held, Enter is the mode switch and nothing else: neither an
    // advance here nor, later in the frame, the buttons' choice. Alt+F4 is
    // the window's close, which the window system makes of it.
    const bool alt = held(LeftAlt) || held(RightAlt);
    if (alt && (pushed(Enter) || pushed(PadEnter))) {
        m_shown.ChangeDisplayMode(!m_shown.IsFullScreen());
        m_keyInput.HoldCurrent();
        return;
    }
    if (pushed(Escape)) m_state.PopupActive = 0;
    if (pushed(Apps)) {
        m_state.PopupActive = 1;
        PopupMenu();
        PumpMessages();
        if (m_state.SkipModes[InputMode] == 3) event = InputEvent::DecideAuto;
        if (m_state.SkipModes[InputMode] == 0) event = InputEvent::None;
    }
    if (pushed(Space)) event = InputEvent::WindowHide;
    if (held(LeftCtrl) || held(RightCtrl)) event = InputEvent::DecideAuto;
    const bool enterHeld = !alt && (held(Enter) || held(PadEnter));
    if (enterHeld && (pushed(Enter) || pushed(PadEnter) || m_state.SkipModes[InputMode] == 1)) {
        event = InputEvent::Decide;
    }
}
