#pragma once

// Reference model of the add/subtract family, one pixel at a time, field by
// field and channel by channel with plain integers (no packed words, no
// tables).

#include <algorithm>
#include <cstdint>

#include "tests/draw/effect/FamilyKit.h"
#include "tests/kit/pixel/RefFormat.h"
#include "tests/kit/pixel/RefTables.h"

namespace pixelkit {

inline bool IsAddOp(uint32_t op) { return op % 2 == 0; }
inline bool IsKeyedOp(uint32_t op) { return op == 4 || op == 5 || op == 8 || op == 9; }
inline bool IsRateOp(uint32_t op) { return op >= 6; }

inline int RefCombine(int d, int c, int maximum, bool add) { return add ? std::min(d + c, maximum) : std::max(d - c, 0); }

// Two 16-bit colour words field by field; an RGB555 word's bit 15 is the
// exclusive or of the two.
inline int RefCombineWords(bool is565, int d, int c, bool add)
{
    const int shifts[3] = {is565 ? 11 : 10, 5, 0}, maxima[3] = {31, is565 ? 63 : 31, 31};
    int out = is565 ? 0 : ((d ^ c) & 0x8000);
    for (int i = 0; i < 3; ++i)
        out |= RefCombine((d >> shifts[i]) & maxima[i], (c >> shifts[i]) & maxima[i], maxima[i], add) << shifts[i];
    return out;
}

// The fade level of a weight 0..255: RGB565 colours only reach the even levels.
inline int RefLevel(bool is565, int weight) { return is565 ? weight / 32 * 2 : weight / 16; }

// Operation op on one pixel at rate (0..255); the key test is the caller's.
inline void RefAddSub(uint32_t op, int32_t dt, int32_t st, uint8_t* d, const uint8_t* s, int rate)
{
    const bool add = IsAddOp(op), rated = IsRateOp(op);
    if (IsWord16(dt) || IsAlpha4(dt)) {
        const bool is565 = Is565Type(dt);
        int c = Word(s);
        if (IsAlpha4(st) && IsWord16(dt)) {
            // Weighted by its own alpha (times the rate); the alpha onto its own type is not.
            const int weight = rated ? RefMul(rate, Alpha4Of(s) * 16) : Alpha4Of(s) * 16;
            c = RefFade(is565, RefLevel(is565, weight), c);
        } else if (rated && IsWord16(st)) {
            c = RefFade(is565, RefLevel(is565, rate), c);
        }
        int out = RefCombineWords(is565, Word(d), c, add);
        if (dt == kARGB4555) out &= 0x7FFF;
        SetWord(d, out);
        return;
    }
    int weight = 255;
    if (IsAlpha8(st) && !IsAlpha8(dt)) weight = rated ? RefMul(rate, s[3]) : s[3];
    else if (rated && !IsAlpha8(st)) weight = rate;
    const int sr = RedAt(st), dr = RedAt(dt);
    const int sc[3] = {s[sr], s[1], s[2 - sr]};
    uint8_t* dc[3] = {&d[dr], &d[1], &d[2 - dr]};
    for (int i = 0; i < 3; ++i) *dc[i] = uint8_t(RefCombine(*dc[i], RefMul(weight, sc[i]), 255, add));
    if (RefBytes(dt) != 4) return;
    if (IsAlpha8(dt)) d[3] = 255;
    else if (dt == st && !rated) d[3] = uint8_t(add ? d[3] + s[3] : d[3] - s[3]);
    else if (dt == kXBGR8888 && st == kABGR8888 && !add) d[3] = 0;
}

// The pairs of an operation: the standard 26 for 2 to 7, the same types but
// RGB888 for 8 and 9.
inline std::vector<Pair> AddSubPairs(uint32_t op)
{
    if (op < 8) return RatePairs();
    std::vector<Pair> pairs;
    for (const Pair& p : RatePairs())
        if (p.first == p.second && p.first != kRGB888) pairs.push_back(p);
    return pairs;
}

} // namespace pixelkit
