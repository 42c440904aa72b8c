#include "script/engine/QuiltorEngine.h"

#include "frame/AppManager.h"
#include "frame/Window.h"
#include "frame/WindowApp.h"
#include "platform/WindowSystem.h"
#include "script/engine/GlobalSettings.h"
#include "script/tag/FontList.h"

void CQuiltorEngine::OnSaveTag(const CTagAttributes& record)
{
    const auto& control = record.GetValue(TagAttributeKey::Control);
    if (!control.IsEmpty()) m_state.AutoSave = ToTagNumber(control.GetStr()) != 0 ? 1 : 0;
    // A save opens with auto-saving off. Run as the start script, where no
    // load prepared the back-log, its first LOG line must take the place of
    // the reset's empty line as it does after a load.
    if (control == CTextString("0")) m_log.ExpectSavedLines();
}

void CQuiltorEngine::OnTitleTag(const CTagAttributes& record)
{
    if (record.GetBody().IsEmpty()) return;
    m_caption = record.GetBody();
    if (!m_app) return;
    platform::Windows().SetCaption(m_app->GetHWnd(), record.GetBody().GetStr());
}

void CQuiltorEngine::OnScreenTag(const CTagAttributes& record)
{
    if (record.GetName().IsEmpty()) return;
    const bool large = record.GetNameNumber() != 0;
    const std::int32_t width = large ? 800 : 640;
    const std::int32_t height = large ? 600 : 480;
    if (ScreenWidth() == width) return;
    SetScreenHeight(height);
    SetScreenWidth(width);
    m_shown.Resize(m_app ? m_app->GetWindow() : nullptr);
}

void CQuiltorEngine::SetFont(std::int32_t n)
{
    if (n == CFontList::GetInstance().GetCurrent()) return;
    m_shown.RelayPage([&] { m_text.SelectFont(n); });
}

void CQuiltorEngine::SelectWindowFrame(std::int32_t n)
{
    if (m_windows.IsWindowCount(n)) return;
    m_shown.RelayPage([&] { m_windows.SelectWindow(n); });
}

void CQuiltorEngine::OnEndSelectTag(CTagAttributes& record)
{
    m_select.End();
    if (!record.GetFile().IsEmpty()) m_reader.Jump(record);
    else m_files.AutoSave();
    m_state.ChangeState(EngineState::ChoiceWait);
}
