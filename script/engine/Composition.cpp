#include "script/engine/QuiltorEngine.h"

#include "script/engine/GlobalSettings.h"

void CQuiltorEngine::Redraw()
{
    if (m_visuals.IsShowing()) {
        if (!m_visuals.GetFirstPicture()->CoversWhole(m_screen)) m_screen.Clear();
        m_visuals.DrawAll(m_screen);
    } else {
        // The backs fill the screen themselves.
        m_backs.DrawAll(m_screen);
        m_acts.DrawAll(m_screen);
        m_paints.DrawAll(m_screen);
    }
    m_windows.Invalidate();
    m_text.Invalidate();
    m_buttons.DrawAll(m_screen);
}

void CQuiltorEngine::ShowWindows()
{
    if (!m_windows.Draw(m_screen, GetWindowRGB())) return;
    m_buttons.DrawFunctionButtons(m_screen);
    if (!m_lock.IsLocked()) m_windows.CopyWindowArea(m_screen);
}

void CQuiltorEngine::HideWindows()
{
    if (m_windows.Hide(m_screen) && !m_lock.IsLocked()) m_windows.CopyWindowArea(m_screen);
}

void CQuiltorEngine::ShowText()
{
    if (m_text.ShowWindow(m_screen) == 0 && !m_lock.IsLocked()) m_text.CopyTextArea(GetDraw(), m_screen);
}

void CQuiltorEngine::HideText()
{
    if (m_text.HideWindow(m_screen) == 0 && !m_lock.IsLocked()) m_text.CopyTextArea(GetDraw(), m_screen);
}
