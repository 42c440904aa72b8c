#include "script/QuiltorEngine.h"

#include "frame/EScript.h"
#include "script/ScriptError.h"

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
    if (!m_visuals.GetFirstPicture()) return false;
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

void CQuiltorEngine::OnUnlockTag(const CTagAttributes& record)
{
    if (m_lock.Unlock() != 0 || m_lock.IsLocked()) return;
    EffectKind effect = m_lock.GetEffect();
    record.GetEffect(effect);
    m_state.SetEffect(record, effect);
    Redraw();
    m_state.ChangeState(EngineState::Transition);
}

// The paste itself and the transition after a paste onto a painted picture
// come with cut and paste; without a cut every PASTE is refused here.
void CQuiltorEngine::OnPasteTag(CTagAttributes&)
{
    if (!m_cuts.GetFirstPicture()) {
        throw EScript(CTextString("CUTで切り取っていないのにPASTEで張り付けようとしました。"));
    }
}
