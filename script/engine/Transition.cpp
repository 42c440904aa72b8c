#include "script/engine/QuiltorEngine.h"

#include "frame/ErrorLog.h"
#include "script/dib/DibInfoCache.h"
#include "script/engine/GlobalSettings.h"
#include "script/engine/InputState.h"
#include "script/engine/TransitionFrames.h"
#include "script/lang/ScriptError.h"
#include "script/lang/TagTables.h"

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

// An EFFECT that names a picture lays it keyed over the screen plane. A
// picture that cannot be had, for whatever reason, turns the transition into
// a blend: it never ends the game, but the author hears of it, as a name
// misspelt ("FADE") lands here too.
CQuiltorEngine::Plane* CQuiltorEngine::EffectPicture(const CTextString& name)
{
    CTextString why;
    try {
        Plane* picture = nullptr;
        // Interrupted, the player is closing: no transition is seen.
        RanWhole([&] {
            picture = &CDibInfoCache::GetInstance().Get(name)->GetPlane();
            picture->UpdateColorKey();
        });
        return picture;
    } catch (const EScript& error) {
        why = error.GetSaid();
    } catch (const kivotasuGameKit::KTL::CException&) {
    } catch (const std::exception&) { // allocation failures and the rest
    }
    kivotasuGameKit::ErrorLog.Out("CQuiltorEngine::EffectPictureで効果の絵%sを読めない", name.c_str());
    CScriptError::GetInstance().Warn("EFFECT『" + name + "』は効果の名前でなく、絵としても使えないので、BLENDで切り替えます。" +
                                         CTextString(UpperCaseHint(EffectNames, name.GetStr())) + why,
                                     m_shown.EffectPlace());
    return nullptr;
}

// The frame loop of a transition over the EFFECT time (twice that for the
// kinds that run in two halves).
void CQuiltorEngine::Transition()
{
    InputEvent& event = CInputState::GetInstance().Event;
    event = m_state.SkipModes[GraphicMode] == 1 ? InputEvent::Decide : InputEvent::None;
    EffectKind kind = Resolve(m_state.PendingEffect, m_random);
    if (kind == EffectKind::None) event = InputEvent::Decide;
    Plane* picture = kind == EffectKind::Named ? EffectPicture(m_state.PendingEffectText) : nullptr;
    if (kind == EffectKind::Named && !picture) kind = EffectKind::Blend;
    const std::unique_ptr<CTransitionFrames> frames = m_shown.StartTransition(kind, picture, m_random);
    const std::int64_t time = frames->Duration(GetEffectTime());
    m_engineTimer.Reset();

    for (;;) {
        PollInput();
        CheckKey();
        CheckMouse();
        if (m_frameInput.leftDown) event = InputEvent::Decide;
        if (m_state.State != EngineState::Transition) return;
        const std::int64_t elapsed = m_engineTimer.Get();
        if (elapsed >= time) event = InputEvent::Decide;
        if (event == InputEvent::DecideAuto) event = InputEvent::Decide;
        if (event == InputEvent::Decide) {
            m_shown.Present();
            m_state.ChangeState(EngineState::RunTags);
            return;
        }
        // Frames the timer catches up within a step of the effect show nothing new.
        if (frames->Draw(elapsed, time)) m_shown.PresentBack();
        WaitFrame();
        if (!PumpMessages()) return;
    }
}
