#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace platform {

// The millisecond tick: monotonic, wrapping at 2^32 like the Windows tick count.
class IClock {
public:
    virtual ~IClock() = default;
    virtual std::uint32_t Now() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;
};

// The process's clock: the real one until a test installs another. Install it
// before other threads read it.
IClock& Clock();
void InstallClock(std::unique_ptr<IClock> clock);

// Time that passes only when someone sleeps or advances it, so waits of
// seconds take no time and every run is the same.
class VirtualClock : public IClock {
public:
    explicit VirtualClock(std::uint32_t start = 0) : m_now(start) {}

    std::uint32_t Now() override { return m_now.load(std::memory_order_acquire); }
    void Sleep(std::uint32_t ms) override { Advance(ms); }
    void Advance(std::uint32_t ms) { m_now.fetch_add(ms, std::memory_order_acq_rel); }
    void Set(std::uint32_t now) { m_now.store(now, std::memory_order_release); }

private:
    std::atomic<std::uint32_t> m_now;
};

} // namespace platform
