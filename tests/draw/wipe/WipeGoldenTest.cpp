// Every wipe at the phases 0, 1, 15, 16, 128, 255 and 256 on the known
// pictures at both screen sizes: each frame is checked against a readable
// rule of what it must show, then against its golden hash.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <numbers>

#include "tests/draw/wipe/WipeGoldens.h"
#include "tests/draw/wipe/WipeKit.h"

using namespace wipekit;

namespace {

constexpr std::array<int, 7> Phases = {0, 1, 15, 16, 128, 255, 256};
constexpr std::array<int, 16> SpiralOrder = {6, 7, 8, 9, 5, 0, 1, 10, 4, 3, 2, 11, 15, 14, 13, 12};

struct Frame {
    CPlaneBase& plane;
    int w, h, p;
    Origin At(int x, int y) const { return Decode(Row(plane, y)[x]); }
};

// "" when the frame keeps the rule, else where it breaks it.
using Property = std::function<std::string(const Frame&)>;
// Where pixel (x, y) must come from.
using Source = std::function<Origin(const Frame&, int x, int y)>;

std::string Check(const Frame& frame, const Source& source)
{
    for (int y = 0; y < frame.h; ++y)
        for (int x = 0; x < frame.w; ++x) {
            const Origin want = source(frame, x, y), got = frame.At(x, y);
            if (!(want == got))
                return "pixel (" + std::to_string(x) + "," + std::to_string(y) + ") shows " + ToString(got) +
                       ", wants " + ToString(want);
        }
    return "";
}

// New where the mask holds, old elsewhere.
Property Mask(std::function<bool(const Frame&, int x, int y)> shown)
{
    return [shown](const Frame& f) {
        return Check(f, [&](const Frame& g, int x, int y) { return Origin{shown(g, x, y), x, y}; });
    };
}

Property Mapped(Source source)
{
    return [source](const Frame& f) { return Check(f, source); };
}

// Bands of 16 that open staggered: block i shows min(T - i, 16) lines.
bool Staggered(int line, int size, int p)
{
    const int n = (size + 17) / 16, opened = (n + 16) * p / 256, block = line / 16;
    return line % 16 < std::clamp(opened - block, 0, 16);
}

bool Stripe(int line, int along, int length, bool fromFar)
{
    return fromFar ? line >= along - length - 1 : line < length;
}

bool StripeTwice(int lineIndex, int position, int along, int p)
{
    const int first = std::min((along * p) >> 7, along), second = p >= 129 ? ((p - 128) * along) >> 7 : 0;
    switch (lineIndex % 4) {
    case 0: return Stripe(position, along, first, false);
    case 2: return Stripe(position, along, first, true);
    case 1: return p >= 129 && Stripe(position, along, second, false);
    default: return p >= 129 && Stripe(position, along, second, true);
    }
}

// Each row is new shifted by one amount (within the bounds), old where the
// shift uncovers it; returns the shifts found.
std::string ShiftedRows(const Frame& f, const std::function<std::string(int row, int shift)>& allowed)
{
    for (int y = 0; y < f.h; ++y) {
        int shift = 0;
        for (int x = 0; x < f.w; ++x)
            if (f.At(x, y).isNew) {
                shift = x - f.At(x, y).x;
                break;
            }
        if (std::string why = allowed(y, shift); !why.empty()) return why;
        for (int x = 0; x < f.w; ++x) {
            const bool covered = x - shift >= 0 && x - shift < f.w;
            const Origin want = covered ? Origin{true, x - shift, y} : Origin{false, x, y};
            if (!(f.At(x, y) == want)) return "row " + std::to_string(y) + " is not one shifted row";
        }
    }
    return "";
}

// Every new pixel within the disc of diameter D about the centre, every pixel
// well inside it new.
std::string Disc(const Frame& f)
{
    const double radius = ((f.w + f.h) * f.p >> 8) / 2.0;
    for (int y = 1; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x) {
            const double distance = std::hypot(x + 0.5 - (f.w >> 1), y + 0.5 - (f.h >> 1));
            const Origin got = f.At(x, y);
            if (got.isNew && distance > radius + 1.5) return "new pixel outside the disc";
            if (!got.isNew && distance < radius - 1.5) return "old pixel inside the disc";
            if (!(got == Origin{got.isNew, x, y})) return "a pixel out of place";
        }
    return "";
}

std::string Blended(const Frame& f)
{
    // Each channel is the phase's share of the new one plus the rest of the
    // old one, each share rounded down.
    for (int y = 0; y < f.h; y += 7)
        for (int x = 0; x < f.w; x += 5) {
            const std::uint32_t got = Row(f.plane, y)[x], was = Coded(false, x, y), now = Coded(true, x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                const int a = was >> shift & 0xFF, b = now >> shift & 0xFF, c = got >> shift & 0xFF;
                const double share = a + (b - a) * f.p / 255.0;
                if (c > share || c < share - 2) return "pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is no blend";
            }
        }
    return "";
}

struct WipeCase {
    const char* name;
    WipeCall call;
    Property property; // for phases 1 to 255
};

Origin New(int x, int y) { return {true, x, y}; }

std::vector<WipeCase> Cases()
{
    using W = CTransitionWipe;
    return {
        {"Blend", Plain(&W::Blend), Blended},
        {"Square", Plain(&W::Square), Mask([](const Frame& f, int x, int y) {
             const int longer = std::max(f.w, f.h), side = longer * f.p >> 8, half = longer * f.p >> 9;
             const int left = std::max(f.w / 2 - half, 0), top = std::max(f.h / 2 - half, 0);
             return x >= left && x < left + side && y >= top && y < top + side;
         })},
        {"Circle", Plain(&W::Circle), Disc},
        {"Rect", Plain(&W::Rect), Mask([](const Frame& f, int x, int y) { return x % 16 < f.p / 16 && y % 16 < f.p / 16; })},
        {"Spiral", Plain(&W::Spiral), Mask([](const Frame& f, int x, int y) {
             return SpiralOrder[(x / 8) % 4 + 4 * ((y / 8) % 4)] <= f.p / 16;
         })},
        {"Blind", Plain(&W::Blind), Mask([](const Frame& f, int x, int) { return x % 16 <= f.p / 16; })},
        {"BlindLeft", Plain(&W::BlindLeft), Mask([](const Frame& f, int x, int) { return Staggered(x, f.w, f.p); })},
        {"BlindRight", Plain(&W::BlindRight), Mask([](const Frame& f, int x, int) { return Staggered(f.w - 1 - x, f.w, f.p); })},
        {"BlindTop", Plain(&W::BlindTop), Mask([](const Frame& f, int, int y) { return Staggered(y, f.h, f.p); })},
        {"BlindBottom", Plain(&W::BlindBottom), Mask([](const Frame& f, int, int y) { return Staggered(f.h - 1 - y, f.h, f.p); })},
        {"StripeH1", Plain(&W::StripeH1), Mask([](const Frame& f, int x, int y) { return Stripe(x, f.w, f.w * f.p >> 8, y % 2); })},
        {"StripeH2", Plain(&W::StripeH2), Mask([](const Frame& f, int x, int y) { return StripeTwice(y, x, f.w, f.p); })},
        // Both halves of the columns grow over the height's share.
        {"StripeV1", Plain(&W::StripeV1), Mask([](const Frame& f, int x, int y) { return Stripe(y, f.h, f.h * f.p >> 8, x % 2); })},
        {"StripeV2", Plain(&W::StripeV2), Mask([](const Frame& f, int x, int y) { return StripeTwice(x, y, f.h, f.p); })},
        {"Mosaic", Plain(&W::Mosaic), Mapped([](const Frame& f, int x, int y) {
             const int n = ((255 - f.p) >> 2) + 1;
             return New(x - x % n, y - y % n);
         })},
        {"CutIn", SeededCutIn(5489), [](const Frame& f) {
             const int spread = 256 - f.p;
             return ShiftedRows(f, [&](int row, int shift) {
                 return shift >= -(spread >> 1) && shift < spread - (spread >> 1) ? "" : "row " + std::to_string(row) + " shifted too far";
             });
         }},
        {"Wave", Plain(&W::Wave), [](const Frame& f) {
             return ShiftedRows(f, [&](int row, int shift) {
                 const double wave = (255 - f.p) * std::cos(2 * std::numbers::pi * (row % 64) / 64);
                 return std::abs(shift - wave) <= 1 ? "" : "row " + std::to_string(row) + " off the wave";
             });
         }},
        {"StretchLeft", Plain(&W::StretchLeft), Mapped([](const Frame& f, int x, int y) {
             const int band = f.w * f.p / 256;
             return New(std::max(x, f.w - band - 1), y);
         })},
        {"StretchRight", Plain(&W::StretchRight), Mapped([](const Frame& f, int x, int y) {
             return New(std::min(x, f.w * f.p / 256), y);
         })},
        {"StretchTop", Plain(&W::StretchTop), Mapped([](const Frame& f, int x, int y) {
             const int band = f.h * f.p / 256;
             return New(x, std::max(y, f.h - band - 1));
         })},
        {"StretchBottom", Plain(&W::StretchBottom), Mapped([](const Frame& f, int x, int y) {
             return New(x, std::min(y, f.h * f.p / 256));
         })},
        {"FlipVertical", Plain(&W::FlipVertical), Mapped([](const Frame& f, int x, int y) { return New(x, f.h - 1 - y); })},
    };
}

class WipeGolden : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(WipeGolden, EveryWipeShowsItsRuleAndItsGoldenFrame)
{
    const auto [width, height] = GetParam();
    auto next = MakePicture(width, height, kivotasuGameKit::ARGB8888, true);
    std::string table;
    for (const WipeCase& wipe : Cases()) {
        std::array<std::uint64_t, Phases.size()> hashes{};
        for (std::size_t i = 0; i < Phases.size(); ++i) {
            const int p = Phases[i];
            SCOPED_TRACE(std::string(wipe.name) + " at phase " + std::to_string(p));
            // The engine's back plane: the display's format, holding the old picture.
            auto back = MakePicture(width, height, kivotasuGameKit::XRGB8888, false);
            const int result = wipe.call(back.get(), next.get(), 0, 0, p, 0, nullptr);
            EXPECT_EQ(result, 0);
            const Frame frame{*back, width, height, p};
            if (p == 0) EXPECT_EQ(Check(frame, [](const Frame&, int x, int y) { return Origin{false, x, y}; }), "");
            else if (p == 256) EXPECT_EQ(Check(frame, [](const Frame&, int x, int y) { return New(x, y); }), "");
            else EXPECT_EQ(wipe.property(frame), "");
            hashes[i] = Hash(*back);
        }
        const auto golden = Goldens.find({wipe.name, width});
        if (golden == Goldens.end() || golden->second != hashes) {
            ADD_FAILURE() << wipe.name << " at " << width << " x " << height << " differs from its golden frames";
            table += "    {{\"" + std::string(wipe.name) + "\", " + std::to_string(width) + "}, {";
            for (std::uint64_t hash : hashes) {
                char text[32];
                std::snprintf(text, sizeof text, "0x%016llxull, ", static_cast<unsigned long long>(hash));
                table += text;
            }
            table += "}},\n";
        }
    }
    if (!table.empty()) std::printf("The frames as they are now:\n%s", table.c_str());
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, WipeGolden, ::testing::Values(std::pair{640, 480}, std::pair{800, 600}),
                         [](const auto& info) { return std::to_string(info.param.first) + "x" + std::to_string(info.param.second); });

} // namespace
