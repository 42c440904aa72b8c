#include "script/tag/Lock.h"

#include "frame/file/FileWriter.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

namespace TAG {

int CLock::Unlock()
{
    if (m_count <= 0) return 1;
    --m_count;
    return 0;
}

void CLock::Reset()
{
    m_count = 0;
    m_effect = EffectKind::Blend;
}

void CLock::ParseDefault(const CTagAttributes& record)
{
    record.GetEffect(m_effect);
}

void CLock::WriteDefault(kivotasuGameKit::CTextFileWriter& writer) const
{
    CTextString line("\n[DEFAULTLOCK");
    line.AppendAttribute("EFFECT", EffectKeyword(m_effect));
    line += CTextString("]\n");
    writer.Write(line);
}

CTextString EffectKeyword(EffectKind effect)
{
    auto index = static_cast<std::size_t>(effect);
    return index < EffectNames.size() ? CTextString(EffectNames[index]) : CTextString();
}

} // namespace TAG
