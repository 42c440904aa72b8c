#pragma once
// The pictures loaded last, most recently used first, so that a picture shown
// again (an animation sheet, a button, a recurring background) is not read
// from its file again. An info stays alive while a picture still holds it.

#include <cstddef>
#include <list>

#include <boost/shared_ptr.hpp>

#include "script/dib/DibInfo.h"

class CDibInfoCache {
public:
    static CDibInfoCache& GetInstance();

    // The info of that exact name, loaded when missing (EScript when it
    // cannot be): loading keeps at most capacity - 1 entries.
    boost::shared_ptr<DIB::CDibInfo> Get(const kivotasuGameKit::CTextString& name);
    void Clear() { m_entries.clear(); }
    // Loads a missing info; tests put one of their own in place, null puts
    // DIB::LoadDibInfo back.
    using Loader = boost::shared_ptr<DIB::CDibInfo> (*)(const kivotasuGameKit::CTextString& name);
    void SetLoader(Loader loader) { m_loader = loader ? loader : &DIB::LoadDibInfo; }

    std::size_t GetCount() const { return m_entries.size(); }

private:
    CDibInfoCache() = default;

    std::list<boost::shared_ptr<DIB::CDibInfo>> m_entries;
    std::size_t m_capacity = 4;
    Loader m_loader = &DIB::LoadDibInfo;
};
