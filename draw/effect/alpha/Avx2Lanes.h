#pragma once

// The AVX2 lane operations the row kernels are written over. Included only by
// the files built with -mavx2; the anonymous namespace keeps every instance
// out of code built for other instruction sets.

#include <immintrin.h>

#include <cstdint>

#include "draw/effect/alpha/Sse2Lanes.h"

namespace kivotasuGameKit::Blend {

namespace {

struct Avx2 {
    using T = __m256i;
    static constexpr int32_t Cells = 8;
    static constexpr bool ByteShuffles = true; // any byte of a 128-bit lane to any place (SpreadTwice, AlphaTwice)
    static T Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint8_t* p, T v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    // The first cells (1 to 7) of a vector, the other lanes zero, moved as
    // whole 16-, 8- and 4-byte pieces: masked moves are slow on some processors.
    static T LoadPart(const uint8_t* p, int32_t cells)
    {
        if (cells < 4) return _mm256_zextsi128_si256(Sse2::LoadPart(p, cells));
        const __m128i high = cells == 4 ? _mm_setzero_si128() : Sse2::LoadPart(p + 16, cells - 4);
        return _mm256_inserti128_si256(_mm256_castsi128_si256(Sse2::Load(p)), high, 1);
    }
    static void StorePart(uint8_t* p, T v, int32_t cells)
    {
        if (cells < 4) return Sse2::StorePart(p, _mm256_castsi256_si128(v), cells);
        Sse2::Store(p, _mm256_castsi256_si128(v));
        if (cells > 4) Sse2::StorePart(p + 16, _mm256_extracti128_si256(v, 1), cells - 4);
    }
    static T Zero() { return _mm256_setzero_si256(); }
    static T Set16(uint16_t v) { return _mm256_set1_epi16(int16_t(v)); }
    static T Set32(uint32_t v) { return _mm256_set1_epi32(int32_t(v)); }
    static T Set64(uint64_t v) { return _mm256_set1_epi64x(int64_t(v)); }
    static T And(T a, T b) { return _mm256_and_si256(a, b); }
    static T Or(T a, T b) { return _mm256_or_si256(a, b); }
    static T Xor(T a, T b) { return _mm256_xor_si256(a, b); }
    static T AndNot(T a, T b) { return _mm256_andnot_si256(a, b); }
    static T Add16(T a, T b) { return _mm256_add_epi16(a, b); }
    static T Sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
    static T Mullo16(T a, T b) { return _mm256_mullo_epi16(a, b); }
    static T MulhiU16(T a, T b) { return _mm256_mulhi_epu16(a, b); }
    static T Sub32(T a, T b) { return _mm256_sub_epi32(a, b); }
    static T Add32(T a, T b) { return _mm256_add_epi32(a, b); }
    static T Srl16(T a, int n) { return _mm256_srli_epi16(a, n); }
    static T Srl32(T a, int n) { return _mm256_srli_epi32(a, n); }
    static T Sll32(T a, int n) { return _mm256_slli_epi32(a, n); }
    static T UnpackLo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
    static T UnpackHi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
    static T PackU16(T a, T b) { return _mm256_packus_epi16(a, b); }
    static T CmpEq16(T a, T b) { return _mm256_cmpeq_epi16(a, b); }
    static T CmpEq32(T a, T b) { return _mm256_cmpeq_epi32(a, b); }
    static bool AllOnes(T a) { return _mm256_movemask_epi8(a) == -1; }
    static bool AllZero(T v, T m) { return _mm256_testz_si256(v, m); }
    static bool AllSet(T v, T m) { return _mm256_testc_si256(v, m); }
    static T Select(T m, T a, T b) { return _mm256_blendv_epi8(b, a, m); }
    // Byte shuffles: from each 32-bit cell byte `at` into the four 16-bit lanes
    // of that cell in the low (cells 0, 1 of each 128-bit lane) or high half.
    static T Shuffle(int at, int first)
    {
        const auto lane = [&](int cell) { return int64_t(0x8000800080008000ll | 0x0001000100010001ll * (cell * 4 + at)); };
        return _mm256_set_epi64x(lane(first + 1), lane(first), lane(first + 1), lane(first));
    }
    static T AlphaLo(T cells) { return _mm256_shuffle_epi8(cells, Shuffle(3, 0)); }
    static T AlphaHi(T cells) { return _mm256_shuffle_epi8(cells, Shuffle(3, 2)); }
    static T SpreadLo(T w) { return _mm256_shuffle_epi8(w, Shuffle(0, 0)); }
    static T SpreadHi(T w) { return _mm256_shuffle_epi8(w, Shuffle(0, 2)); }
    // 257 times the low byte of each 32-bit lane in the four 16-bit lanes of
    // that cell, low or high half; AlphaTwice: 257 times byte 3 in the low 16
    // bits of each 32-bit lane, the high 16 bits zero.
    static T TwiceShuffle(int first)
    {
        const auto lane = [&](int cell) { return int64_t(0x0101010101010101ll * (cell * 4)); };
        return _mm256_set_epi64x(lane(first + 1), lane(first), lane(first + 1), lane(first));
    }
    static T SpreadTwiceLo(T w) { return _mm256_shuffle_epi8(w, TwiceShuffle(0)); }
    static T SpreadTwiceHi(T w) { return _mm256_shuffle_epi8(w, TwiceShuffle(2)); }
    static T AlphaTwice(T cells)
    {
        const int64_t low = int64_t(0x8080070780800303ll), high = int64_t(0x80800F0F80800B0Bll);
        return _mm256_shuffle_epi8(cells, _mm256_set_epi64x(high, low, high, low));
    }
    // Each cell's byte 3 in both bytes of its four 16-bit lanes (257 times
    // it), in the low or high unpacked half.
    static T AlphaPairsLo(T cells) { return _mm256_shuffle_epi8(cells, ByteThree(TwiceShuffle(0))); }
    static T AlphaPairsHi(T cells) { return _mm256_shuffle_epi8(cells, ByteThree(TwiceShuffle(2))); }
    static T ByteThree(T shuffle) { return _mm256_add_epi8(shuffle, _mm256_set1_epi8(3)); }
    // Signed products select bytes by their top bit, which settles both ends
    // of a weight at once (see KernelSet::ByAlpha).
    static constexpr bool SelectsBytes = true;
    static T MulhiS16(T a, T b) { return _mm256_mulhi_epi16(a, b); }
    // Select by whole 32-bit lanes of m (each all set or clear), which the
    // compiler takes as is where a byte select gets its mask recomputed.
    static T SelectCells(T m, T a, T b)
    {
        return _mm256_castps_si256(
            _mm256_blendv_ps(_mm256_castsi256_ps(b), _mm256_castsi256_ps(a), _mm256_castsi256_ps(m)));
    }
    // Whole cells in 32-bit lanes: red and blue exchanged; 2-byte cells
    // zero-extended and packed back; 3-byte cells likewise (exactly their
    // bytes read and written).
    static T SwapRedBlue(T v)
    {
        return _mm256_shuffle_epi8(v, _mm256_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15, 2, 1, 0,
                                                       3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15));
    }
    static T LoadWords(const uint8_t* p) { return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))); }
    static void StoreWords(uint8_t* p, T words)
    {
        const T packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(words, words), 0x08);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(packed));
    }
    // Eight 3-byte cells are 24 bytes: six 32-bit elements, moved as 16 and 8.
    static T Load24(const uint8_t* p)
    {
        const T packed = _mm256_inserti128_si256(_mm256_castsi128_si256(Sse2::Load(p)),
                                                 _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 16)), 1);
        const T lanes = _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6));
        return _mm256_shuffle_epi8(lanes, _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1,
                                                           2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1));
    }
    static void Store24(uint8_t* p, T cells)
    {
        const T packed = _mm256_shuffle_epi8(cells, _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1,
                                                                     -1, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1,
                                                                     -1, -1, -1));
        const T joined = _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7));
        Sse2::Store(p, _mm256_castsi256_si128(joined));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 16), _mm256_extracti128_si256(joined, 1));
    }
    static __m256 ToFloat(T a) { return _mm256_cvtepi32_ps(a); }
    static T TruncDiv(__m256 a, __m256 b) { return _mm256_cvttps_epi32(_mm256_div_ps(a, b)); }
    static __m256 SetF(float v) { return _mm256_set1_ps(v); }
    static __m256 SubF(__m256 a, __m256 b) { return _mm256_sub_ps(a, b); }
    static __m256 Divide(__m256 a, __m256 b) { return _mm256_div_ps(a, b); }
    static T Trunc(__m256 a) { return _mm256_cvttps_epi32(a); }
};

} // namespace

} // namespace kivotasuGameKit::Blend
