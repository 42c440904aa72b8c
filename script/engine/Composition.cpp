#include "script/engine/QuiltorEngine.h"

#include "script/engine/GlobalSettings.h"

void CQuiltorEngine::Redraw()
{
    ComposeLayers(m_screen);
    m_buttons.MarkFunctionButtonsDrawn();
    m_windows.Invalidate();
    m_text.Invalidate();
}

void CQuiltorEngine::ComposeLayers(Plane& target)
{
    if (m_visuals.IsShowing()) {
        if (!m_visuals.GetFirstPicture()->CoversWhole(target)) target.Clear();
        m_visuals.DrawAll(target);
    } else {
        // The backs fill the screen themselves.
        m_backs.DrawAll(target);
        m_acts.DrawAll(target);
        m_paints.DrawAll(target);
    }
    m_buttons.DrawAll(target);
}

void CQuiltorEngine::ShowWindows()
{
    if (!m_windows.Draw(m_screen, GetWindowRGB())) return;
    m_buttons.DrawFunctionButtons(m_screen);
    if (!HeldBack()) m_windows.CopyWindowArea(m_screen);
}

void CQuiltorEngine::HideWindows()
{
    if (m_windows.Hide(m_screen) && !HeldBack()) m_windows.CopyWindowArea(m_screen);
}

void CQuiltorEngine::ShowText()
{
    if (m_text.ShowWindow(m_screen) == 0 && !HeldBack()) m_text.CopyTextArea(GetDraw(), m_screen);
}

void CQuiltorEngine::HideText()
{
    if (m_text.HideWindow(m_screen) == 0 && !HeldBack()) m_text.CopyTextArea(GetDraw(), m_screen);
}

bool CQuiltorEngine::HeldBack()
{
    if (!m_lock.IsLocked()) return false;
    m_screenUnshown = true;
    return true;
}

void CQuiltorEngine::ShowPage()
{
    m_windows.CopyWindowArea(m_screen);
    m_text.CopyTextArea(GetDraw(), m_screen);
}

void CQuiltorEngine::ShowRelaidPage()
{
    if (m_lock.IsLocked()) ShowPage();
    else Present();
}

void CQuiltorEngine::LiftPage()
{
    {
        TAG::CLockScope unseen(m_lock);
        HideText();
        HideWindows();
    }
    ShowPage();
}

void CQuiltorEngine::LayPage()
{
    {
        TAG::CLockScope unseen(m_lock);
        ShowWindows();
        ShowText();
    }
    ShowPage();
}
