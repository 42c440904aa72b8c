#include "script/tag/FontList.h"

#include "frame/file/FileWriter.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"

#include <algorithm>

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
    if (!name.empty() && name[0] != '@') m_names.emplace_back(name);
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

void CFontList::FillMenu(platform::MenuItem& submenu, std::uint32_t firstCommand, std::size_t most) const
{
    std::vector<platform::MenuItem>& items = submenu.items;
    if (!items.empty()) items.erase(items.begin());
    const std::size_t count = std::min(m_names.size(), most);
    for (std::size_t index = 0; index < count; ++index) {
        platform::MenuItem item = platform::MenuItem::Command(firstCommand + static_cast<std::uint32_t>(index), m_names[index].GetStr());
        item.checked = static_cast<std::int32_t>(index) == m_current;
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    }
}

void CFontList::WriteOption(kivotasuGameKit::CTextFileWriter& writer) const
{
    kivotasuGameKit::CTextString line;
    line.AppendFormat("[SYSTEM CONTROL=\"FONT\" NAME=\"%d\"]\n", m_current);
    writer.Write(line);
}
