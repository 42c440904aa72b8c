#include "frame/MersenneTwister.h"

namespace kivotasuGameKit {
namespace {

constexpr int M = 397;
constexpr std::uint32_t UpperMask = 0x80000000u;
constexpr std::uint32_t LowerMask = 0x7FFFFFFFu;
constexpr std::uint32_t Matrix = 0x9908B0DFu;

} // namespace

void CMersenneTwister::SetSeed(std::uint32_t seed)
{
    for (std::uint32_t& word : m_state) {
        word = seed & 0xFFFF0000u;
        seed = 69069u * seed + 1u;
        word |= seed >> 16;
        seed = 69069u * seed + 1u;
    }
    m_index = N;
}

void CMersenneTwister::Regenerate()
{
    for (int k = 0; k < N; ++k) {
        std::uint32_t y = (m_state[k] & UpperMask) | (m_state[(k + 1) % N] & LowerMask);
        m_state[k] = m_state[(k + M) % N] ^ (y >> 1) ^ ((y & 1u) ? Matrix : 0u);
    }
}

std::uint32_t CMersenneTwister::Get()
{
    if (m_index >= static_cast<std::uint32_t>(N)) {
        if (m_index == NeverSeeded) SetSeed(4357);
        Regenerate();
        m_index = 0;
    }
    std::uint32_t y = m_state[m_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

} // namespace kivotasuGameKit
