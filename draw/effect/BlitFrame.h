#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "draw/effect/EffectBlitter.h"
#include "draw/effect/PixelFormat.h"

namespace kivotasuGameKit {

// The keyed operations' key: the key cell in the source's stored layout,
// only the bits a key test compares.
template <SurfaceType S> uint32_t KeyOf(const BltKeyRate& parameter)
{
    uint32_t key = 0;
    std::memcpy(&key, parameter.bytes, PixelFormat<S>::Bytes);
    return key & PixelFormat<S>::KeyBits;
}

// A pixel rule behind the source's colour key: a source cell equal to the key
// leaves its destination cell unread and unwritten.
template <SurfaceType S, class Rule> struct Keyed {
    uint32_t key;
    Rule rule;
    void operator()(uint8_t* d, const uint8_t* s) const
    {
        if ((LoadPixel<S>(s) & PixelFormat<S>::KeyBits) != key) rule(d, s);
    }
};
template <SurfaceType S, class Rule> Keyed<S, Rule> MakeKeyed(uint32_t key, Rule rule) { return {key, rule}; }

// The common frame of every effect-blit routine: clip, then apply op(d, s)
// to each destination cell d with its source cell s, 1:1 or by the stepping
// terms of a stretch. Op is a per-pixel functor; the same-size rows are plain
// loops over restrict pointers that the compiler unrolls and vectorises, or
// op.Row(d, s, width) when the functor has a whole-row form, or the area is
// op.Area(d, dPitch, s, sPitch, width, height) when it has a whole-area form.
template <int DstBytes, int SrcBytes, class Op>
inline void BlitRow(uint8_t* __restrict d, const uint8_t* __restrict s, int32_t width, const Op& op)
{
    for (int32_t i = 0; i < width; ++i) op(d + ptrdiff_t(i) * DstBytes, s + ptrdiff_t(i) * SrcBytes);
}

// Where a stretch takes its error steps: before sampling each pixel and row
// (every routine) or after (the four-channel blend, which so samples one
// fractional step behind).
enum class StretchStep { BeforeSample, AfterSample };

inline void StepError(int32_t& error, int32_t increment, int32_t decrement, const uint8_t*& source, ptrdiff_t unit)
{
    error += increment;
    if (error >= 0) {
        source += unit;
        error -= decrement;
    }
}

template <int DstBytes, int SrcBytes, StretchStep Step = StretchStep::BeforeSample, class Op>
inline int RunEffectBlit(const CSurfaceInfo* source, const CSurfaceInfo* destination, const BltParams* request,
                         const Op& op)
{
    BltClipResult c;
    if (CEffectBlitter::ClipBlt(destination, source, request, &c)) return 1;
    const ptrdiff_t sp = source->GetPitch(), dp = destination->GetPitch();
    const uint8_t* s = source->GetPixelBytes() + c.source.top * sp + ptrdiff_t(c.source.left) * SrcBytes;
    uint8_t* d = destination->GetPixelBytes() + c.destination.top * dp + ptrdiff_t(c.destination.left) * DstBytes;
    const int32_t w = c.destination.right - c.destination.left;
    const int32_t h = c.destination.bottom - c.destination.top;
    if (h < 1) return 0;
    if (c.sameSize) {
        if constexpr (requires { op.Area(d, dp, s, sp, w, h); }) {
            op.Area(d, dp, s, sp, w, h);
            return 0;
        }
        for (int32_t y = 0; y < h; ++y, s += sp, d += dp) {
            if constexpr (requires { op.Row(d, s, w); }) op.Row(d, s, w);
            else BlitRow<DstBytes, SrcBytes>(d, s, w, op);
        }
        return 0;
    }
    constexpr bool before = Step == StretchStep::BeforeSample;
    int32_t ey = c.yErrorStart;
    const ptrdiff_t xStep = ptrdiff_t(c.xStep) * SrcBytes, yStep = c.yStep * sp;
    for (int32_t y = 0; y < h; ++y, d += dp, s += yStep) {
        if constexpr (before) StepError(ey, c.yErrorIncrement, c.yErrorDecrement, s, sp);
        int32_t ex = c.xErrorStart;
        const uint8_t* sx = s;
        uint8_t* dx = d;
        for (int32_t x = 0; x < w; ++x, dx += DstBytes, sx += xStep) {
            if constexpr (before) StepError(ex, c.xErrorIncrement, c.xErrorDecrement, sx, SrcBytes);
            op(dx, sx);
            if constexpr (!before) StepError(ex, c.xErrorIncrement, c.xErrorDecrement, sx, SrcBytes);
        }
        if constexpr (!before) StepError(ey, c.yErrorIncrement, c.yErrorDecrement, s, sp);
    }
    return 0;
}

} // namespace kivotasuGameKit
