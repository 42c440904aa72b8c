#pragma once

// The row kernels written once over a vector policy V (SSE2 or AVX2). Only
// included by the files that instantiate them for one instruction set, with V
// defined in their anonymous namespace, so no instance leaks into code built
// for another set. V works on T holding V::Cells 32-bit cells; its 8/16-bit
// unpacks and packs stay within 128-bit lanes, so a round trip keeps order.
// Besides plain lane operations V gives: AlphaLo/AlphaHi(cells), each cell's
// byte 3 in the four 16-bit lanes of that cell in the low/high unpacked half;
// SpreadLo/SpreadHi(w), the low byte of each 32-bit lane likewise; Select(m,
// a, b), a where m is set, else b; AllZero(v, m) and AllSet(v, m), whether the
// bits of m are clear (set) in every lane of v. A V with ByteShuffles also
// gives SpreadTwiceLo/Hi(w), like SpreadLo/Hi but 257 times the byte, and
// AlphaTwice(cells), 257 times byte 3 in the low half of each 32-bit lane.
// SelectsBytes says whether Select goes by the top bit of each byte (then
// AlphaPairsLo/Hi and MulhiS16 serve ByAlpha), else ByAlpha takes Doubled and
// CellsLo/Hi.
//
// Exact truncating division by 255 in 16-bit lanes, for x <= 65534:
// floor(x / 255) = ((x + 1) x 257) >> 16.

#include <cstdint>

#include "draw/effect/alpha/RowKernels.h"

namespace kivotasuGameKit::Blend {

template <class V> struct KernelSet {
    using T = typename V::T;

    static T Div255(T x) { return V::MulhiU16(V::Add16(x, V::Set16(1)), V::Set16(257)); }

    // div255(ws s) + div255(wd d) per byte of a half; ws and wd spread.
    static T MixHalf(T s16, T d16, T ws, T wd)
    {
        return V::Add16(Div255(V::Mullo16(s16, ws)), Div255(V::Mullo16(d16, wd)));
    }

    // Per byte: M[ws][s] + M[wd][d], the weights given per half; Wrapped keeps
    // sums past 255 modulo 256 (else they stay below 256 by the weights).
    template <bool Wrapped = false> static T Mix(T s, T d, T wsLo, T wdLo, T wsHi, T wdHi)
    {
        const T zero = V::Zero();
        T lo = MixHalf(V::UnpackLo8(s, zero), V::UnpackLo8(d, zero), wsLo, wdLo);
        T hi = MixHalf(V::UnpackHi8(s, zero), V::UnpackHi8(d, zero), wsHi, wdHi);
        if constexpr (Wrapped) {
            lo = V::And(lo, V::Set16(0xFF));
            hi = V::And(hi, V::Set16(0xFF));
        }
        return V::PackU16(lo, hi);
    }

    // Per byte M[a][s] + M[255 - a][d], a each cell's byte 3 (alpha: the
    // cells' bits 24-31), with none and full the cells whose a is 0 and 255.
    // With w = 257 a in 16-bit lanes, M[a][s] = mulhi(w + 1, s) for a < 255
    // and M[255 - a][d] = mulhi(-w, d) for a > 0, unsigned. Signed, the
    // products are s or d short as w + 1 or -w is negative, that is a >= 128
    // or a < 128, which also covers both ends: one select by the top bit of
    // w's bytes. Without that select the unsigned products leave 0 at both
    // ends, which the masks fill whole cells at a time.
    static T ByAlpha(T sv, T dv, T none, T full)
    {
        const T zero = V::Zero(), one = V::Set16(1);
        const T s16Lo = V::UnpackLo8(sv, zero), s16Hi = V::UnpackHi8(sv, zero);
        const T d16Lo = V::UnpackLo8(dv, zero), d16Hi = V::UnpackHi8(dv, zero);
        if constexpr (V::SelectsBytes) {
            const auto half = [&](T s16, T d16, T w) {
                const T ws = V::Add16(w, one);
                return V::Add16(V::Add16(V::MulhiS16(ws, s16), V::MulhiS16(V::Sub16(one, ws), d16)),
                                V::Select(w, s16, d16));
            };
            return V::PackU16(half(s16Lo, d16Lo, V::AlphaPairsLo(sv)), half(s16Hi, d16Hi, V::AlphaPairsHi(sv)));
        } else {
            const T w = V::Doubled(sv), ws = V::Add16(w, one), wd = V::Sub16(zero, w);
            const T lo = V::Add16(V::MulhiU16(V::CellsLo(ws), s16Lo), V::MulhiU16(V::CellsLo(wd), d16Lo));
            const T hi = V::Add16(V::MulhiU16(V::CellsHi(ws), s16Hi), V::MulhiU16(V::CellsHi(wd), d16Hi));
            return V::Or(V::Or(V::PackU16(lo, hi), V::And(dv, none)), V::And(sv, full));
        }
    }

    // The p.rows whole rows through block(sv, dv, out), which says whether
    // out is stored: whole vectors, then the last cells loaded and stored in
    // part (the lanes past the row zero), so no byte past a row is touched
    // and no tail falls to the scalar rule.
    static constexpr int32_t PrefetchRows = 4;

    template <class Block>
    static int32_t Rows(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p, const Block& block)
    {
        const ptrdiff_t dp = p.destinationPitch, sp = p.sourcePitch;
        for (int32_t y = p.rows; y > 0; --y, d += dp, s += sp) {
            int32_t i = 0;
            T out;
            // Rows a few ahead, so their lines arrive while these are worked.
            if (y > PrefetchRows) {
                __builtin_prefetch(s + PrefetchRows * sp);
                __builtin_prefetch(s + PrefetchRows * sp + 4 * n - 1);
                __builtin_prefetch(d + PrefetchRows * dp);
                __builtin_prefetch(d + PrefetchRows * dp + 4 * n - 1);
            }
            for (; i + V::Cells <= n; i += V::Cells)
                if (block(V::Load(s + 4 * i), V::Load(d + 4 * i), out)) V::Store(d + 4 * i, out);
            if (i < n && block(V::LoadPart(s + 4 * i, n - i), V::LoadPart(d + 4 * i, n - i), out))
                V::StorePart(d + 4 * i, out, n - i);
        }
        return n;
    }

    template <WeightMode Mode, bool Keyed>
    static int32_t Rate(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        const T colour = V::Set32(0x00FFFFFF), alphaBits = V::Set32(0xFF000000), byte3 = V::Set32(p.byte3);
        const T key = V::Set32(p.key), keyMask = V::Set32(p.keyMask), zero = V::Zero();
        const T c255 = V::Set16(255), rate = V::Set16(uint16_t(p.rate & 0xFF)), inverse = V::Sub16(c255, rate);
        return Rows(d, s, n, p, [&](T sv, T dv, T& out) {
            if constexpr (Mode == SourceAlpha) {
                // Vectors of cells kept whole for their colour are rare where
                // every cell has its own alpha: storing them back unchanged
                // costs less than testing for them. Keyed ones are common.
                T keep = Keyed ? V::CmpEq32(V::And(sv, keyMask), key) : zero;
                if (Keyed && V::AllOnes(keep)) return false;
                const auto blend = [&](T equal, T mixed) {
                    out = V::SelectCells(Keyed ? V::Or(keep, equal) : equal, dv, V::Or(V::And(mixed, colour), byte3));
                    return true;
                };
                // Cells of equal colour, compared shifted: no mask and no
                // zero held in a register.
                const auto sameColour = [&] { return V::CmpEq32(V::Sll32(sv, 8), V::Sll32(dv, 8)); };
                const T alpha = V::And(sv, alphaBits), none = V::CmpEq32(alpha, zero), full = V::CmpEq32(alpha, alphaBits);
                if (V::SelectsBytes ? V::AllZero(sv, alphaBits) : V::AllOnes(none)) {
                    // Weight 0 keeps the destination's colour: only byte 3 can change.
                    return !V::AllOnes(V::CmpEq32(V::And(dv, alphaBits), byte3)) && blend(sameColour(), dv);
                }
                const T equal = sameColour();
                if (V::SelectsBytes ? V::AllSet(sv, alphaBits) : V::AllOnes(full)) return blend(equal, sv);
                return blend(equal, ByAlpha(sv, dv, none, full));
            }
            // Weight 0 keeps the destination's colour: only byte 3 can change.
            const bool transparent = Mode != ConstantRate && V::AllZero(sv, alphaBits);
            if (transparent && V::AllOnes(V::CmpEq32(V::And(dv, alphaBits), byte3))) return false;
            T keep = V::CmpEq32(V::And(V::Xor(sv, dv), colour), zero);
            if constexpr (Keyed) keep = V::Or(keep, V::CmpEq32(V::And(sv, keyMask), key));
            if (V::AllOnes(keep)) return false;
            T mixed;
            if constexpr (Mode == ConstantRate) {
                mixed = Mix(sv, dv, rate, inverse, rate, inverse);
            } else {
                if (transparent) {
                    mixed = dv;
                } else {
                    T wLo = V::AlphaLo(sv), wHi = V::AlphaHi(sv);
                    if constexpr (Mode == SourceAlphaRate) {
                        wLo = Div255(V::Mullo16(wLo, rate));
                        wHi = Div255(V::Mullo16(wHi, rate));
                    }
                    mixed = Mix(sv, dv, wLo, V::Sub16(c255, wLo), wHi, V::Sub16(c255, wHi));
                }
            }
            out = V::Select(keep, dv, V::Or(V::And(mixed, colour), byte3));
            return true;
        });
    }

    // floor(n / d) and floor(m - n / d) per 32-bit lane, for d > 0 and
    // n / d <= m <= 255 (lanes with d = 0 get some value). The single-float
    // quotient is correctly rounded, so within 2^-17 of n / d, which is an
    // integer or at least 1/255 away from one; m minus it rounds as little.
    // Both truncate to the integer results.
    struct Shares {
        T taken, left;
    };
    static Shares Split(T n, T d, float m)
    {
        const auto q = V::Divide(V::ToFloat(n), V::ToFloat(d));
        return {V::Trunc(q), V::Trunc(V::SubF(V::SetF(m), q))};
    }

    // Per byte M[ws][s] + M[wd][d], the weights (at most 254) in the low byte
    // of each cell: M[w][c] = mulhi(257 w + 1, c) for w <= 254, one multiply
    // per term instead of a multiply and a division.
    static T MixByFactors(T s, T d, T ws, T wd)
    {
        const T zero = V::Zero(), one = V::Set16(1);
        const auto half = [&](T s16, T d16, T ws257, T wd257) {
            return V::Add16(V::MulhiU16(s16, V::Add16(ws257, one)), V::MulhiU16(d16, V::Add16(wd257, one)));
        };
        return V::PackU16(half(V::UnpackLo8(s, zero), V::UnpackLo8(d, zero), V::SpreadTwiceLo(ws), V::SpreadTwiceLo(wd)),
                          half(V::UnpackHi8(s, zero), V::UnpackHi8(d, zero), V::SpreadTwiceHi(ws), V::SpreadTwiceHi(wd)));
    }

    // t = M[ad][255 - as], sum = as + t; ws = 255 as / sum and wd = 255 t /
    // sum, which is floor(255 - 255 as / sum) as 255 as + 255 t = 255 sum.
    static int32_t Over(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        const T alphaBits = V::Set32(0xFF000000), c255 = V::Set16(255), zero = V::Zero();
        return Rows(d, s, n, p, [&](T sv, T dv, T& out) {
            if (V::AllSet(sv, alphaBits)) {
                out = sv;
            } else if (V::AllZero(sv, alphaBits)) {
                // The destination's colour, made opaque unless both alphas are 0.
                out = V::Or(dv, V::AndNot(V::CmpEq32(V::And(dv, alphaBits), zero), alphaBits));
                return !V::AllOnes(V::CmpEq32(out, dv));
            } else if (V::AllSet(dv, alphaBits)) {
                // An opaque destination: sum = 255, so ws = as and wd = 255 - as.
                const T wLo = V::AlphaLo(sv), wHi = V::AlphaHi(sv);
                out = V::Or(Mix(sv, dv, wLo, V::Sub16(c255, wLo), wHi, V::Sub16(c255, wHi)), alphaBits);
            } else if constexpr (V::ByteShuffles) {
                // For as > 0, t = mulhi(65536 - 257 as, ad) and 255 as = 257 as -
                // 2 as. A weight of 255 has no factor: t = 0 (ws = 255) takes the
                // source's colour, as = 0 (wd = 255, and t here 0) the
                // destination's; alpha 255 unless both alphas are 0.
                const T as = V::Srl32(sv, 24), ad = V::Srl32(dv, 24), as257 = V::AlphaTwice(sv);
                const T t = V::MulhiU16(V::Sub16(zero, as257), ad);
                const Shares w = Split(V::Sub16(as257, V::Add16(as, as)), V::Add16(as, t), 255.0f);
                const T whole = V::Select(V::CmpEq32(as, zero), dv, sv);
                const T colour = V::Select(V::CmpEq32(t, zero), whole, MixByFactors(sv, dv, w.taken, w.left));
                out = V::Or(colour, V::And(V::Sub32(zero, V::Or(as, ad)), alphaBits));
            } else {
                // Without byte shuffles the factors and the whole-cell selects
                // cost more than the divisions by 255 they save.
                const T as = V::Srl32(sv, 24), ad = V::Srl32(dv, 24);
                const T t = Div255(V::Mullo16(ad, V::Sub16(c255, as)));
                const T sum = V::Add16(as, t);
                const Shares w = Split(V::Mullo16(as, c255), sum, 255.0f);
                const T blended = V::Or(
                    Mix(sv, dv, V::SpreadLo(w.taken), V::SpreadLo(w.left), V::SpreadHi(w.taken), V::SpreadHi(w.left)),
                    alphaBits);
                out = V::Select(V::CmpEq32(sum, zero), dv, blended);
            }
            return true;
        });
    }

    static int32_t FourChannel(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
    {
        const uint32_t r = p.rate & 0xFF;
        const T ws = V::Set64(uint64_t(r) << 32 | r << 16 | r), wd = V::Set64(uint64_t(255 - r) << 32 | (255 - r) << 16 | (255 - r));
        const T zero = V::Zero();
        const auto half = [&](T s16, T d16) {
            return V::Add16(V::Srl16(V::Mullo16(s16, ws), 8), V::Srl16(V::Mullo16(d16, wd), 8));
        };
        return Rows(d, s, n, p, [&](T sv, T dv, T& out) {
            out = V::PackU16(half(V::UnpackLo8(sv, zero), V::UnpackLo8(dv, zero)),
                             half(V::UnpackHi8(sv, zero), V::UnpackHi8(dv, zero)));
            return true;
        });
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
