#pragma once

// The half shade over lanes L; include after the lane set.

#include <immintrin.h>

#include "draw/effect/alpha/HalfShade.h"

namespace kivotasuGameKit::Blend {

namespace {

// The byte operations the lane sets lack.
inline __m128i Add8(__m128i a, __m128i b) { return _mm_add_epi8(a, b); }
inline __m128i SubSat8(__m128i a, __m128i b) { return _mm_subs_epu8(a, b); }
#if defined(__AVX2__)
inline __m256i Add8(__m256i a, __m256i b) { return _mm256_add_epi8(a, b); }
inline __m256i SubSat8(__m256i a, __m256i b) { return _mm256_subs_epu8(a, b); }
#endif

// x / 255 rounded down, exact for every 16-bit x.
template <class L> typename L::T Div255(typename L::T x)
{
    return L::Srl16(L::MulhiU16(x, L::Set16(0x8081)), 7);
}

// Cells as 16-bit channels with their alphas: each c becomes w c / 255 with
// w = 128 a / 255, both rounded down; the alpha lanes come out as junk.
template <class L> typename L::T ShadeChannels(typename L::T channels, typename L::T alpha)
{
    return Div255<L>(L::Mullo16(Div255<L>(L::Mullo16(alpha, L::Set16(128))), channels));
}

template <class L> int32_t HalfShadeCells(uint8_t* row, int32_t count)
{
    const auto opaque = L::Set32(0xFF000000);
    int32_t i = 0;
    for (; i + L::Cells <= count; i += L::Cells) {
        uint8_t* at = row + size_t(i) * 4;
        const auto p = L::Load(at);
        typename L::T shaded;
        if (L::AllSet(p, opaque)) {
            // Weight 128: c / 2, and 128 for 255.
            shaded = Add8(L::And(L::Srl16(p, 1), L::Set32(0x7F7F7F7F)), SubSat8(p, L::Set32(0xFEFEFEFE)));
        } else {
            shaded = L::PackU16(ShadeChannels<L>(L::UnpackLo8(p, L::Zero()), L::AlphaLo(p)),
                                ShadeChannels<L>(L::UnpackHi8(p, L::Zero()), L::AlphaHi(p)));
        }
        L::Store(at, L::Or(shaded, opaque));
    }
    return i;
}

} // namespace

} // namespace kivotasuGameKit::Blend
