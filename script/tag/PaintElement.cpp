#include "script/tag/PaintElement.h"

#include <algorithm>
#include <cstdint>

#include "frame/file/FileWriter.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/HiddenLine.h"
#include "script/tag/Text.h"

using kivotasuGameKit::CTextString;

namespace TAG {

CPaintElement::CPaintElement(const CTextString& name, CText* text) : m_picture(name), m_text(text) {}

void CPaintElement::Parse(CTagAttributes& record)
{
    DrawBody(record);
    m_picture.SetVisible(true);
    m_picture.Parse(record);
}

void CPaintElement::DrawBody(CTagAttributes& record)
{
    const CTextString& body = record.GetBody();
    if (body.IsEmpty() || !m_text) return;
    // The cell sizes are the script's: held within [0, int max] so that
    // neither the size nor the place below overflows.
    const auto extent = [](std::int64_t pixels) { return std::int32_t(std::clamp<std::int64_t>(pixels, 0, INT32_MAX)); };
    const kivotasuGameKit::SIZE size{extent(std::int64_t(body.GetLength()) * m_text->GetCharWidth() / 2),
                                     extent(m_text->GetCharHeight())};
    kivotasuGameKit::POINT at{(ScreenWidth() - size.cx) / 2, ScreenHeight() - size.cy};
    m_picture.Place(record, at, size);
    m_picture.CaptureScreenArea(DIB::PlacedRect(at, size));
    m_text->DrawTextAt(m_picture, body.GetStr(), 0, 0, 640, 1);
}

void CPaintElement::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    writer.Write(CTextString("[PAINT"));
    m_picture.Write(writer);
    WriteHidden(writer, "HIDEPAINT", m_picture);
}

IElement* CPaintManager::NewElement(const CTextString& name)
{
    return new CPaintElement(name, m_text);
}

void CPaintManager::WriteAll(kivotasuGameKit::CTextFileWriter& writer)
{
    WriteDefault(writer, "DEFAULTPAINT");
    for (auto& element : GetElements()) {
        const DIB::CDIB32Ex* picture = element->GetPicture();
        if (!picture->GetFile().IsEmpty() || !picture->GetCuts().empty()) element->Write(writer);
    }
}

} // namespace TAG
