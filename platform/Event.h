#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// An auto-reset event: set wakes one wait and is consumed by it. Waits run on
// real time, not on the installed clock: they synchronise threads.
class Event {
public:
    static constexpr std::uint32_t Infinite = 0xFFFFFFFFu;
    static constexpr int TimedOut = -1;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    ~Event();

    void Set();
    void Reset();
    // true when signalled within ms (Infinite: no limit).
    bool Wait(std::uint32_t ms);

    // Waits until one of the events is set; consumes the lowest signalled one
    // and returns its index, or TimedOut.
    static int WaitForAny(Event* const* events, std::size_t count, std::uint32_t ms);

private:
    struct Waiter;
    bool m_signalled = false;
    std::vector<Waiter*> m_waiters;
};

} // namespace platform
