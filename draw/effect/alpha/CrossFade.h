#pragma once

// Operations 16 and 17: the source weighted by a plus the destination weighted
// by b, the keyed one behind the source's colour key. Sums past a channel's
// range wrap.

#include "draw/effect/alpha/BlendFrame.h"

namespace kivotasuGameKit::Blend {

// The pixel rule of pair D <- S at rates a (source) and b (destination).
template <SurfaceType D, SurfaceType S> auto TwoRateRule(uint32_t a, uint32_t b)
{
    if constexpr ((D == RGB565 || D == RGB555) && D == S) {
        const uint32_t sourceLevel = a >> 4, destinationLevel = b >> 4;
        return [=](uint8_t* d, const uint8_t* s) {
            CPixelOp::FadeMix<D == RGB565>(d, s, sourceLevel, destinationLevel);
        };
    } else if constexpr (D == RGB565 || D == RGB555) {
        // The destination counts as alpha 15.
        const uint32_t destinationLevel = Mul(b, 240) >> 4;
        return [=](uint8_t* d, const uint8_t* s) {
            CPixelOp::FadeMix<D == RGB565>(d, s, Mul(a, Alpha4(s) << 4) >> 4, destinationLevel);
        };
    } else if constexpr (D == ARGB4565 || D == ARGB4555) {
        return [=](uint8_t* d, const uint8_t* s) {
            CPixelOp::CrossFadeWide<D == ARGB4565>(d, s, HasAlpha(S) ? Mul(Alpha4(s) << 4, a) : a,
                                                   Mul(Alpha4(d) << 4, b));
        };
    } else {
        return [=](uint8_t* d, const uint8_t* s) {
            CPixelOp::CrossFade<D, S>(d, s, HasAlpha(S) ? Mul(s[3], a) : a, HasAlpha(D) ? Mul(d[3], b) : b);
        };
    }
}

template <SurfaceType D, SurfaceType S>
int CrossFade(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate parameter,
              const BltParams* request)
{
    const uint32_t a = parameter.bytes[0], b = parameter.bytes[1];
    return RunBlend<D, S>(source, destination, request, TwoRateRule<D, S>(a, b), PairRows<16, D, S>(),
                          RowParams{.rate = a, .rateB = b});
}

template <SurfaceType D, SurfaceType S>
int KeyCrossFade(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate parameter,
                 const BltParams* request)
{
    const uint32_t key = KeyOf<S>(parameter), a = parameter.bytes[RatesAt<S>], b = parameter.bytes[RatesAt<S> + 1];
    return RunBlend<D, S>(source, destination, request, MakeKeyed<S>(key, TwoRateRule<D, S>(a, b)),
                          PairRows<17, D, S>(), RowParams{.rate = a, .rateB = b, .key = key, .keyMask = PixelFormat<S>::KeyBits});
}

} // namespace kivotasuGameKit::Blend
