#include "script/tag/ButtonManager.h"

#include "frame/EScript.h"

namespace TAG {

void CButtonManager::Reset()
{
    CElementManager::Reset();
    m_inside = false;
}

void CButtonManager::End()
{
    if (!m_inside) throw EScript(kivotasuGameKit::CTextString("BEGINBUTTONがないのにENDBUTTONがきました。"));
    m_inside = false;
}

} // namespace TAG
