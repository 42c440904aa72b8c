#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kivotasuGameKit {

// Data files may be stored behind the magic "KPK1", each byte XORed with 0xD3
// and its halves swapped.
inline constexpr char ScrambleMagic[4] = {'K', 'P', 'K', '1'};
inline constexpr std::size_t ScrambleMagicSize = sizeof ScrambleMagic;

inline constexpr std::uint8_t ScrambleByte(std::uint8_t plain)
{
    const std::uint8_t x = plain ^ 0xD3u;
    return std::uint8_t((x >> 4) | (x << 4));
}

inline constexpr std::uint8_t UnscrambleByte(std::uint8_t stored)
{
    return std::uint8_t(((stored >> 4) | (stored << 4)) ^ 0xD3u);
}

inline bool HasScrambleMagic(const std::uint8_t* data, std::size_t size)
{
    return size >= ScrambleMagicSize && std::memcmp(data, ScrambleMagic, ScrambleMagicSize) == 0;
}

inline void Unscramble(std::uint8_t* data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) data[i] = UnscrambleByte(data[i]);
}

inline void Scramble(const std::uint8_t* plain, std::uint8_t* stored, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) stored[i] = ScrambleByte(plain[i]);
}

} // namespace kivotasuGameKit
