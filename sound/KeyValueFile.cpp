#include "sound/KeyValueFile.h"

#include "frame/file/File.h"

namespace kivotasuGameKit {

void CKeyValueFile::SetInt(const CTextString& key, std::int64_t value)
{
    std::string text;
    Int64ToString(text, value);
    Add(key, CTextString(text));
}

void CKeyValueFile::Add(const CTextString& key, const CTextString& value) { m_map[key.GetStr()] = value.GetStr(); }

void CKeyValueFile::Append(const CTextString& key, const CTextString& value)
{
    m_map[key.GetStr()] += value.GetStr();
}

int CKeyValueFile::GetIntValue(const CTextString& key, std::int64_t& value)
{
    const auto entry = m_map.find(key.GetStr());
    if (entry == m_map.end()) {
        value = 0;
        return 1;
    }
    return ParseInt(entry->second, value);
}

int CKeyValueFile::Get(const CTextString& key, CTextString& value)
{
    const auto entry = m_map.find(key.GetStr());
    if (entry == m_map.end()) {
        value.Clear();
        return -1;
    }
    value = CTextString(entry->second);
    return 0;
}

CTextString CKeyValueFile::GetString(const CTextString& key, const CTextString& defaultValue)
{
    CTextString value;
    return Get(key, value) == 0 && !value.IsEmpty() ? value : defaultValue;
}

std::int32_t CKeyValueFile::GetInt(const CTextString& key, std::int32_t defaultValue)
{
    return std::int32_t(GetInt64(key, defaultValue));
}

std::int64_t CKeyValueFile::GetInt64(const CTextString& key, std::int64_t defaultValue)
{
    std::int64_t value = 0;
    return GetIntValue(key, value) == 0 ? value : defaultValue;
}

bool CKeyValueFile::Erase(const CTextString& key) { return m_map.erase(key.GetStr()) > 0; }

void CKeyValueFile::Clear() { m_map.clear(); }

platform::ReadResult CKeyValueFile::Load(const CTextString& fileName)
{
    CFile file;
    if (const platform::ReadResult read = file.Read(fileName.GetStr(), FileKind::Text); read != platform::ReadResult::Done)
        return read;
    Clear();
    std::string line;
    while (file.ReadLine(line) == 0) {
        if (line.empty() || line[0] != '#')
            continue;
        const char* text = line.c_str() + 1;
        if (SkipBlanks(text))
            continue;
        const std::string key = CutToken(text);
        if (SkipBlanks(text))
            continue;
        const std::string value = CutToken(text);
        if (!value.empty())
            Add(CTextString(key), CTextString(value));
    }
    return platform::ReadResult::Done;
}

int CKeyValueFile::Save(const CTextString& fileName)
{
    CFile file;
    if (file.Open(fileName.GetStr(), "w") != 0)
        return 1;
    for (const auto& [key, value] : m_map)
        file.Out("#" + key + " " + value + "\n");
    return 0;
}

void CKeyValueFile::ReplaceAll(CTextString& text, bool exact)
{
    for (const auto& [key, value] : m_map)
        kivotasuGameKit::ReplaceAll(text.GetStr(), key, value, exact);
}

void CKeyValueFile::Serialize(IArchive& archive)
{
    if (archive.IsStoring()) {
        std::int32_t count = std::int32_t(m_map.size());
        archive.Exchange(count);
        for (const auto& [key, value] : m_map) {
            CTextString k(key), v(value);
            archive.Exchange(k);
            archive.Exchange(v);
        }
        return;
    }
    std::int32_t count = 0;
    archive.Exchange(count);
    Clear();
    for (std::int32_t i = 0; i < count; ++i) {
        CTextString key, value;
        archive.Exchange(key);
        archive.Exchange(value);
        m_map.emplace(key.GetStr(), value.GetStr());
    }
}

} // namespace kivotasuGameKit
