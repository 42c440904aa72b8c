#pragma once

#include <cstdint>

namespace kivotasuGameKit {

// MT19937 with the seeding of its 1998 reference implementation; a generator
// that was never seeded uses the seed 4357. (std::mt19937 seeds differently.)
class CMersenneTwister {
public:
    static constexpr int N = 624;

    void SetSeed(std::uint32_t seed);
    std::uint32_t Get();

private:
    static constexpr std::uint32_t NeverSeeded = N + 1;

    void Regenerate();

    std::uint32_t m_state[N] = {};
    std::uint32_t m_index = NeverSeeded;
};

} // namespace kivotasuGameKit
