#pragma once

// The vector rows written once over a lane policy V (SSE2 or AVX2): the
// alpha family's lanes plus byte adds and subtracts (saturating and
// wrapping), 16-bit compares and shifts. Only included by the files that
// instantiate them for one instruction set; everything they run is a member
// of RowSet<V> with V in an anonymous namespace, or a constant, so no inline
// function compiled for one set can stand in for another's.

#include <cstddef>
#include <utility>

#include "draw/effect/EffectBlitter.h"
#include "draw/effect/addsub/AddSubRows.h"
#include "draw/effect/addsub/AddSubRules.h"
#include "draw/effect/alpha/CellIo.h"
#include "draw/effect/alpha/RowKernelsImpl.h"

namespace kivotasuGameKit::AddSub {

template <class V> struct RowSet {
    using T = typename V::T;
    using K = Blend::KernelSet<V>;

    // Each byte of cells times the 16-bit weight of its half, M[w][c].
    static T Scale(T cells, T wLo, T wHi)
    {
        const T zero = V::Zero();
        return V::PackU16(K::Div255(V::Mullo16(V::UnpackLo8(cells, zero), wLo)),
                          K::Div255(V::Mullo16(V::UnpackHi8(cells, zero), wHi)));
    }

    // The rule on cells of 8-bit channels in one byte order: d and s as
    // stored (or both with red and blue exchanged), rate in every 16-bit lane.
    template <uint32_t Op, SurfaceType D, SurfaceType S> static T Combine(T d, T s, T rate)
    {
        constexpr Scaling scale = ScalingOf<Op, D, S>();
        constexpr Byte3 byte3 = Byte3Of<Op, D, S>();
        constexpr bool add = IsAddOp(Op);
        const T colour = V::Set32(0x00FFFFFF);
        T c = s;
        if constexpr (scale == Scaling::Rate) {
            c = V::And(Scale(s, rate, rate), colour);
        } else if constexpr (scale != Scaling::None) {
            T wLo = V::AlphaLo(s), wHi = V::AlphaHi(s);
            if constexpr (scale == Scaling::AlphaRate) {
                wLo = K::Div255(V::Mullo16(wLo, rate));
                wHi = K::Div255(V::Mullo16(wHi, rate));
            }
            c = V::And(Scale(s, wLo, wHi), colour);
        }
        const T out = add ? V::AddSat8(d, c) : V::SubSat8(d, c);
        if constexpr (byte3 == Byte3::Wrap)
            return V::Or(V::And(out, colour), V::AndNot(colour, add ? V::Add8(d, s) : V::Sub8(d, s)));
        else if constexpr (byte3 == Byte3::Zero) return V::And(out, colour);
        else if constexpr (byte3 == Byte3::Opaque) return V::Or(out, V::Set32(0xFF000000));
        else return out;
    }

    template <uint32_t Op, SurfaceType D, SurfaceType S>
    static int32_t Cells(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        const T rate = V::Set16(uint16_t(p.rate & 0xFF)), key = V::Set32(p.key), keyMask = V::Set32(p.keyMask);
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const T sv = V::Load(s + 4 * ptrdiff_t(i)), dv = V::Load(d + 4 * ptrdiff_t(i));
            T out = Combine<Op, D, S>(dv, sv, rate);
            if constexpr (IsKeyedOp(Op)) out = V::Select(V::CmpEq32(V::And(sv, keyMask), key), dv, out);
            V::Store(d + 4 * ptrdiff_t(i), out);
        }
        return i;
    }

    // Every field of 16-bit words times level / 15, truncated:
    // floor(x / 15) = (x x 4370) >> 16 for x <= 63 x 15.
    template <bool Is565> static T Fade(T w, T level)
    {
        const auto scale = [&](T field) { return V::MulhiU16(V::Mullo16(field, level), V::Set16(4370)); };
        const T r = V::And(V::Srl16(w, Is565 ? 11 : 10), V::Set16(0x1F));
        const T g = V::And(V::Srl16(w, 5), V::Set16(Is565 ? 0x3F : 0x1F));
        const T b = V::And(w, V::Set16(0x1F));
        return V::Or(V::Or(V::Sll16(scale(r), Is565 ? 11 : 10), V::Sll16(scale(g), 5)), scale(b));
    }

    // The packed 16-bit forms of CPixelOp in 16-bit lanes: all ones in each
    // field of a + b that passes its maximum.
    template <bool Is565> static T Overflow(T a, T b)
    {
        if constexpr (Is565) {
            const T carries = V::And(V::Add16(V::And(V::Srl16(V::Xor(a, b), 1), V::Set16(0x7BEF)), V::And(a, b)),
                                     V::Set16(0x8410));
            const T spread = V::Srai16(V::Add16(carries, V::Set16(0x3DF0)), 5);
            return V::Xor(V::Add16(V::And(spread, V::Set16(0xFBFF)), V::Set16(0x200)), V::Set16(0x3EF));
        } else {
            const T sum = V::Add16(V::And(V::Xor(a, b), V::Set16(0x7BDE)), V::Sll16(V::And(a, b), 1));
            return V::Xor(V::Add16(V::And(V::Srl16(sum, 5), V::Set16(0x421)), V::Set16(0x3DEF)), V::Set16(0x3DEF));
        }
    }

    // Two rows of 16-bit words combined field by field (CPixelOp's packed forms).
    template <bool Is565, bool Add> static T CombineWords(T d, T c)
    {
        if constexpr (Add) {
            const T m = Overflow<Is565>(c, d);
            return V::Or(V::Add16(V::Sub16(c, m), d), m);
        } else {
            const T m = Overflow<Is565>(c, V::Xor(d, V::CmpEq16(d, d)));
            return V::Sub16(V::Or(m, d), V::Or(m, c));
        }
    }

    template <uint32_t Op, SurfaceType D>
    static int32_t Words(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        constexpr bool is565 = D == RGB565, add = IsAddOp(Op), keyed = IsKeyedOp(Op), rated = IsRateOp(Op);
        constexpr int32_t per = V::Cells * 2;
        // The rate's fade level as LevelOf gives it, written out here.
        const T level = V::Set16(uint16_t(((p.rate & 0xFF) >> 4) & (is565 ? 0xE : 0xF)));
        const T key = V::Set16(uint16_t(p.key));
        int32_t i = 0;
        for (; i + per <= n; i += per) {
            const T sv = V::Load(s + 2 * ptrdiff_t(i)), dv = V::Load(d + 2 * ptrdiff_t(i));
            T out = CombineWords<is565, add>(dv, rated ? Fade<is565>(sv, level) : sv);
            if constexpr (keyed) out = V::Select(V::CmpEq16(sv, key), dv, out);
            V::Store(d + 2 * ptrdiff_t(i), out);
        }
        return i;
    }

    template <uint32_t Op, SurfaceType D, SurfaceType S> static constexpr RowFn Pick()
    {
        if constexpr (!VectorPair<D, S>) return nullptr;
        else if constexpr (BytesPerPixel(D) == 2) return &Words<Op, D>;
        else return &Cells<Op, D, S>;
    }
};

// The rows of every other served pair, whose cells are loaded into 8-bit
// channels (or 16-bit colour words in 32-bit lanes) and stored back in their
// own formats.
template <class V> struct PairRowSet {
    using T = typename V::T;
    using R = RowSet<V>;
    using K = Blend::KernelSet<V>;
    using C = Blend::CellIo<V>;
    using Loaded = typename C::Loaded;

    // Cells of 8-bit channels in any byte order and size, taken as channels in
    // XRGB order.
    template <uint32_t Op, SurfaceType D, SurfaceType S>
    static int32_t ChannelRow(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        constexpr int DB = BytesPerPixel(D), SB = BytesPerPixel(S);
        constexpr bool keyed = IsKeyedOp(Op);
        const T rate = V::Set16(uint16_t(p.rate & 0xFF)), key = V::Set32(p.key), keyMask = V::Set32(p.keyMask);
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const Loaded sc = C::template Load<S>(s + ptrdiff_t(i) * SB);
            const Loaded dc = C::template Load<D>(d + ptrdiff_t(i) * DB);
            const T out = R::template Combine<Op, D, S>(dc.colour, sc.colour, rate);
            const T keep = keyed ? V::CmpEq32(V::And(sc.raw, keyMask), key) : V::Zero();
            C::template Store<D>(d + ptrdiff_t(i) * DB, dc, keep, out);
        }
        return i;
    }

    // RGB565 / RGB555 from ARGB4565 / ARGB4555: the colour words in 32-bit lanes,
    // each faded at the level of its alpha (times the rate).
    template <uint32_t Op, SurfaceType D, SurfaceType S>
    static int32_t WordFromCellRow(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        constexpr bool is565 = D == RGB565, keyed = IsKeyedOp(Op);
        const T words = V::Set32(0xFFFF), rate = V::Set16(uint16_t(p.rate & 0xFF)), key = V::Set32(p.key);
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const T sRaw = C::template LoadRaw<S>(s + 4 * ptrdiff_t(i)), dw = C::template LoadRaw<D>(d + 2 * ptrdiff_t(i));
            const T sw = V::And(sRaw, words);
            T weight = V::Sll32(V::And(V::Srl32(sRaw, 16), V::Set32(0x0F)), 4);
            if constexpr (IsRateOp(Op)) weight = K::Div255(V::Mullo16(weight, rate));
            const T level = V::And(V::Srl32(weight, 4), V::Set32(is565 ? 0xE : 0xF));
            const T out = V::And(R::template CombineWords<is565, IsAddOp(Op)>(dw, R::template Fade<is565>(sw, level)), words);
            const T keep = keyed ? V::CmpEq32(sw, key) : V::Zero();
            V::StoreWords(d + 2 * ptrdiff_t(i), V::Select(keep, dw, out));
        }
        return i;
    }

    // ARGB4565 / ARGB4555 destinations: the colour words in 32-bit lanes, bytes
    // 2 and 3 of each cell kept.
    template <uint32_t Op, SurfaceType D, SurfaceType S>
    static int32_t CellWordRow(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        constexpr int SB = BytesPerPixel(S);
        constexpr bool is565 = D == ARGB4565, keyed = IsKeyedOp(Op);
        constexpr bool faded = ScalingOf<Op, D, S>() == Scaling::Rate;
        const T words = V::Set32(0xFFFF), key = V::Set32(p.key);
        // The rate's fade level as LevelOf gives it, written out here.
        const T level = V::Set32(((p.rate & 0xFF) >> 4) & (is565 ? 0xE : 0xF));
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const T sw = V::And(C::template LoadRaw<S>(s + ptrdiff_t(i) * SB), words);
            const T dRaw = V::Load(d + 4 * ptrdiff_t(i));
            const T c = faded ? R::template Fade<is565>(sw, level) : sw;
            const T combined = R::template CombineWords<is565, IsAddOp(Op)>(V::And(dRaw, words), c);
            const T out = V::Or(V::AndNot(words, dRaw), V::And(combined, V::Set32(is565 ? 0xFFFF : 0x7FFF)));
            const T keep = keyed ? V::CmpEq32(sw, key) : V::Zero();
            V::Store(d + 4 * ptrdiff_t(i), V::Select(keep, dRaw, out));
        }
        return i;
    }

    template <uint32_t Op, SurfaceType D, SurfaceType S> static constexpr RowFn Pick()
    {
        if constexpr (VectorPair<D, S>) return nullptr;
        else if constexpr (D == RGB565 || D == RGB555) return &WordFromCellRow<Op, D, S>;
        else if constexpr (D == ARGB4565 || D == ARGB4555) return &CellWordRow<Op, D, S>;
        else return &ChannelRow<Op, D, S>;
    }
};

// A table of rows by Rows::template Pick<Op, D, S>() for every served pair.
template <class Rows, uint32_t Op, std::size_t... I>
consteval void FillSlot(RowTable& table, std::index_sequence<I...>)
{
    auto cell = [&]<std::size_t N>() {
        constexpr int32_t dst = N / SurfaceTypeCount, src = N % SurfaceTypeCount;
        if constexpr (EffectBltServes(Op, dst, src))
            table.cell[Op - 2][dst][src] = Rows::template Pick<Op, SurfaceType(dst), SurfaceType(src)>();
    };
    (cell.template operator()<I>(), ...);
}

template <class Rows> consteval RowTable MakeRowTable()
{
    RowTable table{};
    constexpr auto pairs = std::make_index_sequence<SurfaceTypeCount * SurfaceTypeCount>();
    FillSlot<Rows, 2>(table, pairs);
    FillSlot<Rows, 3>(table, pairs);
    FillSlot<Rows, 4>(table, pairs);
    FillSlot<Rows, 5>(table, pairs);
    FillSlot<Rows, 6>(table, pairs);
    FillSlot<Rows, 7>(table, pairs);
    FillSlot<Rows, 8>(table, pairs);
    FillSlot<Rows, 9>(table, pairs);
    return table;
}

} // namespace kivotasuGameKit::AddSub
