#pragma once

#include <cstddef>
#include <cstdint>

#include "draw/effect/SurfaceType.h"

namespace kivotasuGameKit::Blend {

// Vector forms of the rules on rows of 32-bit cells. Each does the leading
// cells of a row it can and returns how many; the caller runs the scalar rule
// on the rest. The same-order kernels (RowKernels: source and destination
// keep their channels in the same byte order) do whole rows. Results equal
// the scalar rules bit for bit.
struct RowParams {
    uint32_t rate = 0;    // r, or a of the two-rate operations (low byte)
    uint32_t rateB = 0;   // b of the two-rate operations (low byte)
    uint32_t byte3 = 0;   // what a blended cell gets in byte 3: 0 or 0xFF000000
    uint32_t key = 0;     // keyed rows: a source cell equal to key under keyMask is skipped
    uint32_t keyMask = 0;
    // The same-order kernels (RowKernels) do rows rows of n cells in one
    // call, each the pitches on from the one before; the others do one.
    int32_t rows = 1;
    ptrdiff_t destinationPitch = 0, sourcePitch = 0;
};

using RowFn = int32_t (*)(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p);

// How a rate row weighs the source: by its alpha, by its alpha times the
// rate (M[alpha][r]), or by the rate alone.
enum WeightMode { SourceAlpha, SourceAlphaRate, ConstantRate, WeightModeCount };

struct RowKernels {
    // M[w][s] + I[w][d] per colour channel, cells of equal colour (and keyed
    // cells) untouched: [weight mode][keyed].
    RowFn rate[WeightModeCount][2];
    // Alpha over of two 8-bit alpha cells (CPixelOp::BlendAlphaOver8).
    RowFn over;
    // floor(s r / 256) + floor(d (255 - r) / 256) on all four bytes, byte 3
    // weighted 0: the four-channel constant-rate blend.
    RowFn fourChannel;
};

extern const RowKernels Sse2RowKernels;
extern const RowKernels Avx2RowKernels;

// Row kernels of every served pair, by operation slot (10, 14, 15, 16, 17)
// and pair (null where none): for these the caller passes the rates and, for
// the keyed operations, the key cell as stored (its compared bits) with those
// bits in keyMask; byte3 is not read.
inline constexpr int BlendOpSlots = 5;
struct PairRowTable {
    RowFn cell[BlendOpSlots][SurfaceTypeCount][SurfaceTypeCount];
};
extern const PairRowTable Sse2PairRows;
extern const PairRowTable Avx2PairRows;

} // namespace kivotasuGameKit::Blend
