#include "script/engine/QuiltorEngine.h"

#include "script/lang/Set.h"

using kivotasuGameKit::CTextString;

// The folder is the stem's folder's parent with "/Save/": data/index.txt of
// a game folder saves into the game folder's Save folder.
CTextString CQuiltorEngine::GetSaveFileName(int code) const
{
    const CTextString& stem = m_state.NameStem;
    CTextString folder = stem.LeftOfLast('/').LeftOfLast('/');
    CTextString name = folder + CTextString("/Save/") + stem.RightOfLast('/');
    switch (code) {
    case -2: name += CTextString(".a"); break;
    case -1: name += CTextString(".q"); break;
    case -3: name += CTextString(".g"); break;
    default:
        if (code >= 1000) name.AppendFormat(".s%02d", code - 1000);
        else name.AppendFormat(".%03d", code);
        break;
    }
    return name;
}

void CQuiltorEngine::LoadGlobals()
{
    if (m_reader.Read(GetSaveFileName(-3).GetStr()) != 0) return;
    CTagAttributes record;
    while (m_reader.ReadTag(record) == TagRead) {
        CSet::GetInstance().Set(record.GetValue(TagAttributeKey::Variable), record.GetValue(TagAttributeKey::Entity), true);
    }
}
