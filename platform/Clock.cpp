#include "platform/Clock.h"

#include <time.h>

#include <cerrno>

#include "platform/ServiceSlot.h"

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

ServiceSlot<IClock, RealClock>& Slot()
{
    static ServiceSlot<IClock, RealClock> slot;
    return slot;
}

} // namespace

IClock& Clock()
{
    return Slot().Get();
}

void InstallClock(std::unique_ptr<IClock> clock)
{
    Slot().Install(std::move(clock));
}

} // namespace platform
