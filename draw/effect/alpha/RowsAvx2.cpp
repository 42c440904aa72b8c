// The row kernels on AVX2; this file alone is built with -mavx2 and runs only
// where the processor has it.
#include "draw/effect/alpha/RowKernels.h"

#if defined(__AVX2__)
#include <immintrin.h>

#include "draw/effect/alpha/RowKernelsImpl.h"

namespace kivotasuGameKit::Blend {

namespace {

struct Avx2 {
    using T = __m256i;
    static constexpr int32_t Cells = 8;
    static T Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint8_t* p, T v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
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
    static T Srl16(T a, int n) { return _mm256_srli_epi16(a, n); }
    static T Srl32(T a, int n) { return _mm256_srli_epi32(a, n); }
    static T Sll32(T a, int n) { return _mm256_slli_epi32(a, n); }
    static T UnpackLo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
    static T UnpackHi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
    static T UnpackLo32(T a, T b) { return _mm256_unpacklo_epi32(a, b); }
    static T UnpackHi32(T a, T b) { return _mm256_unpackhi_epi32(a, b); }
    static T PackU16(T a, T b) { return _mm256_packus_epi16(a, b); }
    static T CmpEq32(T a, T b) { return _mm256_cmpeq_epi32(a, b); }
    static bool AllOnes(T a) { return _mm256_movemask_epi8(a) == -1; }
    static __m256 ToFloat(T a) { return _mm256_cvtepi32_ps(a); }
    static T TruncDiv(__m256 a, __m256 b) { return _mm256_cvttps_epi32(_mm256_div_ps(a, b)); }
};

} // namespace

constinit const RowKernels Avx2RowKernels = KernelSet<Avx2>::Table();

} // namespace kivotasuGameKit::Blend

#else

namespace kivotasuGameKit::Blend {
constinit const RowKernels Avx2RowKernels{};
} // namespace kivotasuGameKit::Blend

#endif
