// Polygon transfer against the reference pixel rules and a reference walk
// (random polygons, clips and step flags at every vector level), and the
// walk's geometry by its properties: exact block copies in both windings,
// extra corners, far coordinates, and the mends for input the walk cannot take.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "draw/polygon/PolygonBlitter.h"
#include "draw/polygon/PolygonBltParams.h"
#include "frame/Exceptions.h"
#include "draw/effect/alpha/SimdLevel.h"
#include "tests/draw/polygon/RefPolygon.h"
#include "tests/draw/polygon/RefWalk.h"
#include "tests/kit/pixel/TestSurface.h"

namespace {

using namespace kivotasuGameKit;
using pixelkit::TestSurface;

struct Pair {
    int32_t destination;
    int32_t source;
};

const std::vector<Pair>& ServedPairs()
{
    static const std::vector<Pair> pairs{
        {RGB565, RGB565},     {RGB555, RGB555},     {RGB888, RGB888},     {BGR888, BGR888},
        {XRGB8888, XRGB8888}, {XBGR8888, XBGR8888}, {ARGB4565, ARGB4565}, {ARGB4555, ARGB4555},
        {ARGB8888, ARGB8888}, {ABGR8888, ABGR8888}, {RGB565, ARGB4565},   {RGB555, ARGB4555},
        {RGB888, ARGB8888},   {BGR888, ABGR8888},   {XRGB8888, ARGB8888}, {XBGR8888, ABGR8888},
        {ARGB4565, RGB565},   {ARGB4555, RGB555},   {ARGB8888, RGB888},   {ARGB8888, BGR888},
        {ARGB8888, XRGB8888}, {ARGB8888, XBGR8888}, {ABGR8888, RGB888},   {ABGR8888, BGR888},
        {ABGR8888, XRGB8888}, {ABGR8888, XBGR8888},
    };
    return pairs;
}

bool IsServed(int32_t d, int32_t s)
{
    for (const Pair& p : ServedPairs())
        if (p.destination == d && p.source == s) return true;
    return false;
}

std::string Name(uint32_t mode, const Pair& p)
{
    return "mode " + std::to_string(mode) + " " + pixelkit::TypeName(p.destination) + " <- " +
           pixelkit::TypeName(p.source);
}

// A request over the given point lists.
struct Polygon {
    std::vector<POINT> source;
    std::vector<POINT> destination;
    RECT clipRect{};
    bool clipped = false;
    uint8_t flag = 0;

    PolygonBltParams Params() const
    {
        return {source.data(), destination.data(), clipped ? &clipRect : nullptr, flag,
                int32_t(destination.size())};
    }
    int Draw(uint32_t mode, TestSurface& d, TestSurface& s) const
    {
        const PolygonBltParams params = Params();
        return d->PolygonBlt(mode, &s.Info(), &params, 0);
    }
};

std::vector<POINT> Corners(int x, int y, int w, int h)
{
    return {{x, y}, {x + w - 1, y}, {x + w - 1, y + h - 1}, {x, y + h - 1}};
}

// Every mode of every served pair: an n x n square drawn rotated by a
// quarter turn, which samples exactly: destination (x, y) takes source
// (y, n - 1 - x). Source pixels of the key colour and destination pixels
// already of the source's colour are planted to reach every branch.
TEST(PolygonBltTest, EveryModeOfEveryPairFollowsThePixelRules)
{
    constexpr int n = 9, ox = 3, oy = 2;
    std::mt19937 rng(24);
    for (uint32_t mode : {0u, 1u, 10u}) {
        for (const Pair& pair : ServedPairs()) {
            SCOPED_TRACE(Name(mode, pair));
            TestSurface s(pair.source, n, n), d(pair.destination, n + 6, n + 5);
            s.FillRandom(rng);
            d.FillRandom(rng);
            const uint32_t key = rng();
            s->SetColorKey(key);
            pixelkit::RefPixel keyPixel;
            keyPixel.r = (key >> 16) & 0xFF;
            keyPixel.g = (key >> 8) & 0xFF;
            keyPixel.b = key & 0xFF;
            for (int i = 0; i < n * n; i += 3) {
                uint8_t* cell = s.Cell(i % n, i / n);
                const uint8_t alpha = cell[pixelkit::IsAlpha4(pair.source) ? 2 : 3] & 15;
                pixelkit::RefWrite(pair.source, cell, keyPixel);
                if (pixelkit::IsAlpha4(pair.source)) cell[2] = alpha; // keyed whatever the alpha
            }
            for (int y = 0; y < n; ++y)
                for (int x = 0; x < n; x += 4) {
                    pixelkit::RefPixel same = pixelkit::RefRead(pair.source, s.Cell(y, n - 1 - x));
                    same.kind = pixelkit::RefPixel::None;
                    pixelkit::RefWrite(pair.destination, d.Cell(ox + x, oy + y), same);
                }
            std::vector<uint8_t> expected = d.Bytes();
            for (int y = 0; y < n; ++y)
                for (int x = 0; x < n; ++x)
                    pixelkit::RefPolygonPixel(mode, pair.destination, pair.source,
                                              expected.data() + d.Offset(ox + x, oy + y), s.Cell(y, n - 1 - x), key);
            Polygon quarter{{{0, n - 1}, {0, 0}, {n - 1, 0}, {n - 1, n - 1}}, Corners(ox, oy, n, n)};
            EXPECT_EQ(quarter.Draw(mode, d, s), 0);
            EXPECT_EQ(pixelkit::FirstDifference(d, expected, d.Bytes()), "");
            EXPECT_EQ(d.Locker().locks, d.Locker().unlocks);
            EXPECT_EQ(s.Locker().locks, s.Locker().unlocks);
        }
    }
}

// A convex polygon of 2 to 6 corners around (cx, cy) within radius, from
// any corner in either winding.
std::vector<POINT> ConvexPolygon(std::mt19937& rng, int cx, int cy, int radius)
{
    std::uniform_int_distribution<int> offset(-radius, radius);
    std::vector<POINT> points(2 + rng() % 8);
    for (POINT& p : points) p = {cx + offset(rng), cy + offset(rng)};
    std::sort(points.begin(), points.end(), [](POINT a, POINT b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    std::vector<POINT> hull;
    const auto cross = [](POINT o, POINT a, POINT b) {
        return int64_t(a.x - o.x) * (b.y - o.y) - int64_t(a.y - o.y) * (b.x - o.x);
    };
    for (int pass = 0; pass < 2; ++pass) {
        const size_t floor = hull.size();
        for (const POINT& p : points) {
            while (hull.size() >= floor + 2 && cross(hull[hull.size() - 2], hull.back(), p) <= 0) hull.pop_back();
            hull.push_back(p);
        }
        hull.pop_back();
        std::reverse(points.begin(), points.end());
    }
    if (hull.size() > 6) hull.resize(6);
    if (rng() & 1) std::reverse(hull.begin(), hull.end());
    std::rotate(hull.begin(), hull.begin() + rng() % std::max<size_t>(hull.size(), 1), hull.end());
    return hull;
}

// Lifts the cap on the vector level as a test leaves.
struct Uncapped {
    ~Uncapped() { Blend::CapSimdLevel(Blend::SimdLevel::Avx2); }
};

// Draws p and answers the first pixel that differs from the walk and the
// pixel rules written from the rules ("" when none).
std::string DrawnAgainstTheWalk(uint32_t mode, const Pair& pair, const Polygon& p, const RECT& clip, uint32_t key,
                                TestSurface& d, TestSurface& s)
{
    std::vector<uint8_t> expected = d.Bytes();
    const auto samples = pixelkit::RefWalk(p.destination, p.source, clip, p.flag, s.Width(), s.Height());
    for (const pixelkit::RefSample& at : samples)
        pixelkit::RefPolygonPixel(mode, pair.destination, pair.source, expected.data() + d.Offset(at.x, at.y),
                                  s.Cell(at.sx, at.sy), key);
    EXPECT_EQ(p.Draw(mode, d, s), 0);
    return pixelkit::FirstDifference(d, expected, d.Bytes());
}

// Random convex polygons, clips and step flags in every mode of every pair,
// at each vector level, against the walk and the pixel rules written from
// the rules; now and then a span long enough to cross whole row buffers.
TEST(PolygonBltTest, RandomPolygonsFollowTheWalkAndThePixelRules)
{
    std::mt19937 rng(35);
    const Uncapped uncapped;
    for (Blend::SimdLevel level : {Blend::SimdLevel::None, Blend::SimdLevel::Sse2, Blend::SimdLevel::Avx2}) {
        Blend::CapSimdLevel(level);
        for (int round = 0; round < 400; ++round) {
            const uint32_t mode = std::array{0u, 1u, 10u}[rng() % 3];
            const Pair& pair = ServedPairs()[rng() % ServedPairs().size()];
            const bool wide = round % 40 == 0;
            const int sw = 1 + rng() % 24, sh = 1 + rng() % 24, dw = wide ? 600 : 1 + rng() % 40, dh = 1 + rng() % 30;
            SCOPED_TRACE(Name(mode, pair) + " level " + std::to_string(int(level)) + " round " + std::to_string(round));
            TestSurface s(pair.source, sw, sh), d(pair.destination, dw, dh);
            s.FillRandom(rng);
            d.FillRandom(rng);
            const uint32_t key = rng() & 0xFFFFFF;
            s->SetColorKey(key);
            pixelkit::RefPixel keyPixel;
            keyPixel.r = key >> 16;
            keyPixel.g = (key >> 8) & 0xFF;
            keyPixel.b = key & 0xFF;
            for (int i = 0; i < sw * sh; i += 1 + rng() % 4) {
                uint8_t* cell = s.Cell(i % sw, i / sw);
                const uint8_t alpha = cell[pixelkit::IsAlpha4(pair.source) ? 2 : 3] & 15;
                pixelkit::RefWrite(pair.source, cell, keyPixel);
                if (pixelkit::IsAlpha4(pair.source)) cell[2] = alpha;
            }
            Polygon p{{}, ConvexPolygon(rng, dw / 2, dh / 2, std::max(dw, dh))};
            for (size_t i = 0; i < p.destination.size(); ++i)
                p.source.push_back({int(rng() % (sw + 12)) - 6, int(rng() % (sh + 12)) - 6});
            if (wide) p.source = {{0, 0}, {sw - 1, 0}, {sw - 1, sh - 1}, {0, sh - 1}}, p.destination = Corners(-3, 0, dw + 6, dh);
            p.flag = uint8_t(rng() & 1);
            RECT clip{0, 0, dw, dh};
            if ((p.clipped = rng() & 1)) {
                p.clipRect = {int(rng() % (dw + 4)) - 2, int(rng() % (dh + 4)) - 2, int(rng() % (dw + 4)), int(rng() % (dh + 4))};
                clip = {std::max(0, p.clipRect.left), std::max(0, p.clipRect.top), std::min(dw, p.clipRect.right),
                        std::min(dh, p.clipRect.bottom)};
            }
            ASSERT_EQ(DrawnAgainstTheWalk(mode, pair, p, clip, key, d, s), "");
        }
    }
}

// Spans that keep their source row, long enough for whole vector blocks:
// enlarged, one to one, shrunk by up to two columns a pixel and beyond, each
// also mirrored, and one column stretched, at each vector level and in either
// step flag (without it, one to one and 0..38 onto 20 step whole columns).
TEST(PolygonBltTest, AxisAlignedScalesFollowTheWalkAndThePixelRules)
{
    constexpr int sw = 40, sh = 3, dh = 4;
    // Source columns from..to onto destination columns 0..width - 1.
    const struct {
        int from, to, width;
    } scales[] = {{0, 39, 100}, {39, 0, 100}, {0, 39, 40}, {39, 0, 40}, {0, 39, 39}, {0, 39, 24}, {39, 0, 24},
                  {0, 38, 20},  {38, 0, 20},  {0, 39, 15}, {39, 0, 15}, {5, 5, 100}, {2, 37, 61}};
    // The direct copy and the row kernels' two fetched forms.
    const struct {
        uint32_t mode;
        Pair pair;
    } members[] = {{0, {XRGB8888, XRGB8888}}, {1, {XRGB8888, ARGB8888}}, {10, {ARGB8888, ARGB8888}}};
    std::mt19937 rng(48);
    const Uncapped uncapped;
    for (Blend::SimdLevel level : {Blend::SimdLevel::None, Blend::SimdLevel::Sse2, Blend::SimdLevel::Avx2}) {
        Blend::CapSimdLevel(level);
        for (const auto& [from, to, width] : scales) {
            for (const auto& [mode, pair] : members) {
                for (uint8_t flag : {0, 1}) {
                    SCOPED_TRACE(Name(mode, pair) + " level " + std::to_string(int(level)) + " columns " +
                                 std::to_string(from) + ".." + std::to_string(to) + " onto " + std::to_string(width) +
                                 " flag " + std::to_string(flag));
                    TestSurface s(pair.source, sw, sh), d(pair.destination, width, dh);
                    s.FillRandom(rng);
                    d.FillRandom(rng);
                    uint32_t key;
                    std::memcpy(&key, s.Cell(int(rng() % sw), 1), 4);
                    s->SetColorKey(key &= 0xFFFFFF);
                    Polygon p{{{from, 0}, {to, 0}, {to, sh - 1}, {from, sh - 1}}, Corners(0, 0, width, dh)};
                    p.flag = flag;
                    EXPECT_EQ(DrawnAgainstTheWalk(mode, pair, p, {0, 0, width, dh}, key, d, s), "");
                }
            }
        }
    }
}

// A clip rectangle only leaves pixels out: inside it, random polygons and
// scaled rectangles, a span cut on the left included, show what they show
// drawn whole, in every mode on a 32-bit and a 16-bit pair.
TEST(PolygonBltTest, AClippedPolygonShowsWhatItShowsWhole)
{
    constexpr int dw = 60, dh = 50;
    std::mt19937 rng(57);
    for (int round = 0; round < 600; ++round) {
        const uint32_t mode = std::array{0u, 1u, 10u}[round % 3];
        const Pair pair = round % 2 ? Pair{ARGB8888, ARGB8888} : Pair{RGB565, RGB565};
        const int sw = 4 + rng() % 20, sh = 4 + rng() % 20;
        TestSurface s(pair.source, sw, sh), whole(pair.destination, dw, dh), cut(pair.destination, dw, dh);
        s.FillRandom(rng);
        s->SetColorKey(rng() & 0xFFFFFF);
        whole.FillRandom(rng);
        cut.Bytes() = whole.Bytes();
        Polygon p{{}, ConvexPolygon(rng, dw / 2, dh / 2, 24)};
        if (round % 4 < 2) {
            const int w = 2 + rng() % 40, h = 2 + rng() % 40;
            p.destination = Corners(30 - w / 2, 25 - h / 2, w, h);
            p.source = {{0, 0}, {sw - 1, 0}, {sw - 1, sh - 1}, {0, sh - 1}};
        } else {
            for (size_t i = 0; i < p.destination.size(); ++i) p.source.push_back({int(rng() % sw), int(rng() % sh)});
        }
        p.flag = uint8_t(rng() & 1);
        Polygon clipped = p;
        clipped.clipped = true;
        const int left = int(rng() % 40), top = int(rng() % 30);
        clipped.clipRect = {left, top, left + 1 + int(rng() % (dw - left)), top + 1 + int(rng() % (dh - top))};
        SCOPED_TRACE(Name(mode, pair) + " round " + std::to_string(round));
        ASSERT_EQ(p.Draw(mode, whole, s), 0);
        std::vector<uint8_t> expected = cut.Bytes();
        const RECT& c = clipped.clipRect;
        for (int y = c.top; y < c.bottom; ++y)
            for (int x = c.left; x < c.right; ++x)
                std::memcpy(expected.data() + cut.Offset(x, y), whole.Cell(x, y), size_t(cut.CellBytes()));
        ASSERT_EQ(clipped.Draw(mode, cut, s), 0);
        ASSERT_EQ(pixelkit::FirstDifference(cut, expected, cut.Bytes()), "");
    }
}

TEST(PolygonBltTest, PairsWithoutAMemberAnswerWithoutDrawing)
{
    std::mt19937 rng(5);
    const Polygon block{Corners(0, 0, 2, 2), Corners(0, 0, 2, 2)};
    for (uint32_t mode : {0u, 1u, 10u}) {
        for (int32_t dt : pixelkit::AllTypeCodes()) {
            for (int32_t st : pixelkit::AllTypeCodes()) {
                if (IsServed(dt, st)) continue;
                TestSurface d(dt, 3, 3), s(st, 3, 3);
                d.FillRandom(rng);
                s.FillRandom(rng);
                const std::vector<uint8_t> before = d.Bytes();
                EXPECT_EQ(block.Draw(mode, d, s), dt == st ? 0 : 2) << mode << " " << dt << " " << st;
                EXPECT_EQ(d.Bytes(), before);
                EXPECT_EQ(d.Locker().locks, d.Locker().unlocks);
                EXPECT_EQ(s.Locker().locks, s.Locker().unlocks);
            }
        }
    }
}

TEST(PolygonBltTest, OtherModesAreRefusedBeforeLocking)
{
    TestSurface d(XRGB8888, 4, 4), s(XRGB8888, 4, 4);
    const Polygon block{Corners(0, 0, 4, 4), Corners(0, 0, 4, 4)};
    for (uint32_t mode : {2u, 3u, 9u, 11u, 0xFFFFFFFFu}) EXPECT_EQ(block.Draw(mode, d, s), 1);
    EXPECT_EQ(d.Locker().locks + s.Locker().locks, 0);
    EXPECT_EQ(d->PolygonBlt(0, &s.Info(), nullptr, 0), 0);
    s.Locker().refuseLock = true;
    EXPECT_EQ(block.Draw(0, d, s), 1);
    EXPECT_EQ(d.Locker().locks, d.Locker().unlocks);
}

TEST(PolygonBltTest, TheSameSurfaceAsBothRaisesAndUnlocks)
{
    TestSurface d(XRGB8888, 4, 4);
    const Polygon block{Corners(0, 0, 4, 4), Corners(0, 0, 4, 4)};
    for (uint32_t mode : {0u, 1u, 10u}) {
        EXPECT_THROW(block.Draw(mode, d, d), KTL::CRuntimeException);
        EXPECT_FALSE(d->IsLocked());
    }
}

// Geometry runs on 32-bit copies, where every pixel shows which source pixel
// it took.
class PolygonGeometry : public ::testing::Test {
protected:
    static constexpr int kW = 7, kH = 5;
    PolygonGeometry() : source(XRGB8888, kW, kH)
    {
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) std::memcpy(source.Cell(x, y), &(Stamp(x, y)), 4);
    }
    static const uint32_t& Stamp(int x, int y)
    {
        static uint32_t stamps[kH][kW];
        stamps[y][x] = 0x01000000u | uint32_t(y) << 8 | uint32_t(x);
        return stamps[y][x];
    }
    // Draws onto a fresh destination of zeros and returns its pixels.
    std::vector<uint32_t> Drawn(const Polygon& polygon, int width = 16, int height = 12)
    {
        TestSurface d(XRGB8888, width, height);
        const std::vector<uint8_t> guards = d.Bytes();
        EXPECT_EQ(polygon.Draw(0, d, source), 0);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint32_t v;
                std::memcpy(&v, d.Cell(x, y), 4);
                pixels.push_back(v);
                std::memset(d.Cell(x, y), 0, 4);
            }
        EXPECT_EQ(d.Bytes(), guards) << "written outside the destination";
        return pixels;
    }
    // The destination with the source block mapped by f placed at (ox, oy).
    template <class F> static std::vector<uint32_t> Block(int ox, int oy, int w, int h, F f)
    {
        std::vector<uint32_t> pixels(16 * 12, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const auto [sx, sy] = f(x, y);
                pixels[(oy + y) * 16 + ox + x] = 0x01000000u | uint32_t(sy) << 8 | uint32_t(sx);
            }
        return pixels;
    }
    TestSurface source;
};

TEST_F(PolygonGeometry, ARectangleInEitherWindingFromAnyCornerIsACopy)
{
    const auto copy = Block(4, 3, kW, kH, [](int x, int y) { return std::pair{x, y}; });
    for (bool reversed : {false, true}) {
        for (int start = 0; start < 4; ++start) {
            Polygon p{Corners(0, 0, kW, kH), Corners(4, 3, kW, kH)};
            if (reversed) {
                std::reverse(p.source.begin(), p.source.end());
                std::reverse(p.destination.begin(), p.destination.end());
            }
            std::rotate(p.source.begin(), p.source.begin() + start, p.source.end());
            std::rotate(p.destination.begin(), p.destination.begin() + start, p.destination.end());
            EXPECT_EQ(Drawn(p), copy) << reversed << " " << start;
        }
    }
}

TEST_F(PolygonGeometry, ShapesTheWalkCannotTakeDrawNothing)
{
    const std::vector<uint32_t> nothing(16 * 12, 0);
    Polygon one{{{0, 0}}, {{3, 3}}};
    EXPECT_EQ(Drawn(one), nothing);
    Polygon none{{}, {}};
    EXPECT_EQ(Drawn(none), nothing);
    Polygon flat{{{0, 0}, {3, 0}, {6, 0}}, {{1, 4}, {5, 4}, {9, 4}}};
    EXPECT_EQ(Drawn(flat), nothing);
    TestSurface d(XRGB8888, 4, 4);
    for (int n : {0, 3}) {
        const POINT points[3] = {{0, 0}, {3, 0}, {0, 3}};
        PolygonBltParams params{nullptr, points, nullptr, 0, n};
        EXPECT_EQ(d->PolygonBlt(0, &source.Info(), &params, 0), 0);
        params = {points, nullptr, nullptr, 0, n};
        EXPECT_EQ(d->PolygonBlt(0, &source.Info(), &params, 0), 0);
    }
    EXPECT_EQ(d.Bytes(), TestSurface(XRGB8888, 4, 4).Bytes());
}

TEST_F(PolygonGeometry, TwoPointsOnTwoRowsDrawALine)
{
    Polygon line{{{0, 0}, {0, 4}}, {{3, 2}, {3, 6}}};
    EXPECT_EQ(Drawn(line), Block(3, 2, 1, 5, [](int, int y) { return std::pair{0, y}; }));
}

TEST_F(PolygonGeometry, ExtraCornersOnStraightSidesChangeNothing)
{
    Polygon plain{Corners(0, 0, kW, kH), Corners(3, 3, kW, kH)};
    // A corner in the middle of the top and one of the bottom: zero-height
    // edges that are not the first or last of their side.
    Polygon extra{{{0, 0}, {3, 0}, {kW - 1, 0}, {kW - 1, kH - 1}, {3, kH - 1}, {0, kH - 1}},
                  {{3, 3}, {6, 3}, {3 + kW - 1, 3}, {3 + kW - 1, 3 + kH - 1}, {6, 3 + kH - 1}, {3, 3 + kH - 1}}};
    EXPECT_EQ(Drawn(extra), Drawn(plain));
}

TEST_F(PolygonGeometry, FarCoordinatesAreExactAndFartherOnesRefused)
{
    // Beyond the 18-bit range (8191) a 32-bit walk would overflow; a 1:1
    // copy of a far-reaching rectangle still lands exactly.
    TestSurface wide(XRGB8888, 10000, 1);
    for (int x = 0; x < 10000; ++x) std::memcpy(wide.Cell(x, 0), &x, 4);
    Polygon far{Corners(0, 0, 10000, 1), Corners(-9990, 0, 10000, 1)};
    far.destination[2].y = far.destination[3].y = 11; // 12 rows from one source row
    far.source[2].y = far.source[3].y = 0;
    TestSurface d(XRGB8888, 16, 12);
    const PolygonBltParams params = far.Params();
    EXPECT_EQ(d->PolygonBlt(0, &wide.Info(), &params, 0), 0);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 10; ++x) {
            uint32_t v;
            std::memcpy(&v, d.Cell(x, y), 4);
            EXPECT_EQ(v, uint32_t(x + 9990)) << x << "," << y;
        }
    Polygon farther{Corners(0, 0, kW, kH), Corners(-(1 << 28), 0, 1 << 29, 4)};
    EXPECT_EQ(Drawn(farther), std::vector<uint32_t>(16 * 12, 0));
}

} // namespace
