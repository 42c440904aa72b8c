#include "script/dib/DibInfoCache.h"

#include "draw/FastDraw.h"

CDibInfoCache& CDibInfoCache::GetInstance()
{
    // A cached plane leaves the draw registry when freed: the registry is made
    // first so that it is destroyed after the cache, which still holds
    // pictures when the game exits.
    kivotasuGameKit::CFastDrawRegistry::Get();
    static CDibInfoCache cache;
    return cache;
}

boost::shared_ptr<DIB::CDibInfo> CDibInfoCache::Get(const kivotasuGameKit::CTextString& name)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if ((*it)->GetName() == name) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            return m_entries.front();
        }
    }
    m_entries.push_front(m_loader(name));
    if (m_entries.size() >= m_capacity) m_entries.pop_back();
    return m_entries.front();
}
