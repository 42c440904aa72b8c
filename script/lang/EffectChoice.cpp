#include "script/lang/EffectChoice.h"

#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

void EffectChoice::Parse(const CTagAttributes& record)
{
    if (record.GetEffect(kind))
        picture = kind == EffectKind::Named ? record.GetValue(TagAttributeKey::Effect) : CTextString();
}

CTextString EffectChoice::Text() const
{
    return kind == EffectKind::Named ? picture : CTextString(EffectNames[static_cast<std::size_t>(kind)]);
}
