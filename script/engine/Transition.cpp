#include "script/engine/QuiltorEngine.h"

#include "script/engine/GlobalSettings.h"
#include "script/engine/InputState.h"

namespace {

constexpr std::size_t GraphicMode = 1;

// The random kinds pick one of four neighbours anew for each transition.
EffectKind Resolve(EffectKind kind, kivotasuGameKit::CMersenneTwister& random)
{
    auto pick = [&](EffectKind first) {
        return static_cast<EffectKind>(static_cast<std::uint32_t>(first) + (random.Get() & 3));
    };
    switch (kind) {
    case EffectKind::Random: return pick(EffectKind::Left);
    case EffectKind::BlindRandom: return pick(EffectKind::BlindLeft);
    case EffectKind::StretchRandom: return pick(EffectKind::StretchLeft);
    default: return kind;
    }
}

} // namespace

// The frame loop of a transition over the EFFECT time. The wipes that draw
// each step come with the transition wipes; until then the old frame stays
// until the time is over and the new one is shown at once.
void CQuiltorEngine::Transition()
{
    InputEvent& event = CInputState::GetInstance().Event;
    event = m_state.SkipModes[GraphicMode] == 1 ? InputEvent::Decide : InputEvent::None;
    const EffectKind kind = Resolve(m_state.PendingEffect, m_random);
    if (kind == EffectKind::None) event = InputEvent::Decide;
    std::int64_t time = GetEffectTime();
    switch (kind) {
    case EffectKind::Mosaic:
    case EffectKind::CutIn:
    case EffectKind::Wave:
    case EffectKind::StretchLeft:
    case EffectKind::StretchRight:
    case EffectKind::StretchTop:
    case EffectKind::StretchBottom:
    case EffectKind::BlackBlind:
        time *= 2;
        break;
    default:
        break;
    }
    m_engineTimer.Reset();

    for (;;) {
        PollInput();
        CheckKey();
        CheckMouse();
        if (m_frameInput.leftDown) event = InputEvent::Decide;
        if (m_state.State != EngineState::Transition) return;
        if (static_cast<std::int64_t>(m_engineTimer.Get()) >= time) event = InputEvent::Decide;
        if (event == InputEvent::DecideAuto) event = InputEvent::Decide;
        if (event == InputEvent::Decide) {
            GetBackPlane().Clear();
            Present();
            m_state.ChangeState(EngineState::RunTags);
            return;
        }
        PresentBack();
        WaitFrame();
        if (!PumpMessages()) return;
    }
}
