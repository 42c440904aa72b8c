// The vector rows of every instruction-set level the processor has against
// the scalar rules: 32-bit cells over every (rate or alpha, source,
// destination) byte triple, 16-bit words over every pair of words (every
// Stride-th source in the test command) and every fade level.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "draw/effect/BlitFrame.h"
#include "draw/effect/addsub/AddSubRows.h"
#include "draw/effect/addsub/AddSubRules.h"
#include "tests/draw/effect/addsub/Sampling.h"
#include "tests/kit/pixel/RefFormat.h"

using namespace pixelkit;
using namespace kivotasuGameKit;
using namespace kivotasuGameKit::AddSub;

namespace {

constexpr int Cells = 65536;

// f.template operator()<Op>() for each operation 2 to 9.
template <class F> void ForEachOp(F f)
{
    [&]<uint32_t... Op>(std::integer_sequence<uint32_t, Op...>) {
        (f.template operator()<Op + 2>(), ...);
    }(std::make_integer_sequence<uint32_t, 8>());
}

template <uint32_t Op, SurfaceType D, SurfaceType S> std::string Name()
{
    return "op " + std::to_string(Op) + " " + TypeName(D) + " <- " + TypeName(S);
}

// Runs the row over d and the rule over a copy; equal bytes, every cell done.
template <class Scalar>
void Expect(RowFn fn, const RowParams& p, const std::vector<uint8_t>& s, const std::vector<uint8_t>& d, int bytes,
            Scalar scalar, const std::string& what, int sourceBytes = 0)
{
    const int cells = int(d.size()) / bytes;
    sourceBytes = sourceBytes ? sourceBytes : bytes;
    std::vector<uint8_t> expected = d, got = d;
    for (int k = 0; k < cells; ++k) scalar(&expected[size_t(k) * bytes], &s[size_t(k) * sourceBytes]);
    ASSERT_EQ(fn(got.data(), s.data(), cells, p), cells) << what;
    if (got == expected) return;
    size_t i = 0;
    while (got[i] == expected[i]) ++i;
    FAIL() << what << ": cell " << i / bytes << " byte " << i % bytes << ": expected " << int(expected[i]) << ", got "
           << int(got[i]);
}

class AddSubSimdTest : public ::testing::TestWithParam<Blend::SimdLevel> {
protected:
    void SetUp() override
    {
        if (Blend::CurrentSimdLevel() < GetParam()) GTEST_SKIP() << "the processor lacks this level";
    }
    const RowTable& Rows() const { return GetParam() == Blend::SimdLevel::Avx2 ? Avx2Rows : Sse2Rows; }

    // Op on pair D <- S: the row at each rate against the scalar rule (behind
    // the key for the keyed operations).
    template <uint32_t Op, SurfaceType D, SurfaceType S> void Check32(int rateStride)
    {
        std::vector<uint8_t> s(Cells * 4), d(Cells * 4);
        // Cell k: source channels (k >> 8, k & 255, k >> 8), destination the
        // other way round, so every byte pair meets in some channel; the
        // source's byte 3 runs through every alpha across the rates, the
        // destination's is 0 or not.
        for (int k = 0; k < Cells; ++k) {
            const uint8_t hi = uint8_t(k >> 8), lo = uint8_t(k);
            const uint8_t dc[4] = {lo, hi, lo, uint8_t(k & 1 ? 0 : 0x55 + k)};
            std::memcpy(&d[4 * size_t(k)], dc, 4);
            s[4 * size_t(k)] = hi;
            s[4 * size_t(k) + 1] = lo;
            s[4 * size_t(k) + 2] = hi;
        }
        const RowFn fn = Rows().cell[Op - 2][D][S];
        ASSERT_NE(fn, nullptr);
        // Cells taken as stored need no sweep over the rates.
        if (ScalingOf<Op, D, S>() == Scaling::None) rateStride = std::max(rateStride, 51);
        for (uint32_t r = 0; r < 256; r += rateStride) {
            for (int k = 0; k < Cells; ++k) s[4 * size_t(k) + 3] = uint8_t(r + k);
            // The key: the source cell of one row in 97 as stored.
            const uint32_t key = LoadCell(&s[4 * size_t((r * 97) % Cells)]) & PixelFormat<S>::KeyBits;
            const RowParams p{.rate = r, .key = key, .keyMask = PixelFormat<S>::KeyBits};
            const Rule<Op, D, S> rule(r);
            const std::string what = Name<Op, D, S>() + " rate " + std::to_string(r);
            if constexpr (IsKeyedOp(Op)) Expect(fn, p, s, d, 4, MakeKeyed<S>(key, rule), what);
            else Expect(fn, p, s, d, 4, rule, what);
            if (HasFatalFailure()) return;
        }
    }

    // Op on 16-bit words: every destination word under each sampled source
    // word, at the level edges of the rates; the fades of every word at every
    // level through a row whose destination is black.
    template <uint32_t Op, SurfaceType D> void Check16()
    {
        const RowFn fn = Rows().cell[Op - 2][D][D];
        ASSERT_NE(fn, nullptr);
        std::vector<uint8_t> s(Cells * 2), d(Cells * 2);
        for (int k = 0; k < Cells; ++k) SetWord(&d[2 * size_t(k)], k);
        const uint32_t rates[] = {255, 0, 16, 32, 128, 240};
        for (uint32_t word : Sampled(Cells)) {
            for (int k = 0; k < Cells; ++k) SetWord(&s[2 * size_t(k)], int(word));
            const uint32_t r = IsRateOp(Op) ? rates[word % 6] : 0;
            const RowParams p{.rate = r, .key = word ^ (word & 1), .keyMask = 0xFFFF};
            const Rule<Op, D, D> rule(r);
            const std::string what = "op " + std::to_string(Op) + " " + TypeName(D) + " source " + std::to_string(word);
            if constexpr (IsKeyedOp(Op)) Expect(fn, p, s, d, 2, MakeKeyed<D>(p.key, rule), what);
            else Expect(fn, p, s, d, 2, rule, what);
            if (HasFatalFailure()) return;
        }
        if constexpr (IsRateOp(Op) && IsAddOp(Op)) {
            std::vector<uint8_t> black(Cells * 2, 0);
            for (int k = 0; k < Cells; ++k) SetWord(&s[2 * size_t(k)], k);
            for (uint32_t r = 0; r < 256; r += 16) {
                const Rule<Op, D, D> rule(r);
                Expect(fn, RowParams{.rate = r, .key = 0xFFFFFFFF}, s, black, 2,
                       [&](uint8_t* dd, const uint8_t* ss) {
                           if (!IsKeyedOp(Op) || LoadWord(ss) != 0xFFFF) rule(dd, ss);
                       },
                       "fade " + TypeName(D) + " rate " + std::to_string(r));
                if (HasFatalFailure()) return;
            }
        }
    }
};

TEST_P(AddSubSimdTest, CellsOfOneByteOrderOverEveryRateAndByte)
{
    // The rules by weighting: as stored (X <- X, A <- X, A <- A), by the
    // source's alpha (X <- A), by the rate, by alpha times rate. The BGR-order
    // twins run the same code on other types: every 15th rate for them.
    const auto sweep = [&]<uint32_t Op>() {
        Check32<Op, XRGB8888, XRGB8888>(1);
        Check32<Op, ARGB8888, ARGB8888>(Op < 8 ? 1 : 15);
        Check32<Op, XBGR8888, XBGR8888>(15);
        Check32<Op, ABGR8888, ABGR8888>(15);
        if constexpr (Op < 8) {
            Check32<Op, XRGB8888, ARGB8888>(1);
            Check32<Op, ARGB8888, XRGB8888>(1);
            Check32<Op, XBGR8888, ABGR8888>(Op % 2 ? 1 : 15); // the subtract clears the X byte
            Check32<Op, ABGR8888, XBGR8888>(15);
        }
    };
    ForEachOp(sweep);
}

TEST_P(AddSubSimdTest, WordsOverEveryPairAndLevel)
{
    const auto sweep = [&]<uint32_t Op>() {
        Check16<Op, RGB565>();
        Check16<Op, RGB555>();
    };
    ForEachOp(sweep);
}

// The rows of the pairs outside the screen's formats, at both levels: cells
// of every layout carry the same byte pairs as above (3-byte cells without
// byte 3); colour words run through every word against every alpha or level.
class AddSubPairRowsTest : public ::testing::TestWithParam<Blend::SimdLevel> {
protected:
    void SetUp() override
    {
        if (Blend::CurrentSimdLevel() < GetParam()) GTEST_SKIP() << "the processor lacks this level";
    }
    const RowTable& PairRows() const { return GetParam() == Blend::SimdLevel::Avx2 ? Avx2PairRows : Sse2PairRows; }

    template <uint32_t Op, SurfaceType D, SurfaceType S>
    void Check(const std::vector<uint8_t>& s, std::vector<uint8_t>& d, uint32_t r, const std::string& what)
    {
        const uint32_t keyAt = (r * 97) % Cells;
        uint32_t key = 0;
        std::memcpy(&key, &s[size_t(keyAt) * BytesPerPixel(S)], BytesPerPixel(S) == 2 ? 2 : BytesPerPixel(S) == 3 ? 3 : 4);
        key &= PixelFormat<S>::KeyBits;
        const RowParams p{.rate = r, .key = key, .keyMask = PixelFormat<S>::KeyBits};
        const Rule<Op, D, S> rule(r);
        const RowFn fn = PairRows().cell[Op - 2][D][S];
        ASSERT_NE(fn, nullptr) << what;
        if constexpr (IsKeyedOp(Op)) Expect(fn, p, s, d, BytesPerPixel(D), MakeKeyed<S>(key, rule), what, BytesPerPixel(S));
        else Expect(fn, p, s, d, BytesPerPixel(D), rule, what, BytesPerPixel(S));
    }

    // Cell k of a channel format: (k >> 8, k & 255, k >> 8) or the other way
    // round, byte 3 (where there is one) from byte3(k).
    template <class Byte3> static std::vector<uint8_t> ChannelCells(int bytes, bool swapped, Byte3 byte3)
    {
        std::vector<uint8_t> cells(size_t(Cells) * bytes);
        for (int k = 0; k < Cells; ++k) {
            const uint8_t hi = uint8_t(k >> 8), lo = uint8_t(k);
            uint8_t* c = &cells[size_t(k) * bytes];
            c[0] = swapped ? lo : hi;
            c[1] = swapped ? hi : lo;
            c[2] = swapped ? lo : hi;
            if (bytes == 4) c[3] = uint8_t(byte3(k));
        }
        return cells;
    }

    template <uint32_t Op, SurfaceType D, SurfaceType S> void Channels(int rateStride)
    {
        auto d = ChannelCells(BytesPerPixel(D), true, [](int k) { return k & 1 ? 0 : 0x55 + k; });
        if (ScalingOf<Op, D, S>() == Scaling::None) rateStride = std::max(rateStride, 51);
        for (uint32_t r = 0; r < 256; r += rateStride) {
            const auto s = ChannelCells(BytesPerPixel(S), false, [r](int k) { return int(r) + k; });
            Check<Op, D, S>(s, d, r, Name<Op, D, S>() + " rate " + std::to_string(r));
            if (::testing::Test::HasFatalFailure()) return;
        }
    }

    // Words: the source's colour word runs through every word, the
    // destination's through every word in another order; 4-bit cells get
    // every alpha (stray high bits now and then) and a byte 3.
    template <uint32_t Op, SurfaceType D, SurfaceType S> void Words()
    {
        const auto cells = [](SurfaceType t, uint32_t multiplier, int alpha) {
            std::vector<uint8_t> v(size_t(Cells) * BytesPerPixel(t));
            for (int k = 0; k < Cells; ++k) {
                uint8_t* c = &v[size_t(k) * BytesPerPixel(t)];
                SetWord(c, int((uint32_t(k) * multiplier + 1) & 0xFFFF));
                if (BytesPerPixel(t) == 4) {
                    c[2] = uint8_t(alpha | (k % 7 == 0 ? 0x50 : 0));
                    c[3] = uint8_t(k >> 3);
                }
            }
            return v;
        };
        for (uint32_t r : {255u, 0u, 16u, 32u, 100u, 240u}) {
            for (int alpha = 0; alpha < 16; ++alpha) {
                auto d = cells(D, 40503u, 15 - alpha);
                Check<Op, D, S>(cells(S, 1, alpha), d, r,
                                Name<Op, D, S>() + " rate " + std::to_string(r) + " alpha " + std::to_string(alpha));
                if (::testing::Test::HasFatalFailure()) return;
            }
        }
    }
};

TEST_P(AddSubPairRowsTest, EveryOtherPairOverItsBytesOrWords)
{
    const auto sweep = [&]<uint32_t Op>() {
        Channels<Op, BGR888, BGR888>(Op >= 6 ? 1 : 51);
        Words<Op, ARGB4565, ARGB4565>();
        Words<Op, ARGB4555, ARGB4555>();
        if constexpr (Op < 8) {
            Channels<Op, RGB888, RGB888>(Op >= 6 ? 15 : 51);
            Channels<Op, RGB888, ARGB8888>(1);
            Channels<Op, BGR888, ABGR8888>(15);
            Channels<Op, ARGB8888, RGB888>(Op >= 6 ? 1 : 51);
            Channels<Op, ARGB8888, BGR888>(Op >= 6 ? 15 : 51);
            Channels<Op, ARGB8888, XBGR8888>(Op >= 6 ? 15 : 51);
            Channels<Op, ABGR8888, RGB888>(Op >= 6 ? 15 : 51);
            Channels<Op, ABGR8888, BGR888>(Op >= 6 ? 15 : 51);
            Channels<Op, ABGR8888, XRGB8888>(Op >= 6 ? 15 : 51);
            Words<Op, RGB565, ARGB4565>();
            Words<Op, RGB555, ARGB4555>();
            Words<Op, ARGB4565, RGB565>();
            Words<Op, ARGB4555, RGB555>();
        }
    };
    ForEachOp(sweep);
}

INSTANTIATE_TEST_SUITE_P(Levels, AddSubSimdTest, ::testing::Values(Blend::SimdLevel::Sse2, Blend::SimdLevel::Avx2),
                         [](const auto& info) { return info.param == Blend::SimdLevel::Avx2 ? "Avx2" : "Sse2"; });
INSTANTIATE_TEST_SUITE_P(Levels, AddSubPairRowsTest, ::testing::Values(Blend::SimdLevel::Sse2, Blend::SimdLevel::Avx2),
                         [](const auto& info) { return info.param == Blend::SimdLevel::Avx2 ? "Avx2" : "Sse2"; });

} // namespace
