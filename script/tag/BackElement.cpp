#include "script/tag/BackElement.h"

#include "frame/file/FileWriter.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

namespace TAG {

void CBackElement::Parse(CTagAttributes& record)
{
    m_picture.SetVisible(true);
    m_picture.Parse(record);
}

void CBackManager::Reset()
{
    CElementManager::Reset();
    m_color = 0;
}

void CBackManager::SetElement(CTagAttributes& record)
{
    std::int32_t color;
    if (record.GetColor(color)) {
        m_color = std::uint32_t(color);
        RemoveAll();
    }
    if (GetElements().empty()) GetElements().emplace_back(new CBackElement);
    record.SetValue(TagAttributeKey::Path, GetPath());
    GetElements().front()->Parse(record);
}

void CBackManager::DrawAll(Plane& target)
{
    target.SetFillColor(0xFF000000 | m_color);
    DIB::CDIB32Ex* picture = GetFirstPicture();
    if (!picture || !picture->CoversWhole(target)) target.Clear();
    if (picture) picture->Draw(target);
}

void CBackManager::WriteAll(kivotasuGameKit::CTextFileWriter& writer)
{
    WriteDefault(writer, "DEFAULTBACK");
    CTextString line;
    line.AppendFormat("[BACK COLOR=\"#%06X\"", unsigned(m_color));
    writer.Write(line);
    if (GetElements().empty())
        writer.Write(CTextString("]\n"));
    else
        GetElements().front()->Write(writer);
}

} // namespace TAG
