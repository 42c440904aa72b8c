// The vector rows on SSE2, the x86-64 baseline: those of the screen's formats
// and of every other served pair.
#include "draw/effect/addsub/AddSubRows.h"

#if defined(__SSE2__)
#include "draw/effect/addsub/AddSubRowsImpl.h"
#include "draw/effect/alpha/Sse2Lanes.h"

namespace kivotasuGameKit::AddSub {

namespace {

struct Lanes : Blend::Sse2 {
    static T AddSat8(T a, T b) { return _mm_adds_epu8(a, b); }
    static T SubSat8(T a, T b) { return _mm_subs_epu8(a, b); }
    static T Add8(T a, T b) { return _mm_add_epi8(a, b); }
    static T Sub8(T a, T b) { return _mm_sub_epi8(a, b); }
    static T Srai16(T a, int n) { return _mm_srai_epi16(a, n); }
    static T Sll16(T a, int n) { return _mm_slli_epi16(a, n); }
};

} // namespace

constinit const RowTable Sse2Rows = MakeRowTable<RowSet<Lanes>>();
constinit const RowTable Sse2PairRows = MakeRowTable<PairRowSet<Lanes>>();

} // namespace kivotasuGameKit::AddSub

#else

namespace kivotasuGameKit::AddSub {
constinit const RowTable Sse2Rows{};
constinit const RowTable Sse2PairRows{};
} // namespace kivotasuGameKit::AddSub

#endif
