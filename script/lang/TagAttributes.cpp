#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

CTagAttributes& CTagAttributes::GetCurrent()
{
    static CTagAttributes current;
    return current;
}

void CTagAttributes::Clear()
{
    m_id = TagId::Comment;
    for (auto& value : m_values) value.Clear();
}

const CTextString& CTagAttributes::GetPath()
{
    CTextString& path = m_values[Index(TagAttributeKey::Path)];
    if (!path.IsEmpty()) {
        path.ToSlash();
        // A "/" cannot be a second byte (those start at 0x40), so the last byte tells.
        if (path.GetStr().back() != '/') path += '/';
    }
    return path;
}

bool CTagAttributes::NumberIfNumeric(TagAttributeKey key, std::int32_t& number) const
{
    if (!GetValue(key).IsNumber()) return false;
    number = Number(key);
    return true;
}

bool CTagAttributes::GetTime(std::int32_t& time) const
{
    if (GetValue(TagAttributeKey::Time).IsEmpty()) return false;
    time = SizeNumber(TagAttributeKey::Time);
    return true;
}

bool CTagAttributes::ClampedNumber(TagAttributeKey key, std::int32_t& number) const
{
    if (GetValue(key).IsEmpty()) return false;
    number = std::clamp(Number(key), 0, 1);
    return true;
}

bool CTagAttributes::GetNumberAt(TagAttributeKey key, std::int32_t& value) const
{
    return kivotasuGameKit::ParseColorValue(GetValue(key).GetStr(), value);
}

bool CTagAttributes::GetEffect(EffectKind& effect) const
{
    if (GetValue(TagAttributeKey::Effect).IsEmpty()) return false;
    if (!Keyword(TagAttributeKey::Effect, EffectNames, effect)) effect = EffectKind::Named;
    return true;
}

CTextString CTagAttributes::Get(std::string_view keyName) const
{
    auto key = FindKeyword(TagAttributeKeyNames, keyName);
    return key ? m_values[*key] : CTextString();
}

void CTagAttributes::Set(std::string_view keyName, const CTextString& value)
{
    if (auto key = FindKeyword(TagAttributeKeyNames, keyName)) m_values[*key] = value;
}

bool CTagAttributes::GetNumber(std::string_view keyName, std::int32_t& number) const
{
    auto key = FindKeyword(TagAttributeKeyNames, keyName);
    if (!key || m_values[*key].IsEmpty()) return false;
    number = ToTagNumber(m_values[*key].GetStr());
    return true;
}
