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

// An EFFECT that names a picture draws it keyed onto the screen plane. A
// picture that cannot be had, for whatever reason, turns the transition into
// a blend: it never ends the game, but the author hears of it, as a name
// misspelt ("FADE") lands here too.
bool CQuiltorEngine::DrawEffectPicture(const CTextString& name)
{
    CTextString why;
    try {
        // Interrupted, the player is closing: no transition is seen.
        return RanWhole([&] {
            Plane& picture = CDibInfoCache::GetInstance().Get(name)->GetPlane();
            picture.UpdateColorKey();
            m_screen.KeyCopyBlt(&picture, 0, 0);
        });
    } catch (const EScript& error) {
        why = error.GetSaid();
    } catch (const kivotasuGameKit::KTL::CException&) {
    } catch (const std::exception&) { // allocation failures and the rest
    }
    kivotasuGameKit::ErrorLog.Out("CQuiltorEngine::DrawEffectPictureで効果の絵%sを読めない", name.c_str());
    CScriptError::GetInstance().Warn("EFFECT『" + name + "』は効果の名前でなく、絵としても使えないので、BLENDで切り替えます。" +
                                         CTextString(UpperCaseHint(EffectNames, name.GetStr())) + why,
                                     m_effectPlace);
    return false;
}

// The frame loop of a transition over the EFFECT time (twice that for the
// kinds that run in two halves).
void CQuiltorEngine::Transition()
{
    InputEvent& event = CInputState::GetInstance().Event;
    event = m_state.SkipModes[GraphicMode] == 1 ? InputEvent::Decide : InputEvent::None;
    EffectKind kind = Resolve(m_state.PendingEffect, m_random);
    if (kind == EffectKind::None) event = InputEvent::Decide;
    if (kind == EffectKind::Named && !DrawEffectPicture(m_state.PendingEffectText)) kind = EffectKind::Blend;
    CTransitionFrames frames(kind, GetBackPlane(), m_screen, m_random);
    const std::int64_t time = frames.Duration(GetEffectTime());
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
            GetBackPlane().Clear();
            Present();
            m_state.ChangeState(EngineState::RunTags);
            return;
        }
        // Frames the timer catches up within a step of the effect show nothing new.
        if (frames.Draw(elapsed, time)) PresentBack();
        WaitFrame();
        if (!PumpMessages()) return;
    }
}
