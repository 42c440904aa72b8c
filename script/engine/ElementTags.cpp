#include "script/engine/QuiltorEngine.h"

#include "frame/EScript.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/ScriptError.h"

using kivotasuGameKit::CTextString;

namespace {

EffectKind TagEffect(const CTagAttributes& record, const TAG::CElementManager& manager)
{
    EffectKind effect = manager.GetEffect();
    record.GetEffect(effect);
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

void CQuiltorEngine::ApplyElementTag(CTagAttributes& record, TAG::CElementManager& manager)
{
    StartTransitionHidden();
    m_state.SetEffect(record, TagEffect(record, manager));
    manager.SetElement(record);
    if (!m_lock.IsLocked()) Redraw();
    StartTransitionShown();
}

void CQuiltorEngine::FinishElementChange(CTagAttributes& record, TAG::CElementManager& manager)
{
    m_state.SetEffect(record, TagEffect(record, manager));
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

void CQuiltorEngine::OnUnlockTag(const CTagAttributes& record)
{
    if (m_lock.Unlock() != 0 || m_lock.IsLocked()) return;
    EffectKind effect = m_lock.GetEffect();
    record.GetEffect(effect);
    m_state.SetEffect(record, effect);
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

// A function button shows as soon as it is defined, as the redraw after a load
// shows it: drawn where the composition would draw it, and presented unless a
// LOCK holds the screen back.
void CQuiltorEngine::OnEndButtonTag()
{
    m_buttons.End();
    if (m_select.IsInside()) {
        m_select.MarkHasItems();
        return;
    }
    DIB::CDIB32Ex* shown = m_buttons.DrawDefined(m_screen);
    if (!shown || m_lock.IsLocked()) return;
    const kivotasuGameKit::RECT area = shown->GetRect();
    GetBackPlane().CopyBlt(&m_screen, area.left, area.top, nullptr, &area);
    GetDraw().OnDraw(&area);
}
