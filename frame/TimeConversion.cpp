#include "frame/TimeConversion.h"

namespace kivotasuGameKit {

int MsToHmsm(std::int32_t ms, std::int32_t& hours, std::int32_t& minutes, std::int32_t& seconds,
             std::int32_t& milliseconds)
{
    if (ms < 0) return -1;
    milliseconds = ms % 1000;
    seconds = ms / 1000 % 60;
    minutes = ms / 60000 % 60;
    hours = ms / 3600000;
    return 0;
}

int HmsmToMs(std::int32_t& ms, std::int32_t hours, std::int32_t minutes, std::int32_t seconds,
             std::int32_t milliseconds)
{
    if (hours < 0 || minutes < 0 || seconds < 0 || milliseconds < 0) return -1;
    std::uint32_t total = ((static_cast<std::uint32_t>(hours) * 60u + static_cast<std::uint32_t>(minutes)) * 60u +
                           static_cast<std::uint32_t>(seconds)) * 1000u + static_cast<std::uint32_t>(milliseconds);
    ms = static_cast<std::int32_t>(total);
    return 0;
}

} // namespace kivotasuGameKit
