#include "script/tag/Lock.h"

#include "frame/file/FileWriter.h"
#include "script/lang/SavedValue.h"
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
    m_effect = EffectChoice();
}

void CLock::ParseDefault(const CTagAttributes& record)
{
    m_effect.Parse(record);
}

void CLock::WriteDefault(kivotasuGameKit::CTextFileWriter& writer) const
{
    CTextString line("\n[DEFAULTLOCK");
    AppendSavedAttribute(line, "EFFECT", m_effect.Text());
    line += CTextString("]\n");
    writer.Write(line);
}

} // namespace TAG
