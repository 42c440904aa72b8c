// Result codes and the lock protocol of the effect-blit entry, for every
// operation code and every pair of type codes; the packing of keys and rates.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "draw/effect/EffectBlitter.h"
#include "frame/Exceptions.h"
#include "tests/kit/pixel/TestSurface.h"

using namespace pixelkit;
using kivotasuGameKit::BltParams;
using kivotasuGameKit::BltRates;
using kivotasuGameKit::CEffectBlitter;
using kivotasuGameKit::EffectBltOp;

namespace {

bool Standard(int32_t d, int32_t s)
{
    static const std::set<std::pair<int32_t, int32_t>> extra{
        {kRGB565, kARGB4565}, {kRGB555, kARGB4555}, {kRGB888, kARGB8888}, {kXRGB8888, kARGB8888},
        {kBGR888, kABGR8888}, {kXBGR8888, kABGR8888}, {kARGB4565, kRGB565}, {kARGB4555, kRGB555},
        {kARGB8888, kRGB888}, {kARGB8888, kBGR888}, {kARGB8888, kXRGB8888}, {kARGB8888, kXBGR8888},
        {kABGR8888, kRGB888}, {kABGR8888, kBGR888}, {kABGR8888, kXRGB8888}, {kABGR8888, kXBGR8888}};
    const bool format = RefBytes(d) && RefBytes(s);
    return format && ((d == s && d != kPal8) || extra.count({d, s}));
}

// The grid of operation 0 row by row (destination), columns RGB565 .. ABGR8888
// as in AllFormatsButPal8(); the two ABGR8888 cells served beyond the grid
// are included.
bool CopyServed(int32_t d, int32_t s)
{
    static const std::map<int32_t, const char*> rows{
        {kPal8, "0100000000"},     {kRGB565, "1111111111"},   {kRGB555, "1111111111"},
        {kRGB888, "1111111111"},   {kBGR888, "1111111111"},   {kXRGB8888, "1111111111"},
        {kXBGR8888, "1111111111"}, {kARGB4565, "1000001111"}, {kARGB4555, "0100001111"},
        {kARGB8888, "0011111111"}, {kABGR8888, "0011111111"}};
    const auto& columns = AllFormatsButPal8();
    const auto row = rows.find(d);
    for (size_t i = 0; row != rows.end() && i < columns.size(); ++i)
        if (columns[i] == s) return row->second[i] == '1';
    return false;
}

bool Served(uint32_t op, int32_t d, int32_t s)
{
    switch (op) {
    case 0: return CopyServed(d, s);
    case 8: case 9: return d == s && Standard(d, s) && d != kRGB888;
    case 10: return Standard(d, s) && RefHasAlpha(s);
    default: return Standard(d, s);
    }
}

int ExpectedResult(uint32_t op, int32_t d, int32_t s)
{
    if (op > 17 || (op >= 11 && op <= 13)) return 1;
    if (Served(op, d, s)) return 0;
    if (op == 0) return (s < 3 || s > 13 || s == 9) ? 0 : 2;
    if (op == 10) return 2;
    return d == s ? 0 : 2;
}

TEST(EffectDispatchTest, ResultMatrixForEveryOperationAndTypePair)
{
    const BltParams request;
    const BltRates rates{128, 64};
    for (uint32_t op : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 13u, 14u, 15u, 16u, 17u, 18u, 0xFFFFFFFFu}) {
        for (int32_t d : AllTypeCodes()) {
            for (int32_t s : AllTypeCodes()) {
                TestSurface dst(d, 3, 2), src(s, 3, 2);
                const int result = dst->EffectBlt(EffectBltOp(op), &src.Info(), &request, &rates);
                ASSERT_EQ(result, ExpectedResult(op, d, s)) << "op " << op << ", " << TypeName(d) << " <- " << TypeName(s);
                const int locks = result == 1 ? 0 : 1;
                ASSERT_EQ(dst.Locker().locks, locks);
                ASSERT_EQ(dst.Locker().unlocks, locks);
                ASSERT_EQ(src.Locker().locks, locks);
                ASSERT_EQ(src.Locker().unlocks, locks);
                ASSERT_FALSE(dst->IsLocked());
                ASSERT_FALSE(src->IsLocked());
            }
        }
    }
}

TEST(EffectDispatchTest, RefusedCodesTouchNothingEvenWithoutSurfaces)
{
    TestSurface dst(kRGB565, 2, 2);
    EXPECT_EQ(dst->EffectBlt(EffectBltOp(12), nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(dst->EffectBlt(EffectBltOp(18), nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(dst.Locker().locks, 0);
}

TEST(EffectDispatchTest, RateOperationsWithoutRatesAreRefusedUnlocked)
{
    TestSurface dst(kXRGB8888, 4, 4), src(kXRGB8888, 4, 4);
    const BltParams request;
    for (uint32_t op : {6u, 7u, 8u, 9u, 14u, 15u, 16u, 17u}) {
        EXPECT_EQ(dst->EffectBlt(EffectBltOp(op), &src.Info(), &request, nullptr), 1) << op;
    }
    EXPECT_EQ(dst.Locker().locks, 0);
    EXPECT_EQ(src.Locker().locks, 0);
    // Operations that read no rate need none.
    EXPECT_EQ(dst->EffectBlt(EffectBltOp::KeyCopy, &src.Info(), &request, nullptr), 0);
}

TEST(EffectDispatchTest, FailedLocksLeaveBothSurfacesUsable)
{
    TestSurface dst(kRGB565, 4, 4), src(kRGB565, 4, 4);
    const BltParams request;
    dst.Locker().refuseLock = true;
    EXPECT_EQ(dst->EffectBlt(EffectBltOp::Copy, &src.Info(), &request, nullptr), 1);
    EXPECT_EQ(src.Locker().locks, 0);
    EXPECT_EQ(dst.Locker().unlocks, 0);

    dst.Locker().refuseLock = false;
    src.Locker().refuseLock = true;
    EXPECT_EQ(dst->EffectBlt(EffectBltOp::Copy, &src.Info(), &request, nullptr), 1);
    EXPECT_EQ(dst.Locker().unlocks, 1);
    EXPECT_EQ(src.Locker().unlocks, 0);

    // A refused lock leaves no lock flag behind: the next blit works.
    src.Locker().refuseLock = false;
    EXPECT_EQ(dst->EffectBlt(EffectBltOp::Copy, &src.Info(), &request, nullptr), 0);
}

TEST(EffectDispatchTest, BlitOntoItselfRaisesAndUnlocksTheDestination)
{
    TestSurface surface(kXRGB8888, 4, 4);
    const BltParams request;
    EXPECT_THROW(surface->EffectBlt(EffectBltOp::Copy, &surface.Info(), &request, nullptr),
                 kivotasuGameKit::KTL::CRuntimeException);
    EXPECT_FALSE(surface->IsLocked());
    EXPECT_EQ(surface.Locker().locks, 1);
    EXPECT_EQ(surface.Locker().unlocks, 1);
}

TEST(EffectDispatchTest, ClippedAwayBlitStillSucceeds)
{
    TestSurface dst(kRGB565, 4, 4), src(kRGB565, 4, 4);
    const kivotasuGameKit::POINT far{100, 100};
    BltParams request;
    request.point = &far;
    EXPECT_EQ(dst->EffectBlt(EffectBltOp::Copy, &src.Info(), &request, nullptr), 0);
}

std::vector<int> Packed(uint32_t op, int32_t srcType, int32_t dstType, uint32_t key, BltRates rates, int count)
{
    TestSurface src(srcType, 1, 1);
    src->SetColorKey(key);
    const auto packed = CEffectBlitter::PackKeyRate(op, src.Info(), kivotasuGameKit::SurfaceType(dstType), &rates);
    return std::vector<int>(packed.bytes, packed.bytes + count);
}

TEST(EffectDispatchTest, KeyCellsAndRatesArePackedPerOperation)
{
    const uint32_t key = 0x80C86430; // alpha 0x80, red 0xC8, green 0x64, blue 0x30
    const BltRates rates{0x1A7, 0x2B9}; // only the low bytes count
    // PackRGB565(0xC8, 0x64, 0x30) = 0xCB26; PackRGB555 = 0x6586.
    EXPECT_EQ(Packed(1, kRGB565, kRGB565, key, rates, 2), (std::vector<int>{0x26, 0xCB}));
    EXPECT_EQ(Packed(1, kRGB555, kRGB555, key, rates, 2), (std::vector<int>{0x86, 0x65}));
    EXPECT_EQ(Packed(1, kARGB4565, kARGB4565, key, rates, 4), (std::vector<int>{0x26, 0xCB, 0x08, 0}));
    EXPECT_EQ(Packed(4, kRGB888, kRGB888, key, rates, 3), (std::vector<int>{0x30, 0x64, 0xC8}));
    EXPECT_EQ(Packed(5, kBGR888, kBGR888, key, rates, 3), (std::vector<int>{0xC8, 0x64, 0x30}));
    EXPECT_EQ(Packed(1, kXRGB8888, kXRGB8888, key, rates, 4), (std::vector<int>{0x30, 0x64, 0xC8, 0}));
    EXPECT_EQ(Packed(1, kXBGR8888, kXBGR8888, key, rates, 4), (std::vector<int>{0xC8, 0x64, 0x30, 0}));
    // An alpha key is opaque onto its own type and keeps its alpha onto a plain one.
    EXPECT_EQ(Packed(1, kARGB8888, kARGB8888, key, rates, 4), (std::vector<int>{0x30, 0x64, 0xC8, 0xFF}));
    EXPECT_EQ(Packed(1, kARGB8888, kXRGB8888, key, rates, 4), (std::vector<int>{0x30, 0x64, 0xC8, 0x80}));
    EXPECT_EQ(Packed(1, kABGR8888, kBGR888, key, rates, 4), (std::vector<int>{0xC8, 0x64, 0x30, 0x80}));

    EXPECT_EQ(Packed(6, kRGB565, kRGB565, key, rates, 2), (std::vector<int>{0xA7, 0}));
    EXPECT_EQ(Packed(16, kRGB565, kRGB565, key, rates, 3), (std::vector<int>{0xA7, 0xB9, 0}));
    EXPECT_EQ(Packed(8, kRGB565, kRGB565, key, rates, 4), (std::vector<int>{0xA7, 0, 0x26, 0xCB}));
    EXPECT_EQ(Packed(9, kARGB4565, kARGB4565, key, rates, 6), (std::vector<int>{0xA7, 0, 0x26, 0xCB, 0x08, 0}));
    EXPECT_EQ(Packed(8, kBGR888, kBGR888, key, rates, 4), (std::vector<int>{0xA7, 0xC8, 0x64, 0x30}));
    EXPECT_EQ(Packed(9, kXRGB8888, kXRGB8888, key, rates, 5), (std::vector<int>{0xA7, 0x30, 0x64, 0xC8, 0}));
    EXPECT_EQ(Packed(15, kRGB555, kRGB555, key, rates, 4), (std::vector<int>{0x86, 0x65, 0xA7, 0}));
    EXPECT_EQ(Packed(15, kXRGB8888, kXRGB8888, key, rates, 5), (std::vector<int>{0x30, 0x64, 0xC8, 0, 0xA7}));
    EXPECT_EQ(Packed(17, kRGB565, kRGB565, key, rates, 4), (std::vector<int>{0x26, 0xCB, 0xA7, 0xB9}));
    EXPECT_EQ(Packed(17, kRGB888, kRGB888, key, rates, 5), (std::vector<int>{0x30, 0x64, 0xC8, 0xA7, 0xB9}));
    EXPECT_EQ(Packed(17, kARGB8888, kARGB8888, key, rates, 6), (std::vector<int>{0x30, 0x64, 0xC8, 0xFF, 0xA7, 0xB9}));
    EXPECT_EQ(Packed(0, kRGB565, kRGB565, key, rates, 4), (std::vector<int>{0, 0, 0, 0}));
}

} // namespace
