// The vector rows on AVX2: those of the screen's formats and of every other
// served pair. This file alone is built with -mavx2 and runs only where the
// processor has it.
#include "draw/effect/addsub/AddSubRows.h"

#if defined(__AVX2__)
#include "draw/effect/addsub/AddSubRowsImpl.h"
#include "draw/effect/alpha/Avx2Lanes.h"

namespace kivotasuGameKit::AddSub {

namespace {

struct Lanes : Blend::Avx2 {
    static T AddSat8(T a, T b) { return _mm256_adds_epu8(a, b); }
    static T SubSat8(T a, T b) { return _mm256_subs_epu8(a, b); }
    static T Add8(T a, T b) { return _mm256_add_epi8(a, b); }
    static T Sub8(T a, T b) { return _mm256_sub_epi8(a, b); }
    static T Srai16(T a, int n) { return _mm256_srai_epi16(a, n); }
    static T Sll16(T a, int n) { return _mm256_slli_epi16(a, n); }
};

} // namespace

constinit const RowTable Avx2Rows = MakeRowTable<RowSet<Lanes>>();
constinit const RowTable Avx2PairRows = MakeRowTable<PairRowSet<Lanes>>();

} // namespace kivotasuGameKit::AddSub

#else

namespace kivotasuGameKit::AddSub {
constinit const RowTable Avx2Rows{};
constinit const RowTable Avx2PairRows{};
} // namespace kivotasuGameKit::AddSub

#endif
