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
    BltClipResult c;
    if (CEffectBlitter::ClipBlt(destination, source, request, &c)) return 1;
    const uint32_t r = parameter.bytes[0];
    const ptrdiff_t sp = source->GetPitch(), dp = destination->GetPitch();
    const uint8_t* s = source->GetPixelBytes() + c.source.top * sp + ptrdiff_t(c.source.left) * 4;
    uint8_t* d = destination->GetPixelBytes() + c.destination.top * dp + ptrdiff_t(c.destination.left) * 4;
    const int32_t w = c.destination.right - c.destination.left;
    const int32_t h = c.destination.bottom - c.destination.top;
    if (h < 1) return 0;
    if (c.sameSize) {
        const RowKernels* k = CurrentRowKernels();
        const RowParams params{.rate = r};
        for (int32_t y = 0; y < h; ++y, s += sp, d += dp) {
            for (int32_t x = k ? k->fourChannel(d, s, w, params) : 0; x < w; ++x) FourChannel(d + 4 * x, s + 4 * x, r);
        }
        return 0;
    }
    // Each step is taken after its pixel: the first row and column read are
    // the clipped source's top left.
    const ptrdiff_t xStep = ptrdiff_t(c.xStep) * 4, yStep = c.yStep * sp;
    int32_t ey = c.yErrorStart;
    for (int32_t y = 0; y < h; ++y, d += dp) {
        const uint8_t* sx = s;
        int32_t ex = c.xErrorStart;
        for (int32_t x = 0; x < w; ++x) {
            FourChannel(d + 4 * x, sx, r);
            sx += xStep;
            ex += c.xErrorIncrement;
            if (ex >= 0) {
                ex -= c.xErrorDecrement;
                sx += 4;
            }
        }
        s += yStep;
        ey += c.yErrorIncrement;
        if (ey >= 0) {
            ey -= c.yErrorDecrement;
            s += sp;
        }
    }
    return 0;
}

} // namespace kivotasuGameKit::Blend
