#include "script/tag/FontList.h"

#include "frame/file/FileWriter.h"
#include "platform/Fonts.h"

CFontList& CFontList::GetInstance()
{
    static CFontList instance;
    return instance;
}

CFontList::CFontList()
{
    m_names.reserve(20);
    Enumerate();
}

void CFontList::Enumerate()
{
    m_names.clear();
    for (const std::string& name : platform::Fonts().ListJapaneseFamilies()) EnumProc(name);
    SetCurrent(m_current);
}

void CFontList::EnumProc(std::string_view name)
{
    if (!name.empty() && static_cast<unsigned char>(name[0]) >= 0x80) m_names.emplace_back(name);
}

void CFontList::SetCurrent(std::int32_t n)
{
    m_current = n >= 0 && static_cast<std::size_t>(n) < m_names.size() ? n : 0;
}

kivotasuGameKit::CTextString CFontList::GetCurrentName() const
{
    if (static_cast<std::size_t>(m_current) >= m_names.size()) return {};
    return m_names[static_cast<std::size_t>(m_current)];
}

void CFontList::WriteOption(kivotasuGameKit::CTextFileWriter& writer) const
{
    kivotasuGameKit::CTextString line;
    line.AppendFormat("[SYSTEM CONTROL=\"FONT\" NAME=\"%d\"]\n", m_current);
    writer.Write(line);
}
