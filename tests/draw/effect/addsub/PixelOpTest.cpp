// The four colour-word operations the one-surface effects use, over every
// destination word against per-field saturation.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "draw/effect/addsub/PixelOp.h"

using kivotasuGameKit::CPixelOp;

namespace {

struct Layout {
    int shifts[3], maxima[3];
};
constexpr Layout L565{{11, 5, 0}, {31, 63, 31}}, L555{{10, 5, 0}, {31, 31, 31}};

int Expected(const Layout& l, int d, int s, bool add)
{
    int out = 0;
    for (int i = 0; i < 3; ++i) {
        const int a = (d >> l.shifts[i]) & l.maxima[i], b = (s >> l.shifts[i]) & l.maxima[i];
        out |= (add ? std::min(a + b, l.maxima[i]) : std::max(a - b, 0)) << l.shifts[i];
    }
    return out;
}

void Check(void (*op)(uint8_t*, const uint8_t*), const Layout& l, bool add)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 48; ++round) {
        const int s = rng() & 0xFFFF;
        const uint8_t source[4] = {uint8_t(s), uint8_t(s >> 8), uint8_t(rng()), uint8_t(rng())};
        for (int d = 0; d < 65536; ++d) {
            uint8_t cell[4] = {uint8_t(d), uint8_t(d >> 8), uint8_t(d * 7), uint8_t(d * 13)};
            op(cell, source);
            ASSERT_EQ(cell[0] | cell[1] << 8, Expected(l, d, s, add)) << std::hex << d << " " << s;
            ASSERT_EQ(cell[2], uint8_t(d * 7)); // the alpha byte stays
            ASSERT_EQ(cell[3], uint8_t(d * 13));
        }
    }
}

TEST(PixelOpTest, AddAndSubtractSaturatePerFieldAndKeepTheAlpha)
{
    Check(&CPixelOp::AddARGB4565, L565, true);
    Check(&CPixelOp::SubARGB4565, L565, false);
    Check(&CPixelOp::AddARGB4555, L555, true);
    Check(&CPixelOp::SubARGB4555, L555, false);
}

} // namespace
