#pragma once

// The pixel rule of every (operation, pair) of the add/subtract family: how
// the source is weighted into the value that is added or subtracted, and how
// the destination cell takes it.

#include <cstdint>

#include "draw/effect/BlendTables.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/addsub/PixelOp.h"

namespace kivotasuGameKit::AddSub {

constexpr bool IsAddOp(uint32_t op) { return op % 2 == 0; }
constexpr bool IsKeyedOp(uint32_t op) { return op == 4 || op == 5 || op == 8 || op == 9; }
constexpr bool IsRateOp(uint32_t op) { return op >= 6; }

// Cells whose colour is a 16-bit word: the plain words and the 4-bit alpha cells.
constexpr bool HasColourWord(SurfaceType t) { return t == RGB565 || t == RGB555 || t == ARGB4565 || t == ARGB4555; }
constexpr bool Is565Layout(SurfaceType t) { return t == RGB565 || t == ARGB4565; }

// What weighs the source: nothing, the rate, its own alpha, or both (the
// weight MulTable[rate][alpha], a 4-bit alpha being the low nibble of byte 2
// times 16). A source of the destination's own alpha type is combined as it
// is, at every rate.
enum class Scaling { None, Rate, Alpha, AlphaRate };

template <uint32_t Op, SurfaceType D, SurfaceType S> constexpr Scaling ScalingOf()
{
    if (HasAlpha(S)) return HasAlpha(D) ? Scaling::None : IsRateOp(Op) ? Scaling::AlphaRate : Scaling::Alpha;
    return IsRateOp(Op) ? Scaling::Rate : Scaling::None;
}

// Byte 3 of a 32-bit destination: an alpha destination becomes opaque; an X
// byte takes the source's X byte modulo 256 when the source is added as it
// is, and keeps its value when the source is weighted, except that a
// weighted ABGR8888 subtracted from XBGR8888 clears it.
enum class Byte3 { Wrap, Keep, Zero, Opaque };

template <uint32_t Op, SurfaceType D, SurfaceType S> constexpr Byte3 Byte3Of()
{
    if (HasAlpha(D)) return Byte3::Opaque;
    if (ScalingOf<Op, D, S>() == Scaling::None) return Byte3::Wrap;
    if (D == XBGR8888 && S == ABGR8888 && !IsAddOp(Op)) return Byte3::Zero;
    return Byte3::Keep;
}

// The fade level of a weight: RGB565 colours take only the even levels. A
// faded RGB555 word has bit 15 clear, so the destination's bit 15 stays.
template <bool Is565> constexpr uint32_t LevelOf(uint32_t weight) { return Is565 ? (weight >> 4) & 0xE : weight >> 4; }

template <bool Is565> const uint16_t* FadeLevel(uint32_t level)
{
    return (Is565 ? FadeTable565 : FadeTable555) + (size_t(level) << 16);
}

// The three colour bytes through one MulTable row; byte 3 becomes 0.
inline uint32_t ScaleBytes(const uint8_t* row, uint32_t v)
{
    return row[v & 0xFF] | uint32_t(row[(v >> 8) & 0xFF]) << 8 | uint32_t(row[(v >> 16) & 0xFF]) << 16;
}

template <uint32_t Op, SurfaceType D, SurfaceType S> class Rule {
public:
    static constexpr Scaling Scale = ScalingOf<Op, D, S>();
    static constexpr bool Add = IsAddOp(Op);

    // The rate's fade level and MulTable row are found once per blit.
    explicit Rule(uint32_t rate)
        : m_fade(FadeLevel<Is565Layout(D)>(LevelOf<Is565Layout(D)>(rate))), m_row(MulTable + (rate << 8))
    {
    }

    void operator()(uint8_t* d, const uint8_t* s) const
    {
        if constexpr (HasColourWord(D)) {
            constexpr bool is565 = Is565Layout(D);
            const uint32_t c = Word(s), dw = LoadWord(d);
            uint32_t out = Add ? (is565 ? CPixelOp::Add565(dw, c) : CPixelOp::Add555(dw, c))
                               : (is565 ? CPixelOp::Sub565(dw, c) : CPixelOp::Sub555(dw, c));
            if constexpr (D == ARGB4555) out &= 0x7FFF;
            StoreWord(d, uint16_t(out));
        } else if constexpr (BytesPerPixel(D) == 3) {
            const uint32_t out = Combine(Load24(d), Bytes(s));
            StoreWord(d, uint16_t(out));
            d[2] = uint8_t(out >> 16);
        } else {
            uint32_t out = Combine(LoadCell(d), Bytes(s));
            constexpr Byte3 byte3 = Byte3Of<Op, D, S>();
            if constexpr (byte3 == Byte3::Zero) out &= 0x00FFFFFF;
            if constexpr (byte3 == Byte3::Opaque) out |= 0xFF000000;
            StoreCell(d, out);
        }
    }

private:
    static uint32_t Combine(uint32_t d, uint32_t c) { return Add ? CPixelOp::AddBytes(d, c) : CPixelOp::SubBytes(d, c); }

    // The source colour word as it is combined.
    uint32_t Word(const uint8_t* s) const
    {
        const uint32_t w = LoadWord(s);
        if constexpr (Scale == Scaling::Rate) {
            return m_fade[w];
        } else if constexpr (Scale == Scaling::Alpha || Scale == Scaling::AlphaRate) {
            uint32_t weight = (s[2] & 0x0F) << 4;
            if constexpr (Scale == Scaling::AlphaRate) weight = m_row[weight];
            return FadeLevel<Is565Layout(D)>(LevelOf<Is565Layout(D)>(weight))[w];
        } else {
            return w;
        }
    }

    // The source's colour bytes in the destination's byte order; byte 3 is
    // the source's own only where the X bytes wrap.
    uint32_t Bytes(const uint8_t* s) const
    {
        uint32_t v = LoadPixel<S>(s);
        if constexpr (RedFirst<D> != RedFirst<S>) v = (v & 0xFF00FF00) | ((v >> 16) & 0xFF) | ((v & 0xFF) << 16);
        if constexpr (Scale == Scaling::Rate) {
            return ScaleBytes(m_row, v);
        } else if constexpr (Scale == Scaling::Alpha || Scale == Scaling::AlphaRate) {
            const uint32_t weight = Scale == Scaling::Alpha ? s[3] : m_row[s[3]];
            return ScaleBytes(MulTable + (weight << 8), v);
        } else if constexpr (Byte3Of<Op, D, S>() == Byte3::Wrap) {
            return v;
        } else {
            return v & 0x00FFFFFF;
        }
    }

    const uint16_t* m_fade;
    const uint8_t* m_row;
};

} // namespace kivotasuGameKit::AddSub
