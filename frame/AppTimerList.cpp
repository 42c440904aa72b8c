#include "frame/AppTimerList.h"

#include <algorithm>

namespace kivotasuGameKit {

CAppTimerList::CAppTimerList() : m_clock(&m_ownClock) {}

void CAppTimerList::SetClock(CTimer* clock)
{
    m_clock = clock ? clock : &m_ownClock;
}

bool CAppTimerList::Add(std::uintptr_t id, std::uint32_t delay, std::uint32_t interval, std::uint32_t count,
                        const CSmartPtr<function_callback>& callback)
{
    if (interval == 0 && count == 0)
        return false;
    m_records.push_back({id, m_clock->Get() + delay, interval, count, callback, false});
    return true;
}

void CAppTimerList::Remove(std::uintptr_t id)
{
    for (Record& record : m_records) {
        if (record.id == id)
            record.removed = true;
    }
}

void CAppTimerList::Dispatch()
{
    const std::uint32_t now = m_clock->Get();
    ++m_dispatchDepth;
    struct DepthGuard {
        CAppTimerList& list;
        ~DepthGuard()
        {
            // Erasing inside a nested dispatch would move records under the outer loop.
            if (--list.m_dispatchDepth == 0)
                std::erase_if(list.m_records, [](const Record& record) { return record.removed; });
        }
    } depth{*this};

    // By index and re-read after each call: a callback may add records (the
    // vector may move) or remove any of them.
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        while (!m_records[i].removed && static_cast<std::int32_t>(now - m_records[i].due) >= 0) {
            CSmartPtr<function_callback> callback = m_records[i].callback;
            Record& before = m_records[i];
            if (before.remaining != 0 && --before.remaining == 0)
                before.removed = true;
            before.due += before.interval;
            (*callback)();
        }
    }
}

} // namespace kivotasuGameKit
