#include "script/tag/ElementManager.h"

#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "script/dib/DIB32Ex.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

namespace TAG {

void CElementManager::Reset()
{
    m_control = ControlStyle::None;
    m_path.Clear();
    m_elements.clear();
}

void CElementManager::WriteDefault(kivotasuGameKit::CTextFileWriter& writer, const char* tagName) const
{
    CTextString line("\n[");
    line += CTextString(tagName);
    AppendSavedAttribute(line, "EFFECT", m_effect.Text());
    if (!m_path.IsEmpty()) AppendSavedAttribute(line, "PATH", m_path);
    if (m_control != ControlStyle::None)
        line.AppendAttribute("CONTROL", CTextString(ControlStyleNames[static_cast<std::size_t>(m_control)]));
    line += CTextString("]\n");
    writer.Write(line);
}

void CElementManager::SetElement(CTagAttributes& record)
{
    Position element = FindOrCreate(record.GetName());
    if (element == m_elements.end()) return;
    record.SetValue(TagAttributeKey::Path, m_path);
    (*element)->Parse(record);
}

void CElementManager::RemoveElement(const CTagAttributes& record)
{
    m_elements.erase(FindNamed(record.GetName(), true));
}

void CElementManager::RemoveAll()
{
    m_elements.clear();
}

void CElementManager::ShowElement(const CTagAttributes& record)
{
    (*FindNamed(record.GetName(), true))->Show();
}

void CElementManager::HideElement(const CTagAttributes& record)
{
    (*FindNamed(record.GetName(), true))->Hide();
}

void CElementManager::ParseDefault(CTagAttributes& record)
{
    const CTextString& path = record.GetPath();
    if (!path.IsEmpty()) m_path = path;
    m_effect.Parse(record);
    record.GetControl(m_control);
}

DIB::CDIB32Ex* CElementManager::GetPicture(const CTextString& name)
{
    Position element = Find(name);
    return element == m_elements.end() ? nullptr : (*element)->GetPicture();
}

DIB::CDIB32Ex* CElementManager::GetFirstPicture()
{
    return m_elements.empty() ? nullptr : m_elements.front()->GetPicture();
}

void CElementManager::DrawAll(Plane& target)
{
    for (auto& element : m_elements)
        if (DIB::CDIB32Ex* picture = element->GetPicture()) picture->Draw(target);
}

CElementManager::Position CElementManager::FindOrCreate(const CTextString& name)
{
    if (name.IsEmpty()) return m_elements.empty() ? CreateElement(CTextString("1")) : m_elements.begin();
    Position found = Find(name);
    return found != m_elements.end() ? found : CreateElement(name);
}

CElementManager::Position CElementManager::CreateElement(const CTextString& name)
{
    IElement* made = NewElement(name);
    if (!made) return m_elements.end();
    m_elements.emplace_back(made);
    return std::prev(m_elements.end());
}

IElement* CElementManager::NewElement(const CTextString&)
{
    return nullptr;
}

CElementManager::Position CElementManager::FindNamed(const CTextString& name, bool mustExist)
{
    if (name.IsEmpty()) throw EScript(CTextString("名前が指定されていません。"));
    Position found = Find(name);
    if (mustExist && found == m_elements.end()) throw EScript(CTextString("その名前は使用されていません。"));
    return found;
}

CElementManager::Position CElementManager::Find(const CTextString& name)
{
    for (Position element = m_elements.begin(); element != m_elements.end(); ++element)
        if ((*element)->IsNamed(name)) return element;
    return m_elements.end();
}

} // namespace TAG
