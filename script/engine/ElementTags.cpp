#include "script/engine/QuiltorEngine.h"

#include "frame/EScript.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/ScriptError.h"

using kivotasuGameKit::CTextString;

namespace {

// The tag's own EFFECT, else the default of its family (or of DEFAULTLOCK).
EffectChoice TagEffect(const CTagAttributes& record, EffectChoice effect)
{
    effect.Parse(record);
    return effect;
}

} // namespace

bool CQuiltorEngine::RefusedInVisual()
{
    if (!m_visuals.IsShowing()) return false;
    CScriptError::GetInstance().Report("VISUALタグの効果範囲内では、このタグは無効になります。");
    return true;
}

void CQuiltorEngine::StartTransitionHidden()
{
    const bool erase = m_text.GetTextEraseFlag() != 0;
    if (!erase) m_lock.Lock();
    HideText();
    HideWindows();
    if (!erase) m_lock.Unlock();
    if (!m_lock.IsLocked()) m_state.ChangeState(EngineState::Transition);
}

void CQuiltorEngine::StartTransitionShown()
{
    if (!m_text.GetTextEraseFlag()) {
        TAG::CLockScope lock(m_lock);
        ShowWindows();
        ShowText();
    }
    if (!m_lock.IsLocked()) m_state.ChangeState(EngineState::Transition);
}

// The transition may run tags later (a PASTE's, before the next text): a
// picture it cannot have is said at the tag that named it.
void CQuiltorEngine::SetTransition(const EffectChoice& effect)
{
    m_state.SetEffect(effect);
    if (effect.kind == EffectKind::Named) m_effectPlace = CScriptError::GetInstance().Here();
}

void CQuiltorEngine::ApplyElementTag(CTagAttributes& record, TAG::CElementManager& manager)
{
    StartTransitionHidden();
    SetTransition(TagEffect(record, manager.GetEffect()));
    manager.SetElement(record);
    if (!m_lock.IsLocked()) Redraw();
    StartTransitionShown();
}

void CQuiltorEngine::FinishElementChange(CTagAttributes& record, TAG::CElementManager& manager)
{
    SetTransition(TagEffect(record, manager.GetEffect()));
    StartTransitionHidden();
    if (!m_lock.IsLocked()) Redraw();
    StartTransitionShown();
}

void CQuiltorEngine::OnEndElementTag(CTagAttributes& record, TAG::CElementManager& manager)
{
    manager.RemoveElement(record);
    FinishElementChange(record, manager);
}

void CQuiltorEngine::OnEndAllElementsTag(CTagAttributes& record, TAG::CElementManager& manager)
{
    manager.RemoveAll();
    FinishElementChange(record, manager);
}

void CQuiltorEngine::OnHideElementTag(CTagAttributes& record, TAG::CElementManager& manager)
{
    manager.HideElement(record);
    FinishElementChange(record, manager);
}

// Under a LOCK the back plane still shows the screen from before it: a BODY
// line is drawn over the layers as the UNLOCK will compose them. A load
// rebuilds every picture under a LOCK, so it paints the line over the same
// pixels as play did.
void CQuiltorEngine::OnPaintTag(CTagAttributes& record)
{
    if (!m_lock.IsLocked() || record.GetBody().IsEmpty()) {
        ApplyElementTag(record, m_paints);
        return;
    }
    Plane backdrop;
    if (backdrop.InnerCreateMemorySurface(ScreenWidth(), ScreenHeight(), kivotasuGameKit::SurfaceType::ARGB8888, false) == 0) {
        backdrop.SetFillColor(0xFF000000);
        backdrop.Clear();
        ComposeLayers(backdrop);
        m_paints.SetBackdrop(&backdrop);
    }
    struct Restore {
        TAG::CPaintManager& paints;
        ~Restore() { paints.SetBackdrop(nullptr); }
    } restore{m_paints};
    ApplyElementTag(record, m_paints);
}

// What the tags before the LOCK set up and the window lacks is held with the
// rest: a transition they left pending (a PASTE's) and the buttons not yet
// shown come with the UNLOCK's composition, past any wait between.
void CQuiltorEngine::OnLockTag()
{
    if (m_text.GetTextEraseFlag()) {
        HideText();
        HideWindows();
    }
    if (m_state.State == EngineState::Transition) {
        m_state.ChangeState(EngineState::RunTags);
        m_screenUnshown = true;
    }
    m_buttons.HoldBackUnshown();
    m_lock.Lock();
}

void CQuiltorEngine::OnUnlockTag(const CTagAttributes& record)
{
    if (m_lock.Unlock() != 0 || m_lock.IsLocked()) return;
    SetTransition(TagEffect(record, m_lock.GetEffect()));
    Redraw();
    m_state.ChangeState(EngineState::Transition);
}

// The cut goes into the current button inside BEGINBUTTON, else into the
// first picture of that NAME among windows, paintings, buttons, animations
// and symbols; a painted picture is shown again at once.
void CQuiltorEngine::OnPasteTag(CTagAttributes& record)
{
    DIB::CDIB32Ex* cut = m_cuts.GetFirstPicture();
    if (!cut) throw EScript(CTextString("CUTで切り取っていないのにPASTEで張り付けようとしました。"));
    DIB::CDIB32Ex* target = m_buttons.IsInside() ? m_buttons.GetFirstPicture() : nullptr;
    bool painted = false;
    const CTextString& name = record.GetName();
    if (!target && !name.IsEmpty()) {
        target = m_windows.GetPicture(name);
        if (!target) painted = (target = m_paints.GetPicture(name)) != nullptr;
        if (!target) target = m_buttons.GetPicture(name);
        if (!target) target = m_animations.GetPicture(name);
        if (!target) target = m_text.GetSymbolPicture(name);
    }
    if (!target) return;
    cut->Paste(*target, record);
    if (painted) FinishElementChange(record, m_paints);
}

// A function button is part of the scene from its ENDBUTTON on: drawn under
// the windows and the text as the composition draws it, and kept in what
// they saved of the screen, so hiding them later leaves it there. It reaches
// the window, and answers, with what the tags around it set up (one without
// a picture too); under a LOCK the UNLOCK composes it.
void CQuiltorEngine::OnEndButtonTag()
{
    DIB::CDIB32Ex* off = m_buttons.End();
    if (m_select.IsInside()) {
        m_select.MarkHasItems();
        return;
    }
    if (m_lock.IsLocked()) return;
    m_screenUnshown = true;
    if (!off) {
        m_buttons.MarkFunctionButtonsDrawn();
        return;
    }
    const bool windowsShown = m_windows.IsShown(), textShown = m_text.IsShown();
    TAG::CLockScope unseen(m_lock);
    HideText();
    HideWindows();
    off->Draw(m_screen);
    m_buttons.MarkFunctionButtonsDrawn();
    m_windows.Invalidate();
    m_text.Invalidate();
    if (windowsShown) ShowWindows();
    if (textShown) ShowText();
}
