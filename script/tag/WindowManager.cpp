#include "script/tag/WindowManager.h"

#include "frame/file/FileWriter.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/Text.h"
#include "script/tag/WindowElement.h"

using kivotasuGameKit::CTextString;
using kivotasuGameKit::RECT;

namespace TAG {

CWindowManager::CWindowManager() : m_current(End()), m_second(End())
{
    ResizeWorkPlane(ScreenWidth(), ScreenHeight());
}

void CWindowManager::ResizeWorkPlane(std::int32_t width, std::int32_t height)
{
    m_work.Release();
    m_work.InnerCreateMemorySurface(width, height, kivotasuGameKit::SurfaceType::ARGB8888, true);
}

void CWindowManager::Reset()
{
    CElementManager::Reset();
    m_current = m_second = End();
    m_saveNeeded = 1;
    m_changed = 0;
    m_shown = 0;
    m_number = 0;
    m_work.Clear();
}

void CWindowManager::SetElement(CTagAttributes& record)
{
    CElementManager::SetElement(record);
    m_current = GetElements().begin();
}

IElement* CWindowManager::NewElement(const CTextString& name)
{
    return new CWindowElement(name);
}

CWindowElement& CWindowManager::Window(Position position)
{
    return static_cast<CWindowElement&>(**position);
}

void CWindowManager::OnFadeWindow(CTagAttributes& record)
{
    Position window = FindNamed(record.GetName(), true);
    record.SetValue(TagAttributeKey::Path, GetPath());
    Window(window).ParseFade(record);
}

void CWindowManager::SetIndex(const CTagAttributes& record)
{
    SetCurrentWindow(record.GetNameNumber());
}

void CWindowManager::SetCurrentWindow(std::int32_t number)
{
    if (number != m_number) m_changed = 1;
    m_number = number;
}

void CWindowManager::ResetIndex()
{
    if ((IsControlTRH2() || IsControlWhiteAlbum()) && m_number != 0) {
        m_number = 0;
        m_changed = 1;
    }
}

CWindowManager::Position CWindowManager::Nth(std::int32_t n)
{
    const std::int64_t ring = std::int64_t(GetElements().size()) + 1;
    const std::int64_t index = ((n % ring) + ring) % ring;
    return std::next(GetElements().begin(), index);
}

void CWindowManager::SelectWindow(std::int32_t n)
{
    m_saveNeeded = 1;
    if (m_text) m_text->Invalidate();
    m_current = Nth(n);
}

bool CWindowManager::IsWindowCount(std::int32_t n)
{
    return n == std::distance(GetElements().begin(), m_current);
}

RECT CWindowManager::GetArea()
{
    RECT area{ScreenWidth(), ScreenHeight(), 0, 0};
    for (Position window = GetElements().begin(); window != End(); ++window) {
        const RECT bounds = Window(window).GetBounds();
        if (bounds.left >= bounds.right || bounds.top >= bounds.bottom) continue;
        area.left = std::min(area.left, bounds.left);
        area.top = std::min(area.top, bounds.top);
        area.right = std::max(area.right, bounds.right);
        area.bottom = std::max(area.bottom, bounds.bottom);
    }
    return area;
}

bool CWindowManager::Hide(Plane& target)
{
    if (!m_shown) return false;
    m_shown = 0;
    const RECT area = GetArea();
    if (area.left < area.right && area.top < area.bottom) target.CopyBlt(&m_work, area.left, area.top, nullptr, &area);
    return true;
}

bool CWindowManager::Draw(Plane& target, std::uint32_t colour)
{
    if (m_shown) {
        switch (GetControl()) {
        case ControlStyle::WhiteAlbum:
        case ControlStyle::Trh2:
            if (!m_changed) return false;
            break;
        case ControlStyle::Trh:
        case ControlStyle::Trh3:
            break;
        default:
            return false;
        }
        if (m_text) m_text->HideWindow(target);
        Hide(target);
    }
    m_changed = 0;
    // The windows change what lies under the hidden text window: it saves
    // that anew when shown, or hiding it later would bring back old frames.
    if (m_text && !m_text->IsShown()) m_text->Invalidate();
    if (IsControlWhiteAlbum()) m_current = Nth(m_number);
    if (IsControlTRH2()) m_second = Nth(m_number);
    m_shown = 1;
    if (m_saveNeeded) {
        m_saveNeeded = 0;
        m_work.CopyBlt(&target, 0, 0);
    }
    if (m_current == End()) return false;
    Window(m_current).DrawWindow(target, colour);
    switch (GetControl()) {
    case ControlStyle::WhiteAlbum:
        if (m_current == Nth(1) && m_text) m_text->DrawName(target);
        break;
    case ControlStyle::Trh2:
        if (m_second != End() && m_second != GetElements().begin()) {
            Window(m_second).DrawWindow(target, colour);
            if (m_text) m_text->DrawName(target);
        }
        break;
    case ControlStyle::Trh:
    case ControlStyle::Trh3:
        if (m_text) m_text->DrawName(target);
        break;
    default:
        break;
    }
    return true;
}

void CWindowManager::WriteAll(kivotasuGameKit::CTextFileWriter& writer)
{
    WriteDefault(writer, "DEFAULTWINDOW");
    for (auto& window : GetElements()) window->Write(writer);
    CTextString begin("[BEGINWINDOW");
    begin.AppendAttribute("NAME", m_number);
    begin += CTextString("]\n");
    writer.Write(begin);
}

} // namespace TAG
