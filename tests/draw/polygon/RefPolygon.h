#pragma once

// Reference of the polygon members' pixel rules, written from the rules as
// plain per-channel code on the format model: what one sampled source pixel
// does to one destination pixel in each mode.

#include <cstdint>
#include <cstring>

#include "tests/kit/pixel/RefFormat.h"
#include "tests/kit/pixel/RefTables.h"

namespace pixelkit {

inline bool IsWord555(int32_t t) { return t == kRGB555 || t == kARGB4555; }
inline bool IsX8888(int32_t t) { return t == kXRGB8888 || t == kXBGR8888; }

// The source pixel equals the colour key 0x..RRGGBB as the source stores it:
// 16-bit words by their fields (the key has bit 15 clear), 24-bit colours
// exactly, the X types with their X byte 0.
inline bool RefIsKey(int32_t s, const uint8_t* c, uint32_t key)
{
    RefPixel k;
    k.r = (key >> 16) & 0xFF;
    k.g = (key >> 8) & 0xFF;
    k.b = key & 0xFF;
    const RefPixel p = RefRead(s, c);
    if (IsWord16(s) || IsAlpha4(s)) {
        if (IsWord555(s) && (Word(c) & 0x8000)) return false;
        return Is565Type(s) ? Word(c) == Join565(k) : Word(c) == Join555(k);
    }
    if (IsX8888(s) && c[3] != 0) return false;
    return p.r == k.r && p.g == k.g && p.b == k.b;
}

inline void RefCopy(int32_t dt, int32_t st, uint8_t* d, const uint8_t* s)
{
    if (dt == st) {
        std::memcpy(d, s, IsAlpha4(dt) ? 3 : RefBytes(dt));
        return;
    }
    if (IsAlpha4(dt)) { // a plain word becomes an opaque cell, bit 15 and all
        std::memcpy(d, s, 2);
        d[2] = 15;
        return;
    }
    RefWrite(dt, d, RefRead(st, s));
}

inline void RefBlendAlpha(int32_t dt, int32_t st, uint8_t* d, const uint8_t* s)
{
    const RefPixel sp = RefRead(st, s), dp = RefRead(dt, d);
    if (IsWord16(dt) && IsAlpha4(st)) {
        const int level = s[2] & 15;
        SetWord(d, (RefFade(Is565Type(dt), 15 - level, Word(d)) + RefFade(Is565Type(dt), level, Word(s))) & 0xFFFF);
        return;
    }
    if (IsWord16(dt) || IsAlpha4(dt)) {
        // Fields widened to bytes and mixed at row alpha x 16 (a 4-bit source
        // cell, alpha 15 being 240) or 255 (an opaque word).
        const int a = IsAlpha4(st) ? (s[2] * 16) & 0xFF : 255;
        RefPixel out = dp;
        out.r = RefMul(a, sp.r) + RefMulInv(a, dp.r);
        out.g = RefMul(a, sp.g) + RefMulInv(a, dp.g);
        out.b = RefMul(a, sp.b) + RefMulInv(a, dp.b);
        SetWord(d, Is565Type(dt) ? Join565(out) : Join555(out));
        return;
    }
    if (sp.r == dp.r && sp.g == dp.g && sp.b == dp.b) return;
    const int a = IsAlpha8(st) ? s[3] : 255;
    RefPixel out;
    out.r = RefMul(a, sp.r) + RefMulInv(a, dp.r);
    out.g = RefMul(a, sp.g) + RefMulInv(a, dp.g);
    out.b = RefMul(a, sp.b) + RefMulInv(a, dp.b);
    RefWrite(dt, d, out); // alpha 255 on the alpha types, X 0
}

inline void RefPolygonPixel(uint32_t mode, int32_t dt, int32_t st, uint8_t* d, const uint8_t* s, uint32_t key)
{
    if (mode == 0) RefCopy(dt, st, d, s);
    if (mode == 1 && !RefIsKey(st, s, key)) RefCopy(dt, st, d, s);
    if (mode == 10) RefBlendAlpha(dt, st, d, s);
}

} // namespace pixelkit
