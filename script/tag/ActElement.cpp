#include "script/tag/ActElement.h"

#include "frame/file/FileWriter.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/HiddenLine.h"

using kivotasuGameKit::CTextString;

namespace TAG {

CActElement::CActElement(const CTextString& name, bool subfileAllowed)
    : m_picture(name), m_subfileAllowed(subfileAllowed)
{
}

void CActElement::Parse(CTagAttributes& record)
{
    m_picture.SetVisible(true);
    m_picture.Parse(record);
    if (!m_subfileAllowed) return;
    record.SetValue(TagAttributeKey::File, record.GetValue(TagAttributeKey::SubFile));
    m_subPicture.reset(new DIB::CDIB32Ex);
    m_subPicture->SetVisible(true);
    m_subPicture->Parse(record);
}

void CActElement::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    CTextString line("[ACT");
    if (m_subfileAllowed) AppendSavedAttribute(line, "SUBFILE", m_subPicture ? m_subPicture->GetFile() : CTextString());
    writer.Write(line);
    m_picture.Write(writer);
    WriteHidden(writer, "HIDEACT", m_picture);
}

void CActElement::Hide()
{
    m_picture.SetVisible(false);
    if (m_subfileAllowed && m_subPicture) m_subPicture->SetVisible(false);
}

void CActElement::Show()
{
    m_picture.SetVisible(true);
    if (m_subfileAllowed && m_subPicture) m_subPicture->SetVisible(true);
}

IElement* CActManager::NewElement(const CTextString& name)
{
    return new CActElement(name, IsControlTRH2());
}

void CActManager::WriteAll(kivotasuGameKit::CTextFileWriter& writer)
{
    WriteDefault(writer, "DEFAULTACT");
    for (auto& element : GetElements()) element->Write(writer);
}

} // namespace TAG
