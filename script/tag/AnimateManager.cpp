#include "script/tag/AnimateManager.h"

#include <algorithm>

#include "draw/FastDraw.h"
#include "frame/file/FileWriter.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;
using kivotasuGameKit::RECT;

namespace TAG {

void CAnimateElement::Parse(CTagAttributes& record)
{
    m_picture.Parse(record);
    record.GetTime(m_time);
}

void CAnimateElement::AddFrame(const RECT& frame)
{
    m_frames.push_back(frame);
    m_cursor = 0;
}

void CAnimateElement::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    CTextString head("[BEGINANIMATE");
    head.AppendAttribute("TIME", m_time);
    writer.Write(head);
    m_picture.Write(writer);
    for (const RECT& frame : m_frames) {
        CTextString line("[ANIMATE");
        AppendSavedAttribute(line, "NAME", m_picture.GetName());
        line.AppendAttribute("X", frame.left);
        line.AppendAttribute("Y", frame.top);
        line.AppendAttribute("WIDTH", int(std::int64_t(frame.right) - frame.left));
        line.AppendAttribute("HEIGHT", int(std::int64_t(frame.bottom) - frame.top));
        line += CTextString("]\n");
        writer.Write(line);
    }
}

void CAnimateManager::Reset()
{
    CElementManager::Reset();
    m_current = End();
    m_shown = 1;
    m_position = {0, 0};
}

IElement* CAnimateManager::NewElement(const CTextString& name)
{
    return new CAnimateElement(name);
}

void CAnimateManager::SetElement(CTagAttributes& record)
{
    Position animation = FindNamed(record.GetName(), true);
    RECT frame;
    record.GetPoint(frame);
    static_cast<CAnimateElement&>(**animation).AddFrame(frame);
}

void CAnimateManager::ParseView(const CTagAttributes& record, int waitKind)
{
    std::int32_t view = 1;
    record.GetNumber("VIEW", view);
    m_shown = view > 0 ? 1 : 0;
    static constexpr const char* Names[] = {"C", "L", "P"};
    if (waitKind < 0 || waitKind > 2) return;
    m_current = End();
    for (int kind = waitKind; kind <= 2 && m_current == End(); ++kind) m_current = Find(CTextString(Names[kind]));
    if (m_current == End()) m_shown = 0;
}

CAnimateElement* CAnimateManager::GetCurrent()
{
    return m_current == End() ? nullptr : static_cast<CAnimateElement*>(m_current->get());
}

void CAnimateManager::SetPosition(POINT at)
{
    CAnimateElement* animation = GetCurrent();
    if (!animation) return;
    const DIB::CDIB32Ex& picture = *animation->GetPicture();
    m_position = picture.IsKeywordPlaced() ? at : POINT{picture.GetX(), picture.GetY()};
}

std::uint32_t CAnimateManager::GetTime()
{
    const CAnimateElement* animation = GetCurrent();
    return animation ? std::uint32_t(animation->GetTime()) : 0;
}

RECT CAnimateManager::PlacedFrame(const RECT& frame) const
{
    const POINT size{int(std::clamp<std::int64_t>(std::int64_t(frame.right) - frame.left, 0, INT32_MAX)),
                     int(std::clamp<std::int64_t>(std::int64_t(frame.bottom) - frame.top, 0, INT32_MAX))};
    return DIB::PlacedRect(m_position, {size.x, size.y});
}

void CAnimateManager::Draw(kivotasuGameKit::CFastDraw& draw, Plane& clean)
{
    CAnimateElement* animation = GetCurrent();
    if (!animation || !m_shown || !animation->CurrentFrame()) return;
    const RECT frame = *animation->CurrentFrame();
    Plane& back = draw.m_secondary;
    if (IsControlTRH3())
        back.AddBlt(animation->GetPicture(), m_position.x, m_position.y, nullptr, &frame);
    else
        back.BlendAlphaBlt(animation->GetPicture(), m_position.x, m_position.y, nullptr, &frame);
    const RECT placed = PlacedFrame(frame);
    draw.OnDraw(&placed, true);
    back.CopyBlt(&clean, placed.left, placed.top, nullptr, &placed);
    animation->Step();
}

void CAnimateManager::Refresh(kivotasuGameKit::CFastDraw& draw)
{
    CAnimateElement* animation = GetCurrent();
    if (!animation || !m_shown) {
        m_shown = 1;
        return;
    }
    if (!animation->CurrentFrame()) return;
    const RECT placed = PlacedFrame(*animation->CurrentFrame());
    draw.OnDraw(&placed, true);
}

void CAnimateManager::WriteAll(kivotasuGameKit::CTextFileWriter& writer)
{
    WriteDefault(writer, "DEFAULTANIMATE");
    for (auto& animation : GetElements()) animation->Write(writer);
}

} // namespace TAG
