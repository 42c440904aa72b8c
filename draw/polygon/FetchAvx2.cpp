// Span fetches by AVX2 gathers; this file alone is built with -mavx2 and runs
// only where the processor has it.
#include "draw/polygon/SpanSource.h"

#if defined(__AVX2__)
#include <immintrin.h>

#include <cstring>

namespace kivotasuGameKit::polygon {

namespace {

// Eight lanes of a + i d for i = 0..7; sums taken modulo 2^32, which is exact
// for every lane whose point lies in the source (below 2^31).
__m256i Lanes(int64_t a, int64_t d)
{
    const __m256i index = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    return _mm256_add_epi32(_mm256_set1_epi32(int32_t(uint32_t(a))),
                            _mm256_mullo_epi32(index, _mm256_set1_epi32(int32_t(uint32_t(d)))));
}

__m256i Step(int64_t d) { return _mm256_set1_epi32(int32_t(uint32_t(d) * 8)); }

// Byte offsets of the columns: (u >> 18) x 4.
__m256i Columns(__m256i u) { return _mm256_and_si256(_mm256_srli_epi32(u, 16), _mm256_set1_epi32(~3)); }

void Gather(uint8_t* out, const Texture& t, SpanWalk& w, int32_t n)
{
    int32_t i = 0;
    __m256i u = Lanes(w.u, w.du);
    const __m256i stepU = Step(w.du);
    if (w.dv == 0) {
        const int* row = reinterpret_cast<const int*>(t.pixels + (w.v >> 18) * t.pitch);
        for (; i + 8 <= n; i += 8, u = _mm256_add_epi32(u, stepU))
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * i), _mm256_i32gather_epi32(row, Columns(u), 1));
    } else {
        const int* base = reinterpret_cast<const int*>(t.pixels);
        const __m256i pitch = _mm256_set1_epi32(int32_t(t.pitch)), stepV = Step(w.dv);
        __m256i v = Lanes(w.v, w.dv);
        for (; i + 8 <= n; i += 8, u = _mm256_add_epi32(u, stepU), v = _mm256_add_epi32(v, stepV)) {
            const __m256i offsets = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(v, 18), pitch), Columns(u));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * i), _mm256_i32gather_epi32(base, offsets, 1));
        }
    }
    w.Advance(i);
    for (; i < n; ++i, w.u += w.du, w.v += w.dv)
        std::memcpy(out + 4 * i, t.pixels + (w.v >> 18) * t.pitch + (w.u >> 18) * 4, 4);
}

} // namespace

constinit const FetchFn Avx2Fetch = &Gather;

} // namespace kivotasuGameKit::polygon

#else

namespace kivotasuGameKit::polygon {
constinit const FetchFn Avx2Fetch = nullptr;
} // namespace kivotasuGameKit::polygon

#endif
