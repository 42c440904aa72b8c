#include "draw/wipe/FixedMathTable.h"

#include <cmath>
#include <numbers>

namespace kivotasuGameKit::Draw {

const CFixedMathTable& CFixedMathTable::GetInstance()
{
    static const CFixedMathTable table;
    return table;
}

CFixedMathTable::CFixedMathTable()
{
    for (int k = 0; k < Steps; ++k)
        m_cos[std::size_t(k)] = int32_t(std::lround(std::cos(2 * std::numbers::pi * k / Steps) * 65536));
}

} // namespace kivotasuGameKit::Draw
