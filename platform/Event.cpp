#include "platform/Event.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace platform {
namespace {

// One lock for every event: a wait on several events must see them all at once.
std::mutex& EventLock()
{
    static std::mutex lock;
    return lock;
}

} // namespace

struct Event::Waiter {
    std::condition_variable wake;
};

Event::~Event() = default;

void Event::Set()
{
    std::lock_guard<std::mutex> lock(EventLock());
    m_signalled = true;
    for (Waiter* waiter : m_waiters) waiter->wake.notify_one();
}

void Event::Reset()
{
    std::lock_guard<std::mutex> lock(EventLock());
    m_signalled = false;
}

bool Event::Wait(std::uint32_t ms)
{
    Event* self = this;
    return WaitForAny(&self, 1, ms) == 0;
}

int Event::WaitForAny(Event* const* events, std::size_t count, std::uint32_t ms)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    auto takeSignalled = [&] {
        for (std::size_t i = 0; i < count; ++i) {
            if (events[i]->m_signalled) {
                events[i]->m_signalled = false;
                return static_cast<int>(i);
            }
        }
        return TimedOut;
    };

    std::unique_lock<std::mutex> lock(EventLock());
    Waiter waiter;
    for (std::size_t i = 0; i < count; ++i) events[i]->m_waiters.push_back(&waiter);
    int result = takeSignalled();
    while (result == TimedOut) {
        if (ms == Infinite) {
            waiter.wake.wait(lock);
        } else if (waiter.wake.wait_until(lock, deadline) == std::cv_status::timeout) {
            result = takeSignalled();
            break;
        }
        result = takeSignalled();
    }
    for (std::size_t i = 0; i < count; ++i) {
        auto& waiters = events[i]->m_waiters;
        waiters.erase(std::find(waiters.begin(), waiters.end(), &waiter));
    }
    return result;
}

} // namespace platform
