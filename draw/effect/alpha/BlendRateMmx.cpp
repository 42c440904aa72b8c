// The four-channel body of operation 14 for XRGB8888 <- XRGB8888.
#include "draw/effect/alpha/BlendRate.h"

namespace kivotasuGameKit::Blend {

namespace {

void FourChannel(uint8_t* d, const uint8_t* s, uint32_t r)
{
    for (int i = 0; i < 3; ++i) d[i] = uint8_t((s[i] * r >> 8) + (d[i] * (255 - r) >> 8));
    d[3] = 0;
}

} // namespace

int BlendRateMMX(const CSurfaceInfo* source, const CSurfaceInfo* destination, BltKeyRate parameter,
                 const BltParams* request)
{
    const uint32_t r = parameter.bytes[0];
    const RowKernels* k = CurrentRowKernels();
    return RunBlend<XRGB8888, XRGB8888, StretchStep::AfterSample>(
        source, destination, request, [r](uint8_t* d, const uint8_t* s) { FourChannel(d, s, r); },
        k ? k->fourChannel : nullptr, RowParams{.rate = r}, true);
}

} // namespace kivotasuGameKit::Blend
