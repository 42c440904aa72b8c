#pragma once

// Operation 10: blend by the source's own alpha.

#include "draw/effect/alpha/BlendFrame.h"

namespace kivotasuGameKit::Blend {

template <SurfaceType D, SurfaceType S>
int BlendAlpha(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate, const BltParams* request)
{
    const auto rule = [](uint8_t* d, const uint8_t* s) {
        if constexpr (D == RGB565 || D == RGB555) {
            // The 4-bit alpha is the source's fade level, the rest the destination's.
            const uint32_t level = Alpha4(s);
            CPixelOp::FadeMix<D == RGB565>(d, s, level, 15 - level);
        } else if constexpr (D == ARGB4565 || D == ARGB4555) {
            CPixelOp::BlendAlphaOver4<D == ARGB4565>(d, s);
        } else if constexpr (D == S) {
            CPixelOp::BlendAlphaOver8(d, s);
        } else {
            CPixelOp::BlendRate<D, S>(d, s, s[3]);
        }
    };
    const RowKernels* k = KernelsFor<D, S>();
    const RowFn rows = !k ? PairRows<10, D, S>() : D == S ? k->over : k->rate[SourceAlpha][0];
    return RunBlend<D, S>(source, destination, request, rule, rows, RowParams{.byte3 = Byte3Of<D>}, k != nullptr);
}

} // namespace kivotasuGameKit::Blend
