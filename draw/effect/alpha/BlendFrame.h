#pragma once

#include <cstdint>

#include "draw/effect/BlitFrame.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/alpha/PixelOp.h"
#include "draw/effect/alpha/SimdLevel.h"

namespace kivotasuGameKit::Blend {

// Pairs of 32-bit cells with 8-bit channels in the same byte order: their
// 1:1 rows can go to the same-order row kernels (SSE2 or AVX2).
template <SurfaceType D, SurfaceType S>
inline constexpr bool VectorPair = BytesPerPixel(D) == 4 && BytesPerPixel(S) == 4 && D != ARGB4565 &&
                                   D != ARGB4555 && S != ARGB4565 && S != ARGB4555 && Cell8<D>::R == Cell8<S>::R;

// The current same-order row kernels for a vector pair; null for every other pair.
template <SurfaceType D, SurfaceType S> const RowKernels* KernelsFor()
{
    if constexpr (VectorPair<D, S>) return CurrentRowKernels();
    else return nullptr;
}

// The pair kernel of operation Op (10, 14 to 17) on D <- S at the
// processor's level; null where it has no vector level or the pair no kernel.
template <uint32_t Op, SurfaceType D, SurfaceType S> RowFn PairRows()
{
    constexpr int slot = Op == 10 ? 0 : int(Op) - 13;
    switch (CurrentSimdLevel()) {
    case SimdLevel::Avx2: return Avx2PairRows.cell[slot][D][S];
    case SimdLevel::Sse2: return Sse2PairRows.cell[slot][D][S];
    default: return nullptr;
    }
}

// What a blended cell of D gets in byte 3, as a row kernel wants it.
template <SurfaceType D> inline constexpr uint32_t Byte3Of = uint32_t(Cell8<D>::Byte3) << 24;

// The keyed operations' parameter: the key cell in the source's layout
// (KeyOf), then the rate bytes.
template <SurfaceType S> inline constexpr int RatesAt = BytesPerPixel(S);

// A rule with a row kernel for 1:1 areas: the kernel does the leading cells
// of each row it can, the rule the rest; a kernel of whole rows (the
// same-order kernels) takes the whole area in one call.
template <int DB, int SB, class Rule> struct WithRows {
    Rule rule;
    RowFn rows;
    RowParams params;
    bool wholeRows;
    void operator()(uint8_t* d, const uint8_t* s) const { rule(d, s); }
    void Area(uint8_t* d, ptrdiff_t dp, const uint8_t* s, ptrdiff_t sp, int32_t width, int32_t height) const
    {
        if (wholeRows) {
            RowParams area = params;
            area.rows = height;
            area.destinationPitch = dp;
            area.sourcePitch = sp;
            rows(d, s, width, area);
            return;
        }
        for (int32_t y = 0; y < height; ++y, d += dp, s += sp)
            for (int32_t i = rows(d, s, width, params); i < width; ++i) rule(d + DB * i, s + SB * i);
    }
};

// The blend body: the common frame with the pair's rule, the row kernel rows
// (when given) taking the 1:1 rows first; wholeRows says it is one of the
// same-order kernels.
template <SurfaceType D, SurfaceType S, StretchStep Step = StretchStep::BeforeSample, class Rule>
int RunBlend(const CSurfaceInfo* source, const CSurfaceInfo* destination, const BltParams* request, const Rule& rule,
             RowFn rows = nullptr, const RowParams& params = {}, bool wholeRows = false)
{
    constexpr int DB = BytesPerPixel(D), SB = BytesPerPixel(S);
    if (rows)
        return RunEffectBlit<DB, SB, Step>(source, destination, request,
                                           WithRows<DB, SB, Rule>{rule, rows, params, wholeRows});
    return RunEffectBlit<DB, SB, Step>(source, destination, request, rule);
}

} // namespace kivotasuGameKit::Blend
