// The rules every wipe shares (phases, kinds, results, placement and clip),
// the automatic blits, the random and the wave numbers.
#include <gtest/gtest.h>

#include "draw/wipe/FixedMathTable.h"
#include "tests/draw/wipe/WipeKit.h"

using namespace wipekit;
using kivotasuGameKit::Draw::CFixedMathTable;

namespace {

using W = CTransitionWipe;

struct Named {
    const char* name;
    WipeCall call;
    bool placedByDestination; // stretches reach the destination's edge
};

std::vector<Named> AllWipes()
{
    return {{"Blend", Plain(&W::Blend), false},           {"Square", Plain(&W::Square), false},
            {"Circle", Plain(&W::Circle), false},         {"Rect", Plain(&W::Rect), false},
            {"Spiral", Plain(&W::Spiral), false},         {"Blind", Plain(&W::Blind), false},
            {"BlindLeft", Plain(&W::BlindLeft), false},   {"BlindRight", Plain(&W::BlindRight), false},
            {"BlindTop", Plain(&W::BlindTop), false},     {"BlindBottom", Plain(&W::BlindBottom), false},
            {"StripeH1", Plain(&W::StripeH1), false},     {"StripeH2", Plain(&W::StripeH2), false},
            {"StripeV1", Plain(&W::StripeV1), false},     {"StripeV2", Plain(&W::StripeV2), false},
            {"Mosaic", Plain(&W::Mosaic), false},         {"CutIn", SeededCutIn(7), false},
            {"Wave", Plain(&W::Wave), false},             {"StretchLeft", Plain(&W::StretchLeft), true},
            {"StretchRight", Plain(&W::StretchRight), true}, {"StretchTop", Plain(&W::StretchTop), true},
            {"StretchBottom", Plain(&W::StretchBottom), true}, {"FlipVertical", Plain(&W::FlipVertical), false}};
}

constexpr int Width = 96, Height = 64;

TEST(WipeRules, NothingBelowPhaseOneNorForAnUnknownKind)
{
    auto next = MakePicture(Width, Height, kivotasuGameKit::ARGB8888, true);
    for (const Named& wipe : AllWipes()) {
        SCOPED_TRACE(wipe.name);
        auto back = MakePicture(Width, Height, kivotasuGameKit::XRGB8888, false);
        const std::uint64_t old = Hash(*back);
        EXPECT_EQ(wipe.call(back.get(), next.get(), 0, 0, 0, 0, nullptr), 0);
        EXPECT_EQ(wipe.call(back.get(), next.get(), 0, 0, -40, 0, nullptr), 0);
        EXPECT_EQ(wipe.call(back.get(), next.get(), 0, 0, 300, 4, nullptr), 0);
        // BLEND alone tells an unknown kind apart while it blends.
        EXPECT_EQ(wipe.call(back.get(), next.get(), 0, 0, 100, -1, nullptr), std::string(wipe.name) == "Blend" ? -1 : 0);
        EXPECT_EQ(Hash(*back), old);
        // A picture that was never made has no size: nothing either.
        CFastPlane none;
        EXPECT_EQ(wipe.call(back.get(), &none, 0, 0, 256, 0, nullptr), 0);
        EXPECT_EQ(Hash(*back), old);
    }
}

TEST(WipeRules, TheWholePictureReturnsItsBlitsResultThePiecesDoNot)
{
    // No routine copies 16-bit cells into 32-bit ones with alpha: the blit says 2.
    CFastPlane words;
    ASSERT_EQ(words.CreateMemorySurface(Width, Height, kivotasuGameKit::RGB565), 0);
    CPlaneBase* next = &words;
    CFastPlane unserved;
    ASSERT_EQ(unserved.CreateMemorySurface(Width, Height, kivotasuGameKit::ARGB8888), 0);
    for (const Named& wipe : AllWipes()) {
        SCOPED_TRACE(wipe.name);
        EXPECT_EQ(wipe.call(&unserved, next, 0, 0, 256, 0, nullptr), 2);
        EXPECT_EQ(wipe.call(&unserved, next, 0, 0, 9999, 0, nullptr), 2);
        const std::string name = wipe.name;
        if (name != "Blend" && name != "Mosaic") {
            EXPECT_EQ(wipe.call(&unserved, next, 0, 0, 128, 0, nullptr), 0);
        }
    }
}

std::unique_ptr<CFastPlane> Uniform(int width, int height)
{
    auto plane = std::make_unique<CFastPlane>();
    plane->CreateMemorySurface(width, height, kivotasuGameKit::XRGB8888);
    plane->SetFillColor(0x00405060);
    plane->Clear();
    return plane;
}

// Drawn at a point and through a clip rectangle, a wipe shows the same frame
// moved to the point, inside the clip only. (The mosaic lays its blocks from
// the clipped corner, so its clip keeps the corner.)
TEST(WipeRules, PlacedAtThePointAndKeptInsideTheClip)
{
    constexpr int X = 40, Y = 24;
    const RECT cutsAllSides{50, 30, 121, 80}, keepsTheCorner{10, 8, 121, 80};
    auto next = MakePicture(Width, Height, kivotasuGameKit::ARGB8888, true);
    for (const Named& wipe : AllWipes()) {
        if (wipe.placedByDestination) continue;
        const RECT& clip = std::string(wipe.name) == "Mosaic" ? keepsTheCorner : cutsAllSides;
        for (int p : {1, 77, 128, 200, 256}) {
            SCOPED_TRACE(std::string(wipe.name) + " at phase " + std::to_string(p));
            auto alone = Uniform(Width, Height);
            wipe.call(alone.get(), next.get(), 0, 0, p, 0, nullptr);
            auto placed = Uniform(Width + 2 * X, Height + 2 * Y);
            const std::uint32_t background = Row(*placed, 0)[0];
            wipe.call(placed.get(), next.get(), X, Y, p, 0, &clip);
            int wrong = 0;
            for (int y = 0; y < Height + 2 * Y; ++y)
                for (int x = 0; x < Width + 2 * X; ++x) {
                    const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom &&
                                        x >= X && x < X + Width && y >= Y && y < Y + Height;
                    wrong += Row(*placed, y)[x] != (inside ? Row(*alone, y - Y)[x - X] : background);
                }
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST(WipeRules, StretchesReachTheDestinationsEdge)
{
    constexpr int X = 30, Y = 20, Dw = Width + 60, Dh = Height + 40, P = 128;
    auto next = MakePicture(Width, Height, kivotasuGameKit::ARGB8888, true);
    struct Case {
        CTransitionWipe::Wipe* wipe;
        // The source pixel destination (x, y) must show, or none.
        std::function<std::optional<Origin>(int x, int y)> want;
    };
    const int band = Width * P / 256, rows = Height * P / 256;
    const Case cases[] = {
        {&W::StretchLeft, [&](int x, int y) -> std::optional<Origin> {
             if (y < Y || y >= Y + Height || x >= X + Width) return std::nullopt;
             return Origin{true, std::max(x - X, Width - band - 1), y - Y};
         }},
        {&W::StretchRight, [&](int x, int y) -> std::optional<Origin> {
             if (y < Y || y >= Y + Height || x < X) return std::nullopt;
             return Origin{true, std::min(x - X, band), y - Y};
         }},
        {&W::StretchTop, [&](int x, int y) -> std::optional<Origin> {
             if (x < X || x >= X + Width || y >= Y + Height) return std::nullopt;
             return Origin{true, x - X, std::max(y - Y, Height - rows - 1)};
         }},
        {&W::StretchBottom, [&](int x, int y) -> std::optional<Origin> {
             if (x < X || x >= X + Width || y < Y) return std::nullopt;
             return Origin{true, x - X, std::min(y - Y, rows)};
         }},
    };
    for (const Case& c : cases) {
        auto back = MakePicture(Dw, Dh, kivotasuGameKit::XRGB8888, false);
        EXPECT_EQ(c.wipe(back.get(), next.get(), X, Y, P, 0, 255, nullptr), 0);
        int wrong = 0;
        for (int y = 0; y < Dh; ++y)
            for (int x = 0; x < Dw; ++x) wrong += !(Decode(Row(*back, y)[x]) == c.want(x, y).value_or(Origin{false, x, y}));
        EXPECT_EQ(wrong, 0);
    }
}

// The odd columns of STRIPE_V1 grow over the height's share of the phase,
// not over the width's, so at 640 x 480 they are not done by phase 192.
TEST(WipeRules, StripeV1OddColumnsGrowOverTheHeight)
{
    auto next = MakePicture(640, 480, kivotasuGameKit::ARGB8888, true);
    auto back = MakePicture(640, 480, kivotasuGameKit::XRGB8888, false);
    W::StripeV1(back.get(), next.get(), 0, 0, 192, 0, 255, nullptr);
    for (int column : {0, 1, 2, 3, 639}) {
        int shown = 0;
        for (int y = 0; y < 480; ++y) shown += Decode(Row(*back, y)[column]).isNew;
        EXPECT_EQ(shown, column % 2 ? 361 : 360) << "column " << column;
    }
}

TEST(WipeRules, KindsDrawThroughTheirBlits)
{
    // A keyed source: its top-left colour is the key.
    auto next = MakePicture(Width, Height, kivotasuGameKit::XRGB8888, true);
    Row(*next, 5)[7] = Row(*next, 0)[0];
    next->SetColorKeyPos(0, 0);
    for (int kind : {1, 3}) {
        auto back = MakePicture(Width, Height, kivotasuGameKit::XRGB8888, false);
        W::Rect(back.get(), next.get(), 0, 0, 255, kind, 255, nullptr);
        EXPECT_EQ(Decode(Row(*back, 5)[7]), (Origin{false, 7, 5})) << "kind " << kind;
        EXPECT_EQ(Decode(Row(*back, 5)[8]), (Origin{true, 8, 5})) << "kind " << kind;
    }
    // Kind 2 blends the pieces by the rate; rate 0 keeps the old picture.
    auto alpha = MakePicture(Width, Height, kivotasuGameKit::ARGB8888, true);
    auto back = MakePicture(Width, Height, kivotasuGameKit::XRGB8888, false);
    const std::uint64_t old = Hash(*back);
    W::Square(back.get(), alpha.get(), 0, 0, 128, 2, 0, nullptr);
    EXPECT_EQ(Hash(*back), old);
}

TEST(WipeRules, AutomaticBlitsFollowTheSourcesAlphaAndTheRate)
{
    auto back = MakePicture(Width, Height, kivotasuGameKit::XRGB8888, false);
    // With alpha: a transparent pixel leaves the destination, an opaque one lands.
    auto alpha = MakePicture(Width, Height, kivotasuGameKit::ARGB8888, true);
    Row(*alpha, 1)[1] &= 0x00FFFFFF;
    EXPECT_EQ(W::AutoBlt(back.get(), alpha.get(), 0, 0), 0);
    EXPECT_EQ(Decode(Row(*back, 1)[1]), (Origin{false, 1, 1}));
    EXPECT_EQ(Decode(Row(*back, 1)[2]), (Origin{true, 2, 1}));
    // Without: the key colour leaves it.
    auto keyed = MakePicture(Width, Height, kivotasuGameKit::XRGB8888, true);
    keyed->SetColorKeyPos(3, 3);
    auto fresh = MakePicture(Width, Height, kivotasuGameKit::XRGB8888, false);
    EXPECT_EQ(W::AutoBlendBlt(fresh.get(), keyed.get(), 0, 0, 255), 0);
    EXPECT_EQ(Decode(Row(*fresh, 3)[3]), (Origin{false, 3, 3}));
    EXPECT_EQ(Decode(Row(*fresh, 3)[4]), (Origin{true, 4, 3}));
    // Below 255 the rate blend: rate 0 changes nothing, keyed or not.
    auto untouched = MakePicture(Width, Height, kivotasuGameKit::XRGB8888, false);
    const std::uint64_t old = Hash(*untouched);
    W::AutoBlendBlt(untouched.get(), keyed.get(), 0, 0, 0);
    W::AutoBlendBlt(untouched.get(), alpha.get(), 0, 0, 0);
    EXPECT_EQ(Hash(*untouched), old);
}

TEST(WipeRules, CutInRepeatsWithItsGeneratorAndSettlesAtPhase255)
{
    auto next = MakePicture(Width, Height, kivotasuGameKit::ARGB8888, true);
    auto frame = [&](std::uint32_t seed, int p) {
        auto back = MakePicture(Width, Height, kivotasuGameKit::XRGB8888, false);
        SeededCutIn(seed)(back.get(), next.get(), 0, 0, p, 0, nullptr);
        return Hash(*back);
    };
    EXPECT_EQ(frame(11, 40), frame(11, 40));
    EXPECT_NE(frame(11, 40), frame(12, 40));
    // The spread of 1 leaves every row in place.
    EXPECT_EQ(frame(11, 255), frame(12, 256));
}

// Cosines in 16.16, rounded to the nearest.
TEST(WipeRules, TheCosineTableRoundsToTheNearest)
{
    const CFixedMathTable& table = CFixedMathTable::GetInstance();
    EXPECT_EQ(table.Cos(0), 65536);
    EXPECT_EQ(table.Cos(128), 0);
    EXPECT_EQ(table.Cos(256), -65536);
    EXPECT_EQ(table.Cos(64), 46341); // 46340.95
    EXPECT_EQ(table.Cos(8), 65220);  // 65220.13
    EXPECT_EQ(table.Cos(512 + 8), table.Cos(8));
    for (int k = 0; k < 512; ++k) EXPECT_EQ(table.Cos(k), table.Cos(512 - k) ) << k;
}

} // namespace
