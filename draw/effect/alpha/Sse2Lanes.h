#pragma once

// The SSE2 lane operations the row kernels are written over (the x86-64
// baseline). The anonymous namespace keeps every instance out of code built
// for other instruction sets.

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace kivotasuGameKit::Blend {

namespace {

struct Sse2 {
    using T = __m128i;
    static constexpr int32_t Cells = 4;
    static constexpr bool ByteShuffles = false;
    static T Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint8_t* p, T v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    // The first cells (1 to 3) of a vector, the other lanes zero.
    static T LoadPart(const uint8_t* p, int32_t cells)
    {
        const T first = cells == 1 ? _mm_cvtsi32_si128(LoadCell(p)) : _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        return cells == 3 ? _mm_unpacklo_epi64(first, _mm_cvtsi32_si128(LoadCell(p + 8))) : first;
    }
    static void StorePart(uint8_t* p, T v, int32_t cells)
    {
        if (cells == 1) return StoreCell(p, _mm_cvtsi128_si32(v));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
        if (cells == 3) StoreCell(p + 8, _mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
    }
    static int32_t LoadCell(const uint8_t* p)
    {
        int32_t cell;
        std::memcpy(&cell, p, 4);
        return cell;
    }
    static void StoreCell(uint8_t* p, int32_t cell) { std::memcpy(p, &cell, 4); }
    static T Zero() { return _mm_setzero_si128(); }
    static T Set16(uint16_t v) { return _mm_set1_epi16(int16_t(v)); }
    static T Set32(uint32_t v) { return _mm_set1_epi32(int32_t(v)); }
    static T Set64(uint64_t v) { return _mm_set1_epi64x(int64_t(v)); }
    static T And(T a, T b) { return _mm_and_si128(a, b); }
    static T Or(T a, T b) { return _mm_or_si128(a, b); }
    static T Xor(T a, T b) { return _mm_xor_si128(a, b); }
    static T AndNot(T a, T b) { return _mm_andnot_si128(a, b); }
    static T Add16(T a, T b) { return _mm_add_epi16(a, b); }
    static T Sub16(T a, T b) { return _mm_sub_epi16(a, b); }
    static T Mullo16(T a, T b) { return _mm_mullo_epi16(a, b); }
    static T MulhiU16(T a, T b) { return _mm_mulhi_epu16(a, b); }
    static T Sub32(T a, T b) { return _mm_sub_epi32(a, b); }
    static T Add32(T a, T b) { return _mm_add_epi32(a, b); }
    static T Srl16(T a, int n) { return _mm_srli_epi16(a, n); }
    static T Srl32(T a, int n) { return _mm_srli_epi32(a, n); }
    static T Sll32(T a, int n) { return _mm_slli_epi32(a, n); }
    static T UnpackLo8(T a, T b) { return _mm_unpacklo_epi8(a, b); }
    static T UnpackHi8(T a, T b) { return _mm_unpackhi_epi8(a, b); }
    static T UnpackLo32(T a, T b) { return _mm_unpacklo_epi32(a, b); }
    static T UnpackHi32(T a, T b) { return _mm_unpackhi_epi32(a, b); }
    static T PackU16(T a, T b) { return _mm_packus_epi16(a, b); }
    static T CmpEq16(T a, T b) { return _mm_cmpeq_epi16(a, b); }
    static T CmpEq32(T a, T b) { return _mm_cmpeq_epi32(a, b); }
    static bool AllOnes(T a) { return _mm_movemask_epi8(a) == 0xFFFF; }
    static bool AllZero(T v, T m) { return AllOnes(CmpEq32(And(v, m), Zero())); }
    static bool AllSet(T v, T m) { return AllOnes(CmpEq32(And(v, m), m)); }
    static T Select(T m, T a, T b) { return Or(And(m, a), AndNot(m, b)); }
    static T Broadcast3(T a) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(a, 0xFF), 0xFF); }
    static T Broadcast0(T a) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(a, 0x00), 0x00); }
    static T AlphaLo(T cells) { return Broadcast3(UnpackLo8(cells, Zero())); }
    static T AlphaHi(T cells) { return Broadcast3(UnpackHi8(cells, Zero())); }
    static T SpreadLo(T w) { return Broadcast0(UnpackLo32(w, Zero())); }
    static T SpreadHi(T w) { return Broadcast0(UnpackHi32(w, Zero())); }
    // Each cell's byte 3 in both bytes of both its 16-bit lanes (257 times it).
    static T Doubled(T cells)
    {
        const T high = _mm_shufflehi_epi16(_mm_shufflelo_epi16(cells, 0xF5), 0xF5);
        return Mullo16(_mm_srli_epi16(high, 8), Set16(0x0101));
    }
    // Cells 0, 1 (2, 3) each in the four 16-bit lanes of a cell unpacked.
    static T CellsLo(T v) { return _mm_shuffle_epi32(v, 0x50); }
    static T CellsHi(T v) { return _mm_shuffle_epi32(v, 0xFA); }
    // Select is three operations on whole masks.
    static constexpr bool SelectsBytes = false;
    static T SelectCells(T m, T a, T b) { return Select(m, a, b); }
    // Whole cells in 32-bit lanes: red and blue exchanged; 2-byte cells
    // zero-extended and packed back; 3-byte cells likewise (exactly their
    // bytes read and written).
    static T SwapRedBlue(T v)
    {
        return Or(Or(And(v, Set32(0xFF00FF00)), And(Srl32(v, 16), Set32(0xFF))), Sll32(And(v, Set32(0xFF)), 16));
    }
    static T LoadWords(const uint8_t* p)
    {
        return _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), Zero());
    }
    static void StoreWords(uint8_t* p, T words)
    {
        // Sign-extended first, so the signed pack keeps every word.
        const T signedWords = _mm_srai_epi32(_mm_slli_epi32(words, 16), 16);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packs_epi32(signedWords, signedWords));
    }
    static T Load24(const uint8_t* p)
    {
        uint32_t last;
        std::memcpy(&last, p + 8, 4);
        const T v = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_cvtsi32_si128(int(last)));
        const T first = _mm_unpacklo_epi32(v, _mm_srli_si128(v, 3));
        const T second = _mm_unpacklo_epi32(_mm_srli_si128(v, 6), _mm_srli_si128(v, 9));
        return And(_mm_unpacklo_epi64(first, second), Set32(0x00FFFFFF));
    }
    static void Store24(uint8_t* p, T cells)
    {
        // Two cells per 64-bit half as 6 bytes, then the halves joined.
        const T c = And(cells, Set32(0x00FFFFFF));
        const T halves = Or(And(c, Set64(0xFFFFFF)), And(_mm_srli_epi64(c, 8), Set64(0xFFFFFF000000)));
        const T low = _mm_set_epi64x(0, -1);
        const T joined = Or(And(halves, low), _mm_srli_si128(AndNot(low, halves), 2));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), joined);
        const uint32_t last = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(joined, 8)));
        std::memcpy(p + 8, &last, 4);
    }
    static __m128 ToFloat(T a) { return _mm_cvtepi32_ps(a); }
    static T TruncDiv(__m128 a, __m128 b) { return _mm_cvttps_epi32(_mm_div_ps(a, b)); }
    static __m128 SetF(float v) { return _mm_set1_ps(v); }
    static __m128 SubF(__m128 a, __m128 b) { return _mm_sub_ps(a, b); }
    static __m128 Divide(__m128 a, __m128 b) { return _mm_div_ps(a, b); }
    static T Trunc(__m128 a) { return _mm_cvttps_epi32(a); }
};

} // namespace

} // namespace kivotasuGameKit::Blend
