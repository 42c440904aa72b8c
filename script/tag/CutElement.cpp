#include "script/tag/CutElement.h"

#include "script/lang/TagAttributes.h"

namespace TAG {

void CCutElement::Parse(CTagAttributes& record)
{
    m_picture.Clear();
    m_picture.Cut(record);
}

void CCutManager::SetElement(CTagAttributes& record)
{
    if (GetElements().empty()) GetElements().emplace_back(new CCutElement);
    record.SetValue(TagAttributeKey::Path, GetPath());
    GetElements().front()->Parse(record);
}

} // namespace TAG
