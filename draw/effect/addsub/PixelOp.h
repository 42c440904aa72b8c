#pragma once

#include <cstdint>

#include "draw/effect/PixelFormat.h"

namespace kivotasuGameKit {

// Per-pixel add and subtract of the add/subtract family: every colour field
// saturates at its maximum or is floored at 0 without touching its
// neighbours, branch-free on packed words.
class CPixelOp {
public:
    // 16-bit words (zero-extended; low 16 bits of the result count). Bit 15
    // of an RGB555 result is the two inputs' bit 15 exclusive-or'ed.
    static uint32_t Add565(uint32_t d, uint32_t s) { return Added<Overflow565>(d, s); }
    static uint32_t Sub565(uint32_t d, uint32_t s) { return Subtracted<Overflow565>(d, s); }
    static uint32_t Add555(uint32_t d, uint32_t s) { return Added<Overflow555>(d, s); }
    static uint32_t Sub555(uint32_t d, uint32_t s) { return Subtracted<Overflow555>(d, s); }

    // Bytes 0 to 2 of 32-bit words; byte 3 comes out as (d3 + s3) or
    // (d3 - s3) modulo 256.
    static uint32_t AddBytes(uint32_t d, uint32_t s) { return Added<OverflowBytes>(d, s); }
    static uint32_t SubBytes(uint32_t d, uint32_t s) { return Subtracted<OverflowBytes>(d, s); }

    // The colour word of an ARGB4565 / ARGB4555 cell combined with the first
    // 16 bits of s (an RGB565/RGB555 word or a cell of the same kind); the
    // alpha byte is not touched and bit 15 of an ARGB4555 word becomes 0.
    static void AddARGB4565(uint8_t* d, const uint8_t* s) { StoreWord(d, uint16_t(Add565(LoadWord(d), LoadWord(s)))); }
    static void AddARGB4555(uint8_t* d, const uint8_t* s)
    {
        StoreWord(d, uint16_t(Add555(LoadWord(d), LoadWord(s)) & 0x7FFF));
    }
    static void SubARGB4565(uint8_t* d, const uint8_t* s) { StoreWord(d, uint16_t(Sub565(LoadWord(d), LoadWord(s)))); }
    static void SubARGB4555(uint8_t* d, const uint8_t* s)
    {
        StoreWord(d, uint16_t(Sub555(LoadWord(d), LoadWord(s)) & 0x7FFF));
    }

private:
    // With m all ones in the fields that overflow, (s - m) + d leaves every
    // other field its sum, with no carry between fields, and OR m fills the
    // overflowing ones.
    // A subtract flags the fields where s + NOT d overflows, that is s > d,
    // and takes (m OR d) - (m OR s): 0 in exactly those fields.
    template <uint32_t (*Overflow)(uint32_t, uint32_t)> static uint32_t Added(uint32_t d, uint32_t s)
    {
        const uint32_t m = Overflow(s, d);
        return ((s - m) + d) | m;
    }
    template <uint32_t (*Overflow)(uint32_t, uint32_t)> static uint32_t Subtracted(uint32_t d, uint32_t s)
    {
        const uint32_t m = Overflow(s, ~d);
        return (m | d) - (m | s);
    }

    // All ones in every field of a + b that passes its maximum (for a
    // subtract, b = NOT d: the fields where s > d). The half sum's top bit of
    // each field is the carry; the signed shift spreads it over the field.
    static uint32_t Overflow565(uint32_t a, uint32_t b)
    {
        const uint32_t carries = ((((a ^ b) >> 1) & 0x7BEF) + (a & b)) & 0x8410;
        const uint32_t spread = uint32_t(int16_t(uint16_t(carries + 0x3DF0)) >> 5) & 0xFFFF;
        return ((spread & 0xFBFF) + 0x200) ^ 0x3EF;
    }
    static uint32_t Overflow555(uint32_t a, uint32_t b)
    {
        const uint32_t sum = ((a ^ b) & 0x7BDE) + ((a & b) << 1);
        return (((sum >> 5) & 0x421) + 0x3DEF) ^ 0x3DEF;
    }
    static uint32_t OverflowBytes(uint32_t a, uint32_t b)
    {
        const uint32_t sum = ((a ^ b) & 0xFEFEFE) + ((a & b) << 1);
        return (((sum >> 8) & 0x10101) + 0x7F7F7F) ^ 0x7F7F7F;
    }
};

} // namespace kivotasuGameKit
