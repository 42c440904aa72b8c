#pragma once
// Cosines in 16.16 fixed point over a full turn of 512 steps.

#include <array>
#include <cstdint>

namespace kivotasuGameKit::Draw {

class CFixedMathTable {
public:
    static constexpr int Steps = 512;

    // Built on first use.
    static const CFixedMathTable& GetInstance();

    // cos(2 pi k / 512) x 65536, rounded to the nearest integer; k is taken
    // modulo a turn.
    int32_t Cos(int32_t k) const { return m_cos[std::size_t(k & (Steps - 1))]; }

private:
    CFixedMathTable();

    std::array<int32_t, Steps> m_cos;
};

} // namespace kivotasuGameKit::Draw
