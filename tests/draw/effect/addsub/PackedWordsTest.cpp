// The packed 16-bit add and subtract against field-by-field arithmetic over
// every pair of pixels (every Stride-th source in the test command), bit 15
// of RGB555 included; and the byte-packed forms over every byte pair.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "draw/effect/addsub/PixelOp.h"
#include "tests/draw/effect/addsub/RefAddSub.h"
#include "tests/draw/effect/addsub/Sampling.h"

using namespace pixelkit;
using kivotasuGameKit::CPixelOp;

namespace {

struct Form {
    const char* name;
    uint32_t (*op)(uint32_t d, uint32_t s);
    bool is565, add;
};

TEST(PackedWordsTest, EveryPairOfWordsGetsItsFieldsSaturatedOrFloored)
{
    const Form forms[] = {{"Add565", &CPixelOp::Add565, true, true},
                          {"Sub565", &CPixelOp::Sub565, true, false},
                          {"Add555", &CPixelOp::Add555, false, true},
                          {"Sub555", &CPixelOp::Sub555, false, false}};
    for (const Form& f : forms) {
        for (uint32_t s : Sampled(65536)) {
            for (uint32_t d = 0; d < 65536; ++d) {
                const uint32_t got = f.op(d, s) & 0xFFFF;
                if (got != uint32_t(RefCombineWords(f.is565, int(d), int(s), f.add)))
                    FAIL() << f.name << " d " << std::hex << d << " s " << s << ": got " << got << ", expected "
                           << RefCombineWords(f.is565, int(d), int(s), f.add);
            }
        }
    }
}

TEST(PackedWordsTest, BytesSaturateOrFloorAndByte3Wraps)
{
    // Each (d, s) byte pair in every lane at once, byte 3 included.
    for (uint32_t s = 0; s < 256; ++s) {
        for (uint32_t d = 0; d < 256; ++d) {
            const uint32_t dw = d * 0x01010101u, sw = s * 0x01010101u;
            const uint32_t add = std::min(d + s, 255u) * 0x010101u | ((d + s) & 0xFF) << 24;
            const uint32_t sub = (d > s ? d - s : 0) * 0x010101u | ((d - s) & 0xFF) << 24;
            ASSERT_EQ(CPixelOp::AddBytes(dw, sw), add) << d << " + " << s;
            ASSERT_EQ(CPixelOp::SubBytes(dw, sw), sub) << d << " - " << s;
        }
    }
}

} // namespace
