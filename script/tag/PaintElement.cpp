#include "script/tag/PaintElement.h"

#include <algorithm>
#include <cstdint>

#include "frame/file/FileWriter.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/HiddenLine.h"
#include "script/tag/Text.h"
#include "script/tag/TextRules.h"

using kivotasuGameKit::CTextString;

namespace TAG {

CPaintElement::CPaintElement(const CTextString& name, const CPaintManager& owner) : m_picture(name), m_owner(owner) {}

void CPaintElement::Parse(CTagAttributes& record)
{
    DrawBody(record);
    m_picture.SetVisible(true);
    m_picture.Parse(record);
    // A FILE or a size made new pixels, whatever BODY drew.
    kivotasuGameKit::SIZE size{0, 0};
    record.GetSize(size);
    if (!record.GetFile().IsEmpty() || (size.cx != 0 && size.cy != 0)) m_body.Clear();
}

void CPaintElement::DrawBody(CTagAttributes& record)
{
    const CTextString& body = record.GetBody();
    CText* text = m_owner.GetText();
    if (body.IsEmpty() || !text) return;
    // As wide as the cells the text takes (a digit is drawn full-width, other
    // single bytes not at all). The cell sizes are the script's: held within
    // [0, int max] so that neither the size nor the place below overflows.
    const auto extent = [](std::int64_t pixels) { return std::int32_t(std::clamp<std::int64_t>(pixels, 0, INT32_MAX)); };
    const kivotasuGameKit::SIZE size{extent(std::int64_t(ShownCharacters(body.GetStr())) * text->GetCharWidth()),
                                     extent(text->GetCharHeight())};
    const kivotasuGameKit::POINT start{(ScreenWidth() - size.cx) / 2, ScreenHeight() - size.cy};
    kivotasuGameKit::POINT at = start;
    m_picture.Place(record, at, size);
    const kivotasuGameKit::RECT area = DIB::PlacedRect(at, size);
    if (CElementManager::Plane* backdrop = m_owner.GetBackdrop()) m_picture.CaptureArea(backdrop, area);
    else m_picture.CaptureScreenArea(area);
    // The tag's place is applied again as the picture parses it: from the
    // start, a LEFT or RIGHT moves it onto what it captured, not beyond.
    m_picture.SetDefaultPlace(start);
    text->DrawTextAt(m_picture, body.GetStr(), 0, 0, 640, 1);
    m_body = body;
    m_look.Clear();
    text->AppendPaintLook(m_look);
}

bool CPaintElement::CanRebuild() const
{
    return !m_body.IsEmpty() || !m_picture.GetFile().IsEmpty() || !m_picture.GetCuts().empty();
}

void CPaintElement::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    const bool body = !m_body.IsEmpty();
    CTextString head;
    // The text's own settings follow later in a save and put these back.
    if (body) head = CTextString("[DEFAULTTEXT") + m_look + CTextString("]\n");
    head += CTextString("[PAINT");
    if (body) AppendSavedAttribute(head, "BODY", m_body);
    writer.Write(head);
    m_picture.Write(writer, !body);
    WriteHidden(writer, "HIDEPAINT", m_picture);
}

IElement* CPaintManager::NewElement(const CTextString& name)
{
    return new CPaintElement(name, *this);
}

void CPaintManager::WriteAll(kivotasuGameKit::CTextFileWriter& writer)
{
    WriteDefault(writer, "DEFAULTPAINT");
    for (auto& element : GetElements())
        if (static_cast<const CPaintElement&>(*element).CanRebuild()) element->Write(writer);
}

} // namespace TAG
