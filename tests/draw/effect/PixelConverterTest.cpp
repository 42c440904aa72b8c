// Row conversion between formats against the reference model.

#include <gtest/gtest.h>

#include <random>

#include "draw/effect/PixelConverter.h"
#include "tests/kit/pixel/RefFormat.h"

using namespace pixelkit;
using kivotasuGameKit::CPixelConverter;
using kivotasuGameKit::SurfaceType;

namespace {

bool Served(int32_t s, int32_t d)
{
    if (d == kPal8 || !RefBytes(d)) return false;
    if (s == kRGB555 || s == kRGB888 || s == kARGB8888) return true;
    const bool narrow = s == kRGB565 || s == kBGR888 || s == kXRGB8888 || s == kXBGR8888 || s == kARGB4565 ||
                        s == kARGB4555;
    return narrow && (d == kRGB888 || d == kARGB8888);
}

TEST(PixelConverterTest, EveryPairMatchesTheReferenceOrIsRefused)
{
    std::mt19937 rng(3);
    for (int32_t s : AllTypeCodes()) {
        for (int32_t d : AllTypeCodes()) {
            std::vector<uint8_t> source(4 * 37), actual(4 * 37 + 4);
            for (auto& b : source) b = uint8_t(rng());
            for (auto& b : actual) b = uint8_t(rng());
            std::vector<uint8_t> expected = actual;
            const int result = CPixelConverter::Convert(source.data(), SurfaceType(s), actual.data(), SurfaceType(d), 37);
            ASSERT_EQ(result, Served(s, d) ? 0 : 1) << TypeName(s) << " -> " << TypeName(d);
            if (result == 0) {
                for (int i = 0; i < 37; ++i) {
                    uint8_t* out = expected.data() + i * RefBytes(d);
                    const uint8_t* in = source.data() + i * RefBytes(s);
                    if (s == d) std::copy_n(in, RefBytes(d), out);
                    else RefWrite(d, out, RefRead(s, in));
                }
            }
            ASSERT_EQ(actual, expected) << TypeName(s) << " -> " << TypeName(d);
        }
    }
}

TEST(PixelConverterTest, WorkedCases)
{
    uint8_t out[4] = {};
    const uint8_t white565[2] = {0xFF, 0xFF};
    CPixelConverter::Convert(white565, kivotasuGameKit::RGB565, out, kivotasuGameKit::RGB888, 1);
    EXPECT_EQ(out[0], 248);
    EXPECT_EQ(out[1], 252);
    EXPECT_EQ(out[2], 248);
    const uint8_t bgr[3] = {0x12, 0x34, 0x56};
    CPixelConverter::Convert(bgr, kivotasuGameKit::RGB888, out, kivotasuGameKit::RGB565, 1);
    EXPECT_EQ(out[0] | out[1] << 8, 0x51A2);
    const uint8_t half[4] = {1, 2, 3, 0x80};
    CPixelConverter::Convert(half, kivotasuGameKit::ARGB8888, out, kivotasuGameKit::ARGB4555, 1);
    EXPECT_EQ(out[2], 8);
    const uint8_t opaque4[4] = {0, 0, 15, 0};
    CPixelConverter::Convert(opaque4, kivotasuGameKit::ARGB4565, out, kivotasuGameKit::ARGB8888, 1);
    EXPECT_EQ(out[3], 240);
}

} // namespace
