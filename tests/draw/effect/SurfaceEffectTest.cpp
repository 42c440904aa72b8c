// The six one-surface effects on every format against a reference written
// from the per-pixel rules, on rectangles inside, across and outside the
// surface.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "draw/effect/EffectBlitter.h"
#include "tests/kit/pixel/TestSurface.h"

using namespace pixelkit;
using kivotasuGameKit::RECT;
using kivotasuGameKit::SurfaceEffectOp;

namespace {

// Fields of a 16-bit word: shift and maximum.
struct Field {
    int shift, max;
};
std::vector<Field> Fields(int32_t t)
{
    if (t == kRGB565 || t == kARGB4565) return {{11, 31}, {5, 63}, {0, 31}};
    return {{10, 31}, {5, 31}, {0, 31}};
}

// The colour's fields in the word layout of type t.
int ColourWord(int32_t t, uint32_t colour)
{
    const int r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    if (t == kRGB565 || t == kARGB4565) return (r / 8) << 11 | (g / 4) << 5 | b / 8;
    return (r / 8) << 10 | (g / 8) << 5 | b / 8;
}

// Byte positions of red, green, blue in the 24- and 32-bit formats.
void ColourBytes(int32_t t, uint32_t colour, int out[3])
{
    const int r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    const bool redFirst = t == kBGR888 || t == kXBGR8888 || t == kABGR8888;
    out[0] = redFirst ? r : b;
    out[1] = g;
    out[2] = redFirst ? b : r;
}

bool IsWordType(int32_t t) { return t == kRGB565 || t == kRGB555 || t == kARGB4565 || t == kARGB4555; }

void RefEffectPixel(SurfaceEffectOp effect, int32_t t, uint8_t* c, uint32_t value, uint32_t fill)
{
    const bool word = IsWordType(t), alpha4 = t == kARGB4565 || t == kARGB4555;
    const bool alpha8 = t == kARGB8888 || t == kABGR8888, spare = t == kXRGB8888 || t == kXBGR8888;
    switch (effect) {
    case SurfaceEffectOp::Fill: {
        RefPixel p;
        p.r = (fill >> 16) & 0xFF;
        p.g = (fill >> 8) & 0xFF;
        p.b = fill & 0xFF;
        p.kind = RefPixel::Eight;
        p.alpha = fill >> 24;
        RefWrite(t, c, p);
        break;
    }
    case SurfaceEffectOp::Fade: {
        const int level = value & 0xFF;
        if (alpha4) {
            c[2] = uint8_t((((c[2] * 16) % 256) * level / 255) / 16);
        } else if (alpha8) {
            c[3] = uint8_t(c[3] * level / 255);
        } else if (word) {
            const int fifteenths = t == kRGB565 ? (level / 32) * 2 : level / 16;
            int out = 0;
            for (Field f : Fields(t)) out |= ((Word(c) >> f.shift) & f.max) * fifteenths / 15 << f.shift;
            SetWord(c, out);
        } else {
            for (int i = 0; i < 3; ++i) c[i] = uint8_t(c[i] * level / 255);
            if (spare) c[3] = 0;
        }
        break;
    }
    case SurfaceEffectOp::AddColor:
    case SurfaceEffectOp::SubColor: {
        const bool add = effect == SurfaceEffectOp::AddColor;
        if (word) {
            const int s = ColourWord(t, value);
            int out = t == kRGB555 ? Word(c) & 0x8000 : 0;
            for (Field f : Fields(t)) {
                const int d = (Word(c) >> f.shift) & f.max, v = (s >> f.shift) & f.max;
                out |= (add ? std::min(d + v, f.max) : std::max(d - v, 0)) << f.shift;
            }
            SetWord(c, out);
        } else {
            int s[3];
            ColourBytes(t, value, s);
            for (int i = 0; i < 3; ++i) c[i] = uint8_t(add ? std::min(c[i] + s[i], 255) : std::max(c[i] - s[i], 0));
            if (alpha8) c[3] = 255;
        }
        break;
    }
    case SurfaceEffectOp::Invert:
        if (t == kRGB555) SetWord(c, Word(c) ^ 0x7FFF);
        else if (word) SetWord(c, Word(c) ^ 0xFFFF);
        else {
            for (int i = 0; i < 3; ++i) c[i] = uint8_t(255 - c[i]);
            if (alpha8) c[3] = 0;
        }
        break;
    case SurfaceEffectOp::Mosaic:
        break;
    }
}

std::vector<uint8_t> RefEffect(TestSurface& s, SurfaceEffectOp effect, const RECT* rect, uint32_t value)
{
    std::vector<uint8_t> expected = s.Bytes();
    if (s.Type() == kPal8 || !RefBytes(s.Type())) return expected;
    const int left = std::max(rect ? rect->left : 0, 0), top = std::max(rect ? rect->top : 0, 0);
    const int right = std::min(rect ? rect->right : s.Width(), s.Width());
    const int bottom = std::min(rect ? rect->bottom : s.Height(), s.Height());
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            uint8_t* c = expected.data() + s.Offset(x, y);
            if (effect == SurfaceEffectOp::Mosaic) {
                const int n = int(value);
                if (n < 1) return s.Bytes();
                const int cx = left + (x - left) / n * n, cy = top + (y - top) / n * n;
                const int carried = (s.Type() == kARGB4565 || s.Type() == kARGB4555) ? 3 : RefBytes(s.Type());
                std::copy_n(s.Cell(cx, cy), carried, c);
            } else {
                RefEffectPixel(effect, s.Type(), c, value, s->GetFillColor());
            }
        }
    }
    return expected;
}

class SurfaceEffectTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kivotasuGameKit::CEffectBlitter::BuildBlendTables(); }
    std::mt19937 rng{99};
};

TEST_F(SurfaceEffectTest, EveryEffectOnEveryFormatMatchesTheReference)
{
    const std::vector<std::optional<RECT>> rects{std::nullopt, RECT{1, 1, 10, 5}, RECT{-3, 2, 40, 40},
                                                 RECT{0, 0, 1, 1}, RECT{5, 5, 5, 9}, RECT{8, 0, 2, 6}};
    for (int32_t type : AllTypeCodes()) {
        for (uint32_t e = 0; e <= 5; ++e) {
            const auto effect = SurfaceEffectOp(e);
            for (const auto& rect : rects) {
                for (int round = 0; round < 4; ++round) {
                    TestSurface s(type, 13, 7);
                    s.FillRandom(rng);
                    s->SetFillColor(rng());
                    uint32_t value = e == 5 ? uint32_t(int(rng() % 6) - 1) : uint32_t(rng());
                    if (e == 1 && round == 0) value = 255;
                    const auto expected = RefEffect(s, effect, rect ? &*rect : nullptr, value);
                    ASSERT_EQ(s->SurfaceEffect(effect, rect ? &*rect : nullptr, &value), 0);
                    const std::string diff = FirstDifference(s, expected, s.Bytes());
                    ASSERT_TRUE(diff.empty()) << TypeName(type) << " effect " << e << " value " << value << ": " << diff;
                    ASSERT_EQ(s.Locker().locks, 1);
                    ASSERT_EQ(s.Locker().unlocks, 1);
                }
            }
        }
    }
}

TEST_F(SurfaceEffectTest, RefusedEffectsTouchNothing)
{
    TestSurface s(kXRGB8888, 4, 4);
    s.FillRandom(rng);
    const auto before = s.Bytes();
    const uint32_t level = 3;
    EXPECT_EQ(s->SurfaceEffect(SurfaceEffectOp(6), nullptr, &level), 1);
    EXPECT_EQ(s.Locker().locks, 0);
    s.Locker().refuseLock = true;
    EXPECT_EQ(s->SurfaceEffect(SurfaceEffectOp::Invert, nullptr, nullptr), 1);
    EXPECT_EQ(s.Bytes(), before);
}

TEST_F(SurfaceEffectTest, WorkedCases)
{
    // Fade 255 is level 14 on RGB565 and the identity on RGB555.
    TestSurface w565(kRGB565, 1, 1), w555(kRGB555, 1, 1);
    SetWord(w565.Cell(0, 0), 0xFFFF);
    SetWord(w555.Cell(0, 0), 0x7FFF);
    const uint32_t full = 255;
    w565->SurfaceEffect(SurfaceEffectOp::Fade, nullptr, &full);
    w555->SurfaceEffect(SurfaceEffectOp::Fade, nullptr, &full);
    EXPECT_EQ(Word(w565.Cell(0, 0)), (28 << 11) | (58 << 5) | 28); // 31 * 14 / 15, 63 * 14 / 15
    EXPECT_EQ(Word(w555.Cell(0, 0)), 0x7FFF);
    // Red saturates without carrying into green.
    TestSurface red(kRGB565, 1, 1);
    SetWord(red.Cell(0, 0), 0xF000);
    const uint32_t addRed = 0x00FF0000;
    red->SurfaceEffect(SurfaceEffectOp::AddColor, nullptr, &addRed);
    EXPECT_EQ(Word(red.Cell(0, 0)), 0xF800);
    // Mosaic of 4 over 10 columns: blocks 4, 4, 2.
    TestSurface row(kXRGB8888, 10, 1);
    for (int x = 0; x < 10; ++x) row.Cell(x, 0)[0] = uint8_t(x);
    const int32_t four = 4;
    row->SurfaceEffect(SurfaceEffectOp::Mosaic, nullptr, &four);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(row.Cell(x, 0)[0], x / 4 * 4);
}

} // namespace
