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

    kivotasuGameKit::CFastDraw& draw = GetDraw();
    const bool fullScreen = draw.IsFullScreen();
    if (fullScreen) draw.SetDisplay(false, 0, 0, 0);
    if (m_app) m_app->GetWindow()->SetClientSize(width, height);
    draw.SetDisplay(false, width, height, 0);
    CreateScreenPlane();
    m_windows.ResizeWorkPlane(width, height);
    if (fullScreen) ChangeDisplayMode(true);
    Present();
}

void CQuiltorEngine::RedrawAll()
{
    {
        TAG::CLockScope lock(m_lock);
        HideText();
        HideWindows();
        ShowWindows();
        ShowText();
    }
    ShowRelaidPage();
}

void CQuiltorEngine::SetFont(std::int32_t n)
{
    if (n == CFontList::GetInstance().GetCurrent()) return;
    m_text.SelectFont(n);
    RedrawAll();
}

void CQuiltorEngine::SelectWindowFrame(std::int32_t n)
{
    if (m_windows.IsWindowCount(n)) return;
    {
        TAG::CLockScope lock(m_lock);
        HideText();
        if (m_windows.IsShown()) {
            HideWindows();
            m_windows.SelectWindow(n);
            ShowWindows();
        } else {
            m_windows.SelectWindow(n);
        }
        ShowText();
    }
    ShowRelaidPage();
}

// The back plane is made anew: it gets back what the window showed, whatever
// the state (a view, a transition half run, a scene a LOCK or the next wait
// still holds back).
void CQuiltorEngine::ChangeDisplayMode(bool fullScreen)
{
    kivotasuGameKit::CFastDraw& draw = GetDraw();
    Plane shown;
    shown.CreateMemorySurface(ScreenWidth(), ScreenHeight(), kivotasuGameKit::ARGB8888);
    shown.CopyBlt(&GetBackPlane(), 0, 0);
    draw.BeginChangeDisplay();
    if (fullScreen) {
        for (int bits : {32, 24, 16}) draw.TestDisplayMode(ScreenWidth(), ScreenHeight(), true, bits);
    }
    draw.TestDisplayMode(ScreenWidth(), ScreenHeight(), false, 0);
    draw.EndChangeDisplay();
    GetBackPlane().CopyBlt(&shown, 0, 0);
    PresentBack();
}

void CQuiltorEngine::OnEndSelectTag(CTagAttributes& record)
{
    m_select.End();
    if (!record.GetFile().IsEmpty()) m_reader.Jump(record);
    else m_files.AutoSave();
    m_state.ChangeState(EngineState::ChoiceWait);
}
