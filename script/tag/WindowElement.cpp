#include "script/tag/WindowElement.h"

#include <algorithm>

#include "draw/effect/alpha/HalfShade.h"
#include "frame/file/FileWriter.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;
using kivotasuGameKit::RECT;

namespace TAG {

RECT UnionRect(const RECT& a, const RECT& b)
{
    if (b.left >= b.right || b.top >= b.bottom) return a;
    if (a.left >= a.right || a.top >= a.bottom) return b;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

namespace {

// The area of an ARGB8888 target as the shade plane would leave it: black
// blended with the target at 128, copied back.
void ShadeInPlace(CWindowElement::Plane& target, const RECT& area)
{
    kivotasuGameKit::CSurfaceInfo* info = target.GetSurfaceInfoPtr();
    kivotasuGameKit::CSurfaceLock lock(*info);
    if (!lock) return;
    kivotasuGameKit::Blend::HalfShade(info->GetPixelBytes() + std::int64_t(area.top) * info->GetPitch() + std::int64_t(area.left) * 4,
                                      info->GetPitch(), area.right - area.left, area.bottom - area.top);
}

} // namespace

CWindowElement::CWindowElement(const CTextString& name) : m_frame(name), m_rect{0, 0, ScreenWidth(), ScreenHeight()}
{
}

void CWindowElement::ParseFade(CTagAttributes& record)
{
    if (!record.GetFile().IsEmpty()) {
        m_fade.reset(new DIB::CDIB32Ex(record.GetName()));
        record.SetValue(TagAttributeKey::Erase, CTextString("NONE"));
        m_fade->Parse(record);
    }
    // An absent X or Y keeps the old corner, an absent size counts as 0.
    record.GetPoint(m_rect);
}

RECT CWindowElement::GetWindowRect()
{
    return m_fade ? m_fade->GetRect() : m_rect;
}

RECT CWindowElement::GetBounds()
{
    return UnionRect(GetWindowRect(), m_frame.GetRect());
}

void CWindowElement::DrawWindow(Plane& target, std::uint32_t colour)
{
    if (m_fade) {
        m_fade->ColorizeBehind(target, colour);
    } else {
        // Only the part on the target is darkened.
        int width = 0, height = 0;
        target.GetSize(&width, &height);
        const RECT area{std::max(m_rect.left, 0), std::max(m_rect.top, 0), std::min(m_rect.right, width),
                        std::min(m_rect.bottom, height)};
        const bool onTarget = area.left < area.right && area.top < area.bottom;
        kivotasuGameKit::Draw::CFastPlane shade;
        if (onTarget && target.GetSurfaceType() == kivotasuGameKit::SurfaceType::ARGB8888) {
            ShadeInPlace(target, area);
        } else if (onTarget && shade.InnerCreateMemorySurface(area.right - area.left, area.bottom - area.top,
                                                  kivotasuGameKit::SurfaceType::ARGB8888, false) == 0) {
            shade.SetFillColor(0xFF000000);
            shade.Clear();
            shade.BlendRateBlt(&target, 0, 0, 128, nullptr, &area);
            target.CopyBlt(&shade, area.left, area.top);
        }
    }
    m_frame.Draw(target);
}

void CWindowElement::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    writer.Write(CTextString("[WINDOW"));
    m_frame.Write(writer);
    writer.Write(CTextString("[FADEWINDOW"));
    if (m_fade) {
        m_fade->Write(writer);
        return;
    }
    CTextString rest;
    AppendSavedAttribute(rest, "NAME", m_frame.GetName());
    rest.AppendRectAttributes(m_rect.left, m_rect.top, m_rect.right, m_rect.bottom);
    rest += CTextString("]\n");
    writer.Write(rest);
}

} // namespace TAG
