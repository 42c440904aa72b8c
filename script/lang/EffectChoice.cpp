#include "script/lang/EffectChoice.h"

#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

bool EffectChoice::Parse(const CTagAttributes& record)
{
    if (!record.GetEffect(kind)) return false;
    picture = kind == EffectKind::Named ? record.GetValue(TagAttributeKey::Effect) : CTextString();
    return true;
}

CTextString EffectChoice::Text() const
{
    return kind == EffectKind::Named ? picture : CTextString(EffectNames[static_cast<std::size_t>(kind)]);
}
