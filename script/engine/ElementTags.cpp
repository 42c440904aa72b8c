#include "script/engine/QuiltorEngine.h"

#include "frame/EScript.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/ScriptError.h"

using kivotasuGameKit::CTextString;

namespace {

// The tag's own EFFECT, else the default of its family.
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

void CQuiltorEngine::ApplyElementTag(CTagAttributes& record, TAG::CElementManager& manager)
{
    m_shown.ChangeScene(TagEffect(record, manager.GetEffect()), [&] { manager.SetElement(record); });
}

void CQuiltorEngine::FinishElementChange(CTagAttributes& record, TAG::CElementManager& manager)
{
    m_shown.ChangeScene(TagEffect(record, manager.GetEffect()), [] {});
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
    if (!m_shown.IsHeld() || record.GetBody().IsEmpty()) {
        ApplyElementTag(record, m_paints);
        return;
    }
    Plane backdrop;
    if (backdrop.InnerCreateMemorySurface(ScreenWidth(), ScreenHeight(), kivotasuGameKit::SurfaceType::ARGB8888, false) == 0) {
        backdrop.SetFillColor(0xFF000000);
        backdrop.Clear();
        m_shown.ComposeLayers(backdrop);
        m_paints.SetBackdrop(&backdrop);
    }
    struct Restore {
        TAG::CPaintManager& paints;
        ~Restore() { paints.SetBackdrop(nullptr); }
    } restore{m_paints};
    ApplyElementTag(record, m_paints);
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

// A function button is part of the scene from its ENDBUTTON on; it reaches
// the window, and answers, with what the tags around it set up (one without
// a picture too).
void CQuiltorEngine::OnEndButtonTag()
{
    DIB::CDIB32Ex* off = m_buttons.End();
    if (m_select.IsInside()) {
        m_select.MarkHasItems();
        return;
    }
    m_shown.ShowFunctionButton(off);
}
