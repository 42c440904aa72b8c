#pragma once

// The row kernels written once over a vector policy V (SSE2 or AVX2). Only
// included by the files that instantiate them for one instruction set, with V
// defined in their anonymous namespace, so no instance leaks into code built
// for another set. V works on T holding V::Cells 32-bit cells; its 8/16-bit
// unpacks and packs stay within 128-bit lanes, so a round trip keeps order.
//
// Exact truncating division by 255 for x <= 65025 in 16-bit lanes:
// (x + 1 + (x >> 8)) >> 8, never above 65280.

#include <cstdint>

#include "draw/effect/alpha/RowKernels.h"

namespace kivotasuGameKit::Blend {

template <class V> struct KernelSet {
    using T = typename V::T;

    static T Div255(T x) { return V::Srl16(V::Add16(V::Add16(x, V::Set16(1)), V::Srl16(x, 8)), 8); }

    // Per-cell 32-bit weights (0..255) spread over the four 16-bit channel
    // lanes of the cells in the low and the high unpacked half.
    static T SpreadLo(T w32) { const T w = V::Or(w32, V::Sll32(w32, 16)); return V::UnpackLo32(w, w); }
    static T SpreadHi(T w32) { const T w = V::Or(w32, V::Sll32(w32, 16)); return V::UnpackHi32(w, w); }

    // div255(ws s) + div255(wd d) per byte of a half; ws and wd spread.
    static T MixHalf(T s16, T d16, T ws, T wd)
    {
        return V::Add16(Div255(V::Mullo16(s16, ws)), Div255(V::Mullo16(d16, wd)));
    }

    // M[w][s] + M[255 - w][d] = M[w][s] + I[w][d] for per-cell weights w32.
    static T RateMix(T s, T d, T w32)
    {
        const T zero = V::Zero(), inv = V::Sub16(V::Set32(255), w32);
        const T lo = MixHalf(V::UnpackLo8(s, zero), V::UnpackLo8(d, zero), SpreadLo(w32), SpreadLo(inv));
        const T hi = MixHalf(V::UnpackHi8(s, zero), V::UnpackHi8(d, zero), SpreadHi(w32), SpreadHi(inv));
        return V::PackU16(lo, hi);
    }

    template <WeightMode Mode, bool Keyed>
    static int32_t Rate(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        const T colour = V::Set32(0x00FFFFFF), alphaBits = V::Set32(0xFF000000), byte3 = V::Set32(p.byte3);
        const T rate = V::Set32(p.rate), key = V::Set32(p.key), keyMask = V::Set32(p.keyMask), zero = V::Zero();
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const T sv = V::Load(s + 4 * i), dv = V::Load(d + 4 * i);
            T keep = V::CmpEq32(V::And(V::Xor(sv, dv), colour), zero);
            if constexpr (Keyed) keep = V::Or(keep, V::CmpEq32(V::And(sv, keyMask), key));
            if (V::AllOnes(keep)) continue;
            T mixed;
            if constexpr (Mode == ConstantRate) {
                mixed = RateMix(sv, dv, rate);
            } else {
                const T alpha = V::And(sv, alphaBits);
                if (V::AllOnes(V::CmpEq32(alpha, zero))) mixed = dv; // weight 0: the destination's colour
                else if (Mode == SourceAlpha && V::AllOnes(V::CmpEq32(alpha, alphaBits))) mixed = sv;
                else {
                    const T a = V::Srl32(sv, 24);
                    mixed = RateMix(sv, dv, Mode == SourceAlpha ? a : Div255(V::Mullo16(a, rate)));
                }
            }
            const T blended = V::Or(V::And(mixed, colour), byte3);
            V::Store(d + 4 * i, V::Or(V::And(keep, dv), V::AndNot(keep, blended)));
        }
        return i;
    }

    // t = M[ad][255 - as], sum = as + t; ws = 255 as / sum, wd = 255 t / sum.
    // The quotients go through single floats: numerator and divisor are exact
    // and the rounded quotient can neither reach nor pass the next integer
    // (|n / d| < 256 with a fraction of at least 1/255), so truncating gives
    // the integer quotient.
    static int32_t Over(uint8_t* d, const uint8_t* s, int32_t n, const RowParams&)
    {
        const T alphaBits = V::Set32(0xFF000000), c255 = V::Set32(255), zero = V::Zero();
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const T sv = V::Load(s + 4 * i), dv = V::Load(d + 4 * i);
            const T sourceAlpha = V::And(sv, alphaBits);
            const T destinationClear = V::CmpEq32(V::And(dv, alphaBits), zero);
            T out;
            if (V::AllOnes(V::CmpEq32(sourceAlpha, alphaBits))) {
                out = sv;
            } else if (V::AllOnes(V::CmpEq32(sourceAlpha, zero))) {
                // The destination's colour, made opaque unless both alphas are 0.
                out = V::Or(dv, V::AndNot(destinationClear, alphaBits));
            } else {
                const T as = V::Srl32(sv, 24), ad = V::Srl32(dv, 24);
                const T t = Div255(V::Mullo16(ad, V::Sub16(c255, as)));
                const T sum = V::Add16(as, t);
                const auto divisor = V::ToFloat(sum);
                const T ws = V::TruncDiv(V::ToFloat(V::Mullo16(as, c255)), divisor);
                const T wd = V::TruncDiv(V::ToFloat(V::Mullo16(t, c255)), divisor);
                const T lo = MixHalf(V::UnpackLo8(sv, zero), V::UnpackLo8(dv, zero), SpreadLo(ws), SpreadLo(wd));
                const T hi = MixHalf(V::UnpackHi8(sv, zero), V::UnpackHi8(dv, zero), SpreadHi(ws), SpreadHi(wd));
                const T blended = V::Or(V::PackU16(lo, hi), alphaBits);
                const T unchanged = V::CmpEq32(sum, zero);
                out = V::Or(V::And(unchanged, dv), V::AndNot(unchanged, blended));
            }
            V::Store(d + 4 * i, out);
        }
        return i;
    }

    static int32_t FourChannel(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        const uint32_t r = p.rate & 0xFF;
        const T ws = V::Set64(uint64_t(r) << 32 | r << 16 | r), wd = V::Set64(uint64_t(255 - r) << 32 | (255 - r) << 16 | (255 - r));
        const T zero = V::Zero();
        int32_t i = 0;
        for (; i + V::Cells <= n; i += V::Cells) {
            const T sv = V::Load(s + 4 * i), dv = V::Load(d + 4 * i);
            const auto half = [&](T s16, T d16) {
                return V::Add16(V::Srl16(V::Mullo16(s16, ws), 8), V::Srl16(V::Mullo16(d16, wd), 8));
            };
            const T lo = half(V::UnpackLo8(sv, zero), V::UnpackLo8(dv, zero));
            const T hi = half(V::UnpackHi8(sv, zero), V::UnpackHi8(dv, zero));
            V::Store(d + 4 * i, V::PackU16(lo, hi));
        }
        return i;
    }

    static constexpr RowKernels Table()
    {
        return RowKernels{{{&Rate<SourceAlpha, false>, &Rate<SourceAlpha, true>},
                           {&Rate<SourceAlphaRate, false>, &Rate<SourceAlphaRate, true>},
                           {&Rate<ConstantRate, false>, &Rate<ConstantRate, true>}},
                          &Over,
                          &FourChannel};
    }
};

} // namespace kivotasuGameKit::Blend
