#pragma once

// Reference model of the blend family, one pixel at a time, written from the
// rules with real divisions (no tables).

#include <cstdint>

#include "tests/kit/pixel/RefFormat.h"
#include "tests/kit/pixel/RefTables.h"

namespace pixelkit {

// Destination word := the source word at its level plus the destination word
// at its, low 16 bits.
inline void RefFadeMix(bool is565, uint8_t* d, const uint8_t* s, int sourceLevel, int destinationLevel)
{
    SetWord(d, (RefFade(is565, sourceLevel, Word(s)) + RefFade(is565, destinationLevel, Word(d))) & 0xFFFF);
}

inline void SetByte3(int32_t t, uint8_t* d)
{
    if (RefBytes(t) == 4) d[3] = IsAlpha8(t) ? 255 : 0;
}

// M[w][s] + I[w][d] by colour, untouched when the colours are equal.
inline void RefRate8(int32_t dt, int32_t st, uint8_t* d, const uint8_t* s, int w)
{
    const int dr = RedAt(dt), sr = RedAt(st);
    const int sc[3] = {s[sr], s[1], s[2 - sr]}, dc[3] = {d[dr], d[1], d[2 - dr]};
    if (sc[0] == dc[0] && sc[1] == dc[1] && sc[2] == dc[2]) return;
    d[dr] = uint8_t(RefMul(w, sc[0]) + RefMulInv(w, dc[0]));
    d[1] = uint8_t(RefMul(w, sc[1]) + RefMulInv(w, dc[1]));
    d[2 - dr] = uint8_t(RefMul(w, sc[2]) + RefMulInv(w, dc[2]));
    SetByte3(dt, d);
}

// (M[ws][s] + M[wd][d]) mod 256 by colour.
inline void RefTwoRate8(int32_t dt, int32_t st, uint8_t* d, const uint8_t* s, int ws, int wd)
{
    const int dr = RedAt(dt), sr = RedAt(st);
    const int sc[3] = {s[sr], s[1], s[2 - sr]}, dc[3] = {d[dr], d[1], d[2 - dr]};
    d[dr] = uint8_t((RefMul(ws, sc[0]) + RefMul(wd, dc[0])) % 256);
    d[1] = uint8_t((RefMul(ws, sc[1]) + RefMul(wd, dc[1])) % 256);
    d[2 - dr] = uint8_t((RefMul(ws, sc[2]) + RefMul(wd, dc[2])) % 256);
    SetByte3(dt, d);
}

// The colour word of a 4-bit alpha cell from two widened words; combine(s, d)
// gives each 8-bit field. The alpha byte stays.
template <class Combine> void RefWide(int32_t dt, uint8_t* d, const uint8_t* s, Combine combine)
{
    const bool is565 = Is565Type(dt);
    RefPixel sp, dp;
    is565 ? Split565(Word(s), sp) : Split555(Word(s), sp);
    is565 ? Split565(Word(d), dp) : Split555(Word(d), dp);
    RefPixel out;
    out.r = combine(sp.r, dp.r);
    out.g = combine(sp.g, dp.g);
    out.b = combine(sp.b, dp.b);
    SetWord(d, is565 ? Join565(out) : Join555(out));
}

// Alpha over between two 8-bit alpha cells.
inline void RefAlphaOver8(uint8_t* d, const uint8_t* s)
{
    const int as = s[3], t = RefMul(d[3], 255 - as), sum = as + t;
    if (sum == 0) return;
    const int ws = 255 * as / sum, wd = 255 * t / sum;
    for (int i = 0; i < 3; ++i) d[i] = uint8_t(RefMul(ws, s[i]) + RefMul(wd, d[i]));
    d[3] = 255;
}

// Alpha over between two 4-bit alpha cells.
inline void RefAlphaOver4(bool is565, uint8_t* d, const uint8_t* s)
{
    const int sa = Alpha4Of(s) * 16, t = RefMul(Alpha4Of(d) * 16, 240 - sa), sum = t + sa;
    d[2] = uint8_t(sum >> 4);
    if (sum == 0) return;
    RefFadeMix(is565, d, s, 15 * sa / sum, 15 * t / sum);
}

// Operation 10.
inline void RefBlendAlpha(int32_t dt, int32_t st, uint8_t* d, const uint8_t* s)
{
    if (IsWord16(dt)) {
        const int level = Alpha4Of(s);
        RefFadeMix(Is565Type(dt), d, s, level, 15 - level);
    } else if (IsAlpha4(dt)) {
        RefAlphaOver4(Is565Type(dt), d, s);
    } else if (dt == st) {
        RefAlphaOver8(d, s);
    } else {
        RefRate8(dt, st, d, s, s[3]);
    }
}

// Operations 14 and 15 behind the key (the table rule of XRGB8888).
inline void RefBlendRate(int32_t dt, int32_t st, uint8_t* d, const uint8_t* s, int r)
{
    if (IsWord16(dt) && dt == st) {
        if (Word(d) != Word(s)) RefFadeMix(Is565Type(dt), d, s, r / 16, 15 - r / 16);
    } else if (IsWord16(dt)) {
        const int level = RefMul(r, Alpha4Of(s) * 16) / 16;
        RefFadeMix(Is565Type(dt), d, s, level, 15 - level);
    } else if (IsAlpha4(dt)) {
        const int w = IsAlpha4(st) ? RefMul(Alpha4Of(s) * 16, r) : r;
        RefWide(dt, d, s, [w](int sc, int dc) { return RefMul(w, sc) + RefMulInv(w, dc); });
    } else {
        RefRate8(dt, st, d, s, IsAlpha8(st) ? RefMul(s[3], r) : r);
    }
}

// Operations 16 and 17 behind the key.
inline void RefCrossFade(int32_t dt, int32_t st, uint8_t* d, const uint8_t* s, int a, int b)
{
    if (IsWord16(dt) && dt == st) {
        RefFadeMix(Is565Type(dt), d, s, a / 16, b / 16);
    } else if (IsWord16(dt)) {
        RefFadeMix(Is565Type(dt), d, s, RefMul(a, Alpha4Of(s) * 16) / 16, RefMul(b, 240) / 16);
    } else if (IsAlpha4(dt)) {
        const int ws = IsAlpha4(st) ? RefMul(Alpha4Of(s) * 16, a) : a, wd = RefMul(Alpha4Of(d) * 16, b);
        RefWide(dt, d, s, [=](int sc, int dc) { return (RefMul(ws, sc) + RefMul(wd, dc)) % 256; });
    } else {
        RefTwoRate8(dt, st, d, s, IsAlpha8(st) ? RefMul(s[3], a) : a, IsAlpha8(dt) ? RefMul(d[3], b) : b);
    }
}

// The four-channel constant-rate blend of XRGB8888 <- XRGB8888.
inline void RefFourChannel(uint8_t* d, const uint8_t* s, int r)
{
    for (int i = 0; i < 3; ++i) d[i] = uint8_t(s[i] * r / 256 + d[i] * (255 - r) / 256);
    d[3] = 0;
}

} // namespace pixelkit
