// Span fetches on AVX2; this file alone is built with -mavx2 and runs only
// where the processor has it.
#include "draw/polygon/SpanSource.h"

#if defined(__AVX2__)
#include <immintrin.h>

#include <algorithm>

namespace kivotasuGameKit::polygon {

namespace {

constexpr int64_t kColumn = int64_t(1) << 18;

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

// A row stepped by at most kWindows columns a cell: eight cells fall within
// kWindows runs of eight columns, each read by one load (the row's last ones
// at its far end), spread by a permute and blended by lane.
template <int kWindows> void Spread(uint8_t* out, const Texture& t, SpanWalk& w, int32_t n)
{
    const int* row = reinterpret_cast<const int*>(t.pixels + (w.v >> 18) * t.pitch);
    const int64_t du = w.du, leftmost = du < 0 ? 7 * du : 0;
    const int64_t last = t.width - 8 * kWindows;
    int64_t u = w.u;
    __m256i lanes = Lanes(u, du);
    const __m256i step = Step(du);
    int32_t i = 0;
    for (; i + 8 <= n; i += 8, u += 8 * du, lanes = _mm256_add_epi32(lanes, step)) {
        const int32_t base = int32_t(std::min((u + leftmost) >> 18, last));
        const __m256i index = _mm256_sub_epi32(_mm256_srli_epi32(lanes, 18), _mm256_set1_epi32(base));
        const auto window = [&](int k) {
            // The permute reads the low three bits of each index.
            return _mm256_permutevar8x32_epi32(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + base + 8 * k)), index);
        };
        __m256i cells = window(0);
        for (int k = 1; k < kWindows; ++k)
            cells = _mm256_blendv_epi8(cells, window(k), _mm256_cmpgt_epi32(index, _mm256_set1_epi32(8 * k - 1)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * i), cells);
    }
    w.u = u;
    SteppedFetch(out + 4 * i, t, w, n - i);
}

// A span that keeps its row reads by plain loads: some processors (AMD's Zen 2
// and 3) run a gather several times slower than the loads it stands for,
// which left an axis-aligned scale behind pixman's scalar steps there.
void Fetch(uint8_t* out, const Texture& t, SpanWalk& w, int32_t n)
{
    if (w.dv == 0) {
        const int64_t du = w.du < 0 ? -w.du : w.du;
        if (du <= kColumn && t.width >= 8) return Spread<1>(out, t, w, n);
        if (du <= 2 * kColumn && t.width >= 16) return Spread<2>(out, t, w, n);
        return SteppedFetch(out, t, w, n);
    }
    const int* base = reinterpret_cast<const int*>(t.pixels);
    const __m256i pitch = _mm256_set1_epi32(int32_t(t.pitch)), stepU = Step(w.du), stepV = Step(w.dv);
    __m256i u = Lanes(w.u, w.du), v = Lanes(w.v, w.dv);
    int32_t i = 0;
    for (; i + 8 <= n; i += 8, u = _mm256_add_epi32(u, stepU), v = _mm256_add_epi32(v, stepV)) {
        const __m256i offsets = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(v, 18), pitch), Columns(u));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * i), _mm256_i32gather_epi32(base, offsets, 1));
    }
    w.Advance(i);
    SteppedFetch(out + 4 * i, t, w, n - i);
}

} // namespace

constinit const FetchFn Avx2Fetch = &Fetch;

} // namespace kivotasuGameKit::polygon

#else

namespace kivotasuGameKit::polygon {
constinit const FetchFn Avx2Fetch = nullptr;
} // namespace kivotasuGameKit::polygon

#endif
