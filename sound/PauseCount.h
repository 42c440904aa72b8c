#pragma once

#include <cstdint>

namespace kivotasuGameKit {

// A pause moves a count already in force one further from zero.
constexpr std::int32_t PauseCountStep(std::int32_t count)
{
    return count > 0 ? count + 1 : count < 0 ? count - 1 : 0;
}

} // namespace kivotasuGameKit
