#pragma once

#include "frame/FunctionCallback.h"
#include "frame/SmartPtr.h"
#include "frame/Timer.h"

#include <cstdint>
#include <vector>

namespace kivotasuGameKit {

// Timed callbacks of one application, run once a frame by its pump. Used by
// the application thread only.
class CAppTimerList {
public:
    CAppTimerList();
    CAppTimerList(const CAppTimerList&) = delete;
    CAppTimerList& operator=(const CAppTimerList&) = delete;

    // Runs callback `delay` ms from now, then every `interval` ms, `count`
    // times (0: for ever). The id is the caller's key for Remove. A repeating
    // record with interval 0 would never leave its due time and is refused
    // (false); a counted one with interval 0 runs its count in one Dispatch.
    virtual bool Add(std::uintptr_t id, std::uint32_t delay, std::uint32_t interval, std::uint32_t count,
                     const CSmartPtr<function_callback>& callback);
    // Every record with this id: not called again, erased by the next Dispatch.
    virtual void Remove(std::uintptr_t id);
    // Calls what is due. Callbacks may add and remove records meanwhile.
    virtual void Dispatch();
    // The clock; the list's own timer when null.
    virtual void SetClock(CTimer* clock);
    virtual ~CAppTimerList() = default;

    std::size_t GetCount() const { return m_records.size(); }

private:
    struct Record {
        std::uintptr_t id;
        std::uint32_t due;
        std::uint32_t interval;
        std::uint32_t remaining;
        CSmartPtr<function_callback> callback;
        bool removed;
    };

    CTimer m_ownClock;
    CTimer* m_clock;
    std::vector<Record> m_records;
    int m_dispatchDepth = 0;
};

} // namespace kivotasuGameKit
