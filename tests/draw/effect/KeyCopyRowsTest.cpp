// The keyed-copy rows of every instruction-set level the processor has
// against the reference model, pair by pair: 16-bit words meet every word as
// source under 256 keys; cells of 32 bits meet their key with each bit
// flipped and with every byte-3 value, in runs of whole vectors and alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "draw/effect/KeyCopyRows.h"
#include "tests/draw/effect/FamilyKit.h"
#include "tests/draw/effect/RefCopy.h"

using namespace pixelkit;
using kivotasuGameKit::Avx2KeyCopyRows;
using kivotasuGameKit::KeyCopyRowTable;
using kivotasuGameKit::Sse2KeyCopyRows;
using kivotasuGameKit::Blend::CurrentSimdLevel;
using kivotasuGameKit::Blend::RowParams;
using kivotasuGameKit::Blend::SimdLevel;

namespace {

// The source cells of one row for the key cell of type t.
std::vector<uint8_t> SourceRow(int32_t t, const uint8_t* keyCell, std::mt19937& rng)
{
    const int bytes = RefBytes(t);
    std::vector<uint8_t> row;
    const auto add = [&](const uint8_t* cell) { row.insert(row.end(), cell, cell + bytes); };
    const auto addKeyRun = [&](int n) {
        for (int k = 0; k < n; ++k) add(keyCell);
    };
    if (bytes == 2) {
        for (int w = 0; w < 65536; ++w) {
            uint8_t cell[2];
            SetWord(cell, w);
            add(cell);
            if (w % 97 == 0) addKeyRun(w % 3 == 0 ? 37 : 1);
        }
        return row;
    }
    for (int bit = 0; bit < 32; ++bit) {
        uint8_t cell[4];
        std::memcpy(cell, keyCell, 4);
        cell[bit / 8] ^= uint8_t(1 << bit % 8);
        add(cell);
        addKeyRun(bit % 5 == 0 ? 19 : 1);
    }
    for (int v = 0; v < 256; ++v) {
        uint8_t cell[4];
        std::memcpy(cell, keyCell, 4);
        cell[3] = uint8_t(v);
        if (IsAlpha4(t)) cell[2] = uint8_t(rng());
        add(cell);
        uint8_t noise[4] = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
        add(noise);
    }
    return row;
}

class KeyCopyRowsTest : public ::testing::TestWithParam<SimdLevel> {
protected:
    void SetUp() override
    {
        if (CurrentSimdLevel() < GetParam()) GTEST_SKIP() << "the processor lacks this level";
    }
    const KeyCopyRowTable& Rows() const { return GetParam() == SimdLevel::Avx2 ? Avx2KeyCopyRows : Sse2KeyCopyRows; }
};

TEST_P(KeyCopyRowsTest, EveryRowMatchesTheReference)
{
    std::mt19937 rng(7);
    int served = 0;
    for (int32_t dt : AllFormatsButPal8()) {
        for (int32_t st : AllFormatsButPal8()) {
            const auto row = Rows().cell[dt][st];
            if (!row) continue;
            ++served;
            const int db = RefBytes(dt), sb = RefBytes(st);
            // 2-byte keys step through the words (as colours write them:
            // RGB555's bit 15 clear); others are random colours.
            for (int k = 0; k < (sb == 2 ? 256 : 16); ++k) {
                uint32_t keyColour = rng() & 0xFFFFFF;
                if (sb == 2) {
                    uint8_t word[2];
                    SetWord(word, k * 257);
                    const RefPixel kp = RefRead(st, word);
                    keyColour = uint32_t(kp.r << 16 | kp.g << 8 | kp.b);
                }
                const RefStoredKey key = RefKeyCell(st, keyColour);
                uint8_t keyCell[4];
                std::memcpy(keyCell, &key.key, 4);
                const std::vector<uint8_t> s = SourceRow(st, keyCell, rng);
                const int cells = int(s.size()) / sb;
                std::vector<uint8_t> expected(size_t(cells) * db);
                for (auto& b : expected) b = uint8_t(rng());
                std::vector<uint8_t> got = expected;
                for (int i = 0; i < cells; ++i)
                    if (!RefKeyMatches(st, &s[size_t(i) * sb], keyColour))
                        RefCopyPixel(dt, st, &expected[size_t(i) * db], &s[size_t(i) * sb], nullptr);
                const RowParams params{.key = key.key, .keyMask = key.mask};
                const int32_t done = row(got.data(), s.data(), cells, params);
                ASSERT_GE(done, cells - 32);
                for (int i = done; i < cells; ++i) std::memcpy(&got[size_t(i) * db], &expected[size_t(i) * db], db);
                const auto at = std::mismatch(got.begin(), got.end(), expected.begin()).first - got.begin();
                ASSERT_TRUE(got == expected) << TypeName(dt) << " <- " << TypeName(st) << ", key " << k << ": cell "
                                         << at / db << " byte " << at % db;
            }
        }
    }
    // Same-type words and 4-bit alpha cells, and the ten pairs of 32-bit cells.
    EXPECT_EQ(served, 14);
}

INSTANTIATE_TEST_SUITE_P(Levels, KeyCopyRowsTest, ::testing::Values(SimdLevel::Sse2, SimdLevel::Avx2),
                         [](const auto& info) { return SimdLevelName(info.param); });

} // namespace
