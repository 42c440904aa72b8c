#pragma once

// Cells of every format to and from AVX2 registers, eight at a time: as
// stored (zero-extended to 32 bits) and as 8-bit channels in XRGB order.
// Included only by the files built with -mavx2; the anonymous namespace keeps
// every instance out of code built for other instruction sets.

#include <immintrin.h>

#include <cstdint>

#include "draw/effect/SurfaceType.h"
#include "draw/effect/alpha/Avx2Lanes.h"

namespace kivotasuGameKit::Blend {

namespace {

using V = Avx2;
using T = __m256i;

constexpr bool IsWordFormat(SurfaceType f) { return f == RGB565 || f == RGB555; }
constexpr bool IsWideFormat(SurfaceType f) { return f == ARGB4565 || f == ARGB4555; }
constexpr bool IsRedFirst(SurfaceType f) { return f == BGR888 || f == XBGR8888 || f == ABGR8888; }

// Cells as stored (zero-extended to 32 bits, for key tests and unchanged
// cells) and as channels.
struct Cells {
    T raw;
    T colour;
};

T SwapRedBlue(T v)
{
    return _mm256_shuffle_epi8(v, _mm256_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15, 2, 1, 0, 3, 6,
                                                   5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15));
}

// Eight 3-byte cells are 24 bytes: six 32-bit elements.
T SixElements() { return _mm256_setr_epi32(-1, -1, -1, -1, -1, -1, 0, 0); }

// 16-bit colour words in 32-bit lanes to channels (low bits zero) and back.
template <bool Is565> T WidenWords(T w)
{
    const T b = V::And(_mm256_slli_epi32(w, 3), V::Set32(0xF8));
    const T g = V::And(_mm256_slli_epi32(w, Is565 ? 5 : 6), V::Set32(Is565 ? 0xFC00 : 0xF800));
    const T r = V::And(_mm256_slli_epi32(w, Is565 ? 8 : 9), V::Set32(0xF80000));
    return V::Or(V::Or(b, g), r);
}

template <bool Is565> T NarrowToWords(T c)
{
    const T b = V::And(V::Srl32(c, 3), V::Set32(0x1F));
    const T g = V::And(V::Srl32(c, Is565 ? 5 : 6), V::Set32(Is565 ? 0x7E0 : 0x3E0));
    const T r = V::And(V::Srl32(c, Is565 ? 8 : 9), V::Set32(Is565 ? 0xF800 : 0x7C00));
    return V::Or(V::Or(b, g), r);
}

// Eight cells of a 2- or 4-byte format as stored (words zero-extended to 32
// bits), and eight such words stored back as 16 bits.
template <SurfaceType F> T LoadRaw(const uint8_t* p)
{
    static_assert(BytesPerPixel(F) != 3, "3-byte cells need the masked load");
    if constexpr (BytesPerPixel(F) == 2) return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    else return V::Load(p);
}

void StoreWords(uint8_t* p, T words)
{
    const T packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(words, words), 0x08);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(packed));
}

template <SurfaceType F> Cells Load(const uint8_t* p)
{
    if constexpr (IsWordFormat(F)) {
        const T raw = LoadRaw<F>(p);
        return {raw, WidenWords<F == RGB565>(raw)};
    } else if constexpr (BytesPerPixel(F) == 3) {
        const T packed = _mm256_maskload_epi32(reinterpret_cast<const int*>(p), SixElements());
        const T lanes = _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6));
        const T raw = _mm256_shuffle_epi8(lanes, _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                                                  1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1));
        return {raw, IsRedFirst(F) ? SwapRedBlue(raw) : raw};
    } else if constexpr (IsWideFormat(F)) {
        const T raw = LoadRaw<F>(p);
        const T colour = WidenWords<F == ARGB4565>(V::And(raw, V::Set32(0xFFFF)));
        return {raw, V::Or(colour, V::And(_mm256_slli_epi32(raw, 12), V::Set32(0xF0000000)))};
    } else {
        const T raw = LoadRaw<F>(p);
        return {raw, IsRedFirst(F) ? SwapRedBlue(raw) : raw};
    }
}

// Writes result (channels, byte 3 as the format stores it) into the cells
// where keep is clear; the others keep their bytes.
template <SurfaceType F> void Store(uint8_t* p, const Cells& old, T keep, T result)
{
    if constexpr (IsWordFormat(F)) {
        StoreWords(p, V::Select(keep, old.raw, NarrowToWords<F == RGB565>(result)));
    } else if constexpr (BytesPerPixel(F) == 3) {
        const T cells = V::Select(keep, old.colour, result);
        const T raw = IsRedFirst(F) ? SwapRedBlue(cells) : cells;
        const T packed = _mm256_shuffle_epi8(raw, _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1,
                                                                   -1, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1,
                                                                   -1, -1));
        const T joined = _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7));
        _mm256_maskstore_epi32(reinterpret_cast<int*>(p), SixElements(), joined);
    } else if constexpr (IsWideFormat(F)) {
        const T cell = V::Or(V::And(old.raw, V::Set32(0xFFFF0000)), NarrowToWords<F == ARGB4565>(result));
        V::Store(p, V::Select(keep, old.raw, cell));
    } else {
        V::Store(p, V::Select(keep, old.raw, IsRedFirst(F) ? SwapRedBlue(result) : result));
    }
}

} // namespace

} // namespace kivotasuGameKit::Blend
