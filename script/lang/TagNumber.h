#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

// The number of an attribute value or an expression operand, by the C
// library's atoi rules (leading white space, an optional sign, the digits up
// to the first other byte; 0 when there are none). Values beyond 32 bits
// saturate at the nearest 32-bit limit, as the original runtime's atoi does.
std::int32_t ToTagNumber(std::string_view text);

// A value counts as a number when it starts with a digit or "-".
inline bool IsTagNumber(std::string_view text)
{
    return !text.empty() && ((text[0] >= '0' && text[0] <= '9') || text[0] == '-');
}

// Sums and products of a script's numbers are taken in 64 bits and held to the
// int range, so no place or size a script gives can wrap.
inline std::int32_t SaturatedInt32(std::int64_t value)
{
    return std::int32_t(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}
