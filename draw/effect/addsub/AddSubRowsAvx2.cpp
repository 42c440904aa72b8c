// The vector rows on AVX2: those of the screen's formats, and rows for every
// other served pair, whose cells are loaded into 8-bit channels (or 16-bit
// colour words in 32-bit lanes) and stored back in their own formats. This
// file alone is built with -mavx2 and runs only where the processor has it.
#include "draw/effect/addsub/AddSubRows.h"

#if defined(__AVX2__)
#include "draw/effect/addsub/AddSubRowsImpl.h"
#include "draw/effect/alpha/Avx2Cells.h"

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

using V = Lanes;
using R = RowSet<Lanes>;
using T = __m256i;

// Cells of 8-bit channels in any byte order and size, taken as channels in
// XRGB order.
template <uint32_t Op, SurfaceType D, SurfaceType S>
int32_t ChannelRow(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
{
    constexpr int DB = BytesPerPixel(D), SB = BytesPerPixel(S);
    constexpr bool keyed = IsKeyedOp(Op);
    const T rate = V::Set16(uint16_t(p.rate & 0xFF)), key = V::Set32(p.key), keyMask = V::Set32(p.keyMask);
    int32_t i = 0;
    for (; i + V::Cells <= n; i += V::Cells) {
        const Blend::Cells sc = Blend::Load<S>(s + ptrdiff_t(i) * SB), dc = Blend::Load<D>(d + ptrdiff_t(i) * DB);
        const T out = R::template Combine<Op, D, S>(dc.colour, sc.colour, rate);
        const T keep = keyed ? V::CmpEq32(V::And(sc.raw, keyMask), key) : V::Zero();
        Blend::Store<D>(d + ptrdiff_t(i) * DB, dc, keep, out);
    }
    return i;
}

// RGB565 / RGB555 from ARGB4565 / ARGB4555: the colour words in 32-bit lanes,
// each faded at the level of its alpha (times the rate).
template <uint32_t Op, SurfaceType D, SurfaceType S>
int32_t WordFromCellRow(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
{
    constexpr bool is565 = D == RGB565, keyed = IsKeyedOp(Op);
    const T words = V::Set32(0xFFFF), rate = V::Set16(uint16_t(p.rate & 0xFF)), key = V::Set32(p.key);
    int32_t i = 0;
    for (; i + V::Cells <= n; i += V::Cells) {
        const T sRaw = Blend::LoadRaw<S>(s + 4 * ptrdiff_t(i)), dw = Blend::LoadRaw<D>(d + 2 * ptrdiff_t(i));
        const T sw = V::And(sRaw, words);
        T weight = _mm256_slli_epi32(V::And(V::Srl32(sRaw, 16), V::Set32(0x0F)), 4);
        if constexpr (IsRateOp(Op)) weight = R::K::Div255(V::Mullo16(weight, rate));
        const T level = V::And(V::Srl32(weight, 4), V::Set32(is565 ? 0xE : 0xF));
        const T out = V::And(R::template CombineWords<is565, IsAddOp(Op)>(dw, R::template Fade<is565>(sw, level)), words);
        const T keep = keyed ? V::CmpEq32(sw, key) : V::Zero();
        Blend::StoreWords(d + 2 * ptrdiff_t(i), V::Select(keep, dw, out));
    }
    return i;
}

// ARGB4565 / ARGB4555 destinations: the colour words in 32-bit lanes, bytes
// 2 and 3 of each cell kept.
template <uint32_t Op, SurfaceType D, SurfaceType S>
int32_t CellWordRow(uint8_t* d, const uint8_t* s, int32_t n, const RowParams& p)
{
    constexpr int SB = BytesPerPixel(S);
    constexpr bool is565 = D == ARGB4565, keyed = IsKeyedOp(Op);
    constexpr bool faded = ScalingOf<Op, D, S>() == Scaling::Rate;
    const T words = V::Set32(0xFFFF), key = V::Set32(p.key);
    // The rate's fade level as LevelOf gives it, written out here.
    const T level = V::Set32(((p.rate & 0xFF) >> 4) & (is565 ? 0xE : 0xF));
    int32_t i = 0;
    for (; i + V::Cells <= n; i += V::Cells) {
        const T sw = V::And(Blend::LoadRaw<S>(s + ptrdiff_t(i) * SB), words), dRaw = V::Load(d + 4 * ptrdiff_t(i));
        const T c = faded ? R::template Fade<is565>(sw, level) : sw;
        const T combined = R::template CombineWords<is565, IsAddOp(Op)>(V::And(dRaw, words), c);
        const T out = V::Or(V::AndNot(words, dRaw), V::And(combined, V::Set32(is565 ? 0xFFFF : 0x7FFF)));
        const T keep = keyed ? V::CmpEq32(sw, key) : V::Zero();
        V::Store(d + 4 * ptrdiff_t(i), V::Select(keep, dRaw, out));
    }
    return i;
}

struct OtherPairs {
    template <uint32_t Op, SurfaceType D, SurfaceType S> static constexpr RowFn Pick()
    {
        if constexpr (VectorPair<D, S>) return nullptr;
        else if constexpr (D == RGB565 || D == RGB555) return &WordFromCellRow<Op, D, S>;
        else if constexpr (D == ARGB4565 || D == ARGB4555) return &CellWordRow<Op, D, S>;
        else return &ChannelRow<Op, D, S>;
    }
};

} // namespace

constinit const RowTable Avx2Rows = MakeRowTable<RowSet<Lanes>>();
constinit const RowTable Avx2PairRows = MakeRowTable<OtherPairs>();

} // namespace kivotasuGameKit::AddSub

#else

namespace kivotasuGameKit::AddSub {
constinit const RowTable Avx2Rows{};
constinit const RowTable Avx2PairRows{};
} // namespace kivotasuGameKit::AddSub

#endif
