#include "script/tag/VisualElement.h"

#include "frame/file/FileWriter.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

namespace TAG {

void CVisualElement::Parse(CTagAttributes& record)
{
    m_picture.SetVisible(true);
    m_picture.Parse(record);
}

void CVisualElement::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    writer.Write(CTextString("[VISUAL"));
    m_picture.Write(writer);
}

void CVisualManager::SetElement(CTagAttributes& record)
{
    if (GetElements().empty()) GetElements().emplace_back(new CVisualElement);
    record.SetValue(TagAttributeKey::Path, GetPath());
    GetElements().front()->Parse(record);
}

bool CVisualManager::IsShowing()
{
    const DIB::CDIB32Ex* picture = GetFirstPicture();
    return picture && picture->IsLoaded();
}

void CVisualManager::WriteAll(kivotasuGameKit::CTextFileWriter& writer)
{
    WriteDefault(writer, "DEFAULTVISUAL");
    for (auto& element : GetElements()) element->Write(writer);
}

} // namespace TAG
