#pragma once

// Operations 14 and 15: blend at one rate r, the keyed one behind the source's
// colour key. A source with alpha weighs r by it.

#include "draw/effect/alpha/BlendFrame.h"

namespace kivotasuGameKit::Blend {

// The pixel rule of pair D <- S at rate r (0..255).
template <SurfaceType D, SurfaceType S> auto RateRule(uint32_t r)
{
    if constexpr ((D == RGB565 || D == RGB555) && D == S) {
        // Levels r >> 4 and its complement; an equal word is left alone.
        const uint32_t level = r >> 4;
        return [level](uint8_t* d, const uint8_t* s) {
            if (LoadWord(d) != LoadWord(s)) CPixelOp::FadeMix<D == RGB565>(d, s, level, 15 - level);
        };
    } else if constexpr (D == RGB565 || D == RGB555) {
        return [r](uint8_t* d, const uint8_t* s) {
            const uint32_t level = Mul(r, Alpha4(s) << 4) >> 4;
            CPixelOp::FadeMix<D == RGB565>(d, s, level, 15 - level);
        };
    } else if constexpr (D == ARGB4565 || D == ARGB4555) {
        return [r](uint8_t* d, const uint8_t* s) {
            CPixelOp::BlendRateWide<D == ARGB4565>(d, s, HasAlpha(S) ? Mul(Alpha4(s) << 4, r) : r);
        };
    } else {
        return [r](uint8_t* d, const uint8_t* s) { CPixelOp::BlendRate<D, S>(d, s, HasAlpha(S) ? Mul(s[3], r) : r); };
    }
}

template <SurfaceType S> inline constexpr WeightMode RateWeight = HasAlpha(S) ? SourceAlphaRate : ConstantRate;

// The row kernel of operation Op (14 or 15): the same-order kernels where
// they apply (every vector pair), else the pair kernels.
template <uint32_t Op, SurfaceType D, SurfaceType S> RowFn RateRows()
{
    if (const RowKernels* k = KernelsFor<D, S>()) return k->rate[RateWeight<S>][Op == 15];
    return PairRows<Op, D, S>();
}

template <SurfaceType D, SurfaceType S>
int BlendRate(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate parameter,
              const BltParams* request)
{
    const uint32_t r = parameter.bytes[0];
    return RunBlend<D, S>(source, destination, request, RateRule<D, S>(r), RateRows<14, D, S>(),
                          RowParams{.rate = r, .byte3 = Byte3Of<D>}, VectorPair<D, S>);
}

template <SurfaceType D, SurfaceType S>
int KeyBlendRate(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate parameter,
                 const BltParams* request)
{
    const uint32_t key = KeyOf<S>(parameter), r = parameter.bytes[RatesAt<S>];
    return RunBlend<D, S>(source, destination, request, MakeKeyed<S>(key, RateRule<D, S>(r)), RateRows<15, D, S>(),
                          RowParams{.rate = r, .byte3 = Byte3Of<D>, .key = key, .keyMask = PixelFormat<S>::KeyBits},
                          VectorPair<D, S>);
}

// Operation 14 on XRGB8888 <- XRGB8888 where the processor reports MMX: the
// four-channel arithmetic, dividing by 256, every cell written, byte 3 = 0;
// a stretch samples one fractional step behind the other bodies.
int BlendRateMMX(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate parameter,
                 const BltParams* request);

} // namespace kivotasuGameKit::Blend
