#pragma once

// Row kernels for every served pair of the blend family, written once over a
// lane policy V (SSE2 or AVX2). Each cell is loaded into 8-bit channels in
// registers (blue, green, red, then the alpha as an 8-bit weight: 4-bit
// alphas times 16), blended, and stored back in its own format, so the pairs
// that differ in layout share the arithmetic of the same-order kernels.
// Destinations of 16-bit words fade their words field by field instead. Only
// included by the files that instantiate it for one instruction set, with V
// in their anonymous namespace.

#include <cstddef>

#include "draw/effect/RoutineGrid.h"
#include "draw/effect/alpha/CellIo.h"
#include "draw/effect/alpha/RowKernelsImpl.h"

namespace kivotasuGameKit::Blend {

template <class V> struct PairRowSet {
    using T = typename V::T;
    using K = KernelSet<V>;
    using C = CellIo<V>;
    using Loaded = typename C::Loaded;

    // A cell's 8-bit alpha times the rate, M[alpha][rate], per half.
    static T AlphaTimes(T alpha16, T rate16) { return K::Div255(V::Mullo16(alpha16, rate16)); }

    // Operations on 8-bit channels: 10, 14 and 15 as M[w][s] + I[w][d] (cells of
    // equal colour untouched, except on ARGB4565/ARGB4555 destinations), 16 and
    // 17 as (M[ws][s] + M[wd][d]) mod 256; 15 and 17 behind the source key.
    template <uint32_t Op, SurfaceType D, SurfaceType S>
    static int32_t ChannelRow(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        constexpr int DB = BytesPerPixel(D), SB = BytesPerPixel(S);
        constexpr bool keyed = Op == 15 || Op == 17, twoRates = Op >= 16, skipEqual = !twoRates && !IsWideFormat(D);
        const T zero = V::Zero(), colourBits = V::Set32(0x00FFFFFF), c255 = V::Set16(255);
        const T byte3 = V::Set32(HasAlpha(D) ? 0xFF000000 : 0), key = V::Set32(p.key), keyMask = V::Set32(p.keyMask);
        const T rate = V::Set16(uint16_t(p.rate & 0xFF)), rateB = V::Set16(uint16_t(p.rateB & 0xFF));
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const Loaded sc = C::template Load<S>(s + ptrdiff_t(i) * SB);
            const Loaded dc = C::template Load<D>(d + ptrdiff_t(i) * DB);
            T keep = zero;
            if constexpr (keyed) keep = V::CmpEq32(V::And(sc.raw, keyMask), key);
            if constexpr (skipEqual) keep = V::Or(keep, V::CmpEq32(V::And(V::Xor(sc.colour, dc.colour), colourBits), zero));
            if (V::AllOnes(keep)) continue;
            T mixed;
            if constexpr (twoRates) {
                T wsLo = rate, wsHi = rate, wdLo = rateB, wdHi = rateB;
                if constexpr (HasAlpha(S)) {
                    wsLo = AlphaTimes(V::AlphaLo(sc.colour), rate);
                    wsHi = AlphaTimes(V::AlphaHi(sc.colour), rate);
                }
                if constexpr (HasAlpha(D)) {
                    wdLo = AlphaTimes(V::AlphaLo(dc.colour), rateB);
                    wdHi = AlphaTimes(V::AlphaHi(dc.colour), rateB);
                }
                mixed = K::template Mix<true>(sc.colour, dc.colour, wsLo, wdLo, wsHi, wdHi);
            } else {
                T wLo = rate, wHi = rate;
                if constexpr (Op == 10) {
                    wLo = V::AlphaLo(sc.colour);
                    wHi = V::AlphaHi(sc.colour);
                } else if constexpr (HasAlpha(S)) {
                    wLo = AlphaTimes(V::AlphaLo(sc.colour), rate);
                    wHi = AlphaTimes(V::AlphaHi(sc.colour), rate);
                }
                mixed = K::Mix(sc.colour, dc.colour, wLo, V::Sub16(c255, wLo), wHi, V::Sub16(c255, wHi));
            }
            C::template Store<D>(d + ptrdiff_t(i) * DB, dc, keep, V::Or(V::And(mixed, colourBits), byte3));
        }
        return i;
    }

    // 16-bit words (in 32-bit lanes) with every field times level / 15,
    // truncated: floor(x / 15) = (x x 4370) >> 16 for x <= 63 x 15.
    template <bool Is565> static T FadeWords(T w, T level)
    {
        const T r = V::And(V::Srl32(w, Is565 ? 11 : 10), V::Set32(0x1F));
        const T g = V::And(V::Srl32(w, 5), V::Set32(Is565 ? 0x3F : 0x1F));
        const T b = V::And(w, V::Set32(0x1F));
        const auto scale = [&](T field) { return V::MulhiU16(V::Mullo16(field, level), V::Set16(4370)); };
        return V::Or(V::Or(V::Sll32(scale(r), Is565 ? 11 : 10), V::Sll32(scale(g), 5)), scale(b));
    }

    // RGB565/RGB555 destinations: the source word at level Ls plus the
    // destination word at Ld, kept to 16 bits.
    template <uint32_t Op, SurfaceType D, SurfaceType S>
    static int32_t FadeRow(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        constexpr int SB = BytesPerPixel(S);
        constexpr bool keyed = Op == 15 || Op == 17, twoRates = Op >= 16, fromAlpha = IsWideFormat(S);
        const uint32_t a = p.rate & 0xFF, b = p.rateB & 0xFF;
        const T zero = V::Zero(), words = V::Set32(0xFFFF), fifteen = V::Set32(15), key = V::Set32(p.key);
        const T keyMask = V::Set32(p.keyMask), rate = V::Set16(uint16_t(a));
        // Levels that hold for the whole blit.
        const T sourceLevel = V::Set32(a >> 4);
        const T destinationLevel = V::Set32(!twoRates ? 15 - (a >> 4) : fromAlpha ? (b * 240 / 255) >> 4 : b >> 4);
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const T sRaw = C::template LoadRaw<S>(s + ptrdiff_t(i) * SB), dw = C::template LoadRaw<D>(d + ptrdiff_t(i) * 2);
            const T sw = V::And(sRaw, words);
            T keep = zero;
            if constexpr (keyed) keep = V::CmpEq32(V::And(sRaw, keyMask), key);
            if constexpr (!twoRates && !fromAlpha && Op != 10) keep = V::Or(keep, V::CmpEq32(sw, dw));
            if (V::AllOnes(keep)) continue;
            T ls = sourceLevel, ld = destinationLevel;
            if constexpr (fromAlpha) {
                const T alpha4 = V::And(V::Srl32(sRaw, 16), fifteen);
                ls = Op == 10 ? alpha4 : V::Srl32(K::Div255(V::Mullo16(V::Sll32(alpha4, 4), rate)), 4);
                if constexpr (!twoRates) ld = V::Sub32(fifteen, ls);
            }
            const T mixed = V::And(V::Add32(FadeWords<D == RGB565>(sw, ls), FadeWords<D == RGB565>(dw, ld)), words);
            V::StoreWords(d + ptrdiff_t(i) * 2, V::Select(keep, dw, mixed));
        }
        return i;
    }

    // Operation 10 between two 4-bit alpha cells: S = As x 16, t = M[Ad x 16][240
    // - S], alpha byte (t + S) >> 4; the words faded to 15 S / (t + S) and
    // 15 t / (t + S), the latter being 14 or 15 minus the former as the division
    // is inexact or exact. Both alphas 0: only the alpha byte (0) is written.
    template <SurfaceType D> static int32_t Over4Row(uint8_t* d, const uint8_t* s, int32_t n, const RowParams&)
    {
        const T zero = V::Zero(), words = V::Set32(0xFFFF), nibbleHigh = V::Set32(0xF0);
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const T sv = V::Load(s + 4 * i), dv = V::Load(d + 4 * i);
            const T sa = V::And(V::Srl32(sv, 12), nibbleHigh), da = V::And(V::Srl32(dv, 12), nibbleHigh);
            const T t = K::Div255(V::Mullo16(da, V::Sub16(V::Set16(240), sa)));
            const T sum = V::Add32(t, sa);
            const T scaled = V::Mullo16(sa, V::Set16(15));
            const T ls = V::TruncDiv(V::ToFloat(scaled), V::ToFloat(sum));
            const T exact = V::CmpEq32(V::Mullo16(ls, sum), scaled);
            const T ld = V::Sub32(V::Sub32(V::Set32(14), ls), exact);
            const T faded = V::And(V::Add32(FadeWords<D == ARGB4565>(V::And(sv, words), ls),
                                                    FadeWords<D == ARGB4565>(V::And(dv, words), ld)),
                                   words);
            const T colour = V::Select(V::CmpEq32(sum, zero), V::And(dv, words), faded);
            const T alpha = V::Sll32(V::Srl32(sum, 4), 16);
            V::Store(d + 4 * i, V::Or(V::Or(V::And(dv, V::Set32(0xFF000000)), alpha), colour));
        }
        return i;
    }

    template <uint32_t Op, SurfaceType D, SurfaceType S> static constexpr RowFn PairRow()
    {
        if constexpr (IsWordFormat(D)) return &FadeRow<Op, D, S>;
        else if constexpr (Op == 10 && IsWideFormat(D)) return &Over4Row<D>;
        else if constexpr (Op == 10 && D == S) return nullptr; // 8-bit alpha over: the same-order kernels
        else return &ChannelRow<Op, D, S>;
    }

    template <uint32_t Op> static consteval void FillSlot(PairRowTable& table, int slot)
    {
        FillServedPairs<Op>(table.cell[slot], []<SurfaceType D, SurfaceType S>() { return PairRow<Op, D, S>(); });
    }

    static consteval PairRowTable Table()
    {
        PairRowTable table{};
        FillSlot<10>(table, 0);
        FillSlot<14>(table, 1);
        FillSlot<15>(table, 2);
        FillSlot<16>(table, 3);
        FillSlot<17>(table, 4);
        return table;
    }
};

} // namespace kivotasuGameKit::Blend
