#include "platform/Clock.h"

#include <time.h>

#include <cerrno>

namespace platform {
namespace {

class RealClock : public IClock {
public:
    std::uint32_t Now() override
    {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                          static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
    }

    void Sleep(std::uint32_t ms) override
    {
        timespec rest{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
        while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
        }
    }
};

std::unique_ptr<IClock>& Installed()
{
    static std::unique_ptr<IClock> clock = std::make_unique<RealClock>();
    return clock;
}

std::atomic<IClock*> g_current{nullptr};

} // namespace

IClock& Clock()
{
    IClock* clock = g_current.load(std::memory_order_acquire);
    if (clock) return *clock;
    return *Installed();
}

void InstallClock(std::unique_ptr<IClock> clock)
{
    if (!clock) clock = std::make_unique<RealClock>();
    g_current.store(clock.get(), std::memory_order_release);
    Installed() = std::move(clock);
}

} // namespace platform
