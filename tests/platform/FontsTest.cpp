#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Fonts.h"

namespace {

// A 64 x 48 canvas with guard rows and columns around it.
struct Canvas {
    static constexpr int Width = 64, Height = 48, Guard = 8, Pitch = (Width + 2 * Guard) * 4;
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(std::size_t(Pitch) * (Height + 2 * Guard), 0xCD);

    Canvas()
    {
        for (int y = 0; y < Height; ++y) std::fill_n(Cell(0, y), Width * 4, 0);
    }
    std::uint8_t* Cell(int x, int y) { return bytes.data() + std::size_t(y + Guard) * Pitch + (x + Guard) * 4; }
    platform::GlyphCanvas View() { return {Cell(0, 0), Pitch, Width, Height}; }

    bool GuardsIntact()
    {
        for (int y = -Guard; y < Height + Guard; ++y)
            for (int x = -Guard; x < Width + Guard; ++x) {
                const bool inside = x >= 0 && x < Width && y >= 0 && y < Height;
                if (!inside && *Cell(x, y) != 0xCD) return false;
            }
        return true;
    }

    struct Box {
        int left = Width, top = Height, right = -1, bottom = -1, count = 0;
    };
    Box Covered()
    {
        Box box;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (Cell(x, y)[3]) {
                    box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                    box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
                    ++box.count;
                }
        return box;
    }
};

std::unique_ptr<platform::IFontFace> PinnedFace(int cellHeight)
{
    platform::PinnedFonts fonts({"ＩＰＡゴシック"});
    auto face = fonts.OpenFace("", cellHeight);
    EXPECT_TRUE(face);
    return face;
}

} // namespace

TEST(Fonts, GlyphStaysInsideItsCellAndTakesTheColour)
{
    auto face = PinnedFace(24);
    Canvas canvas;
    face->DrawChar("あ", canvas.View(), 4, 2, 0x123456, false);
    const auto box = canvas.Covered();
    ASSERT_GT(box.count, 20);
    // A full-width character fills most of its 24-pixel cell, never beyond it.
    EXPECT_GE(box.top, 2);
    EXPECT_LT(box.bottom, 2 + 24);
    EXPECT_GE(box.left, 4);
    EXPECT_LT(box.right, 4 + 24);
    EXPECT_GT(box.bottom - box.top, 12);
    for (int y = 0; y < Canvas::Height; ++y)
        for (int x = 0; x < Canvas::Width; ++x) {
            const std::uint8_t* cell = canvas.Cell(x, y);
            if (!cell[3]) continue;
            EXPECT_EQ(cell[3], 255) << "mono coverage is all or nothing";
            EXPECT_EQ(cell[0] | cell[1] << 8 | cell[2] << 16, 0x123456);
        }
}

TEST(Fonts, BaselineLiesAtTheAscent)
{
    // IPA Gothic: Windows ascent 1802 and descent 401 units, so a 24-pixel
    // cell puts the baseline 20 pixels below its top; a capital stands on it
    // and a descender goes below it (IPA's capitals rest a hair above it).
    auto face = PinnedFace(24);
    Canvas capital, descender;
    face->DrawChar("H", capital.View(), 0, 10, 0xFFFFFF, false);
    face->DrawChar("g", descender.View(), 0, 10, 0xFFFFFF, false);
    EXPECT_NEAR(capital.Covered().bottom, 10 + 20 - 1, 1);
    EXPECT_GT(descender.Covered().bottom, 10 + 20);
    // Moving the pen moves the glyph and nothing else.
    Canvas moved;
    face->DrawChar("H", moved.View(), 5, 13, 0xFFFFFF, false);
    EXPECT_EQ(moved.Covered().left, capital.Covered().left + 5);
    EXPECT_EQ(moved.Covered().top, capital.Covered().top + 3);
}

TEST(Fonts, AntialiasingGivesPartialCoverage)
{
    auto face = PinnedFace(24);
    Canvas canvas;
    face->DrawChar("あ", canvas.View(), 0, 0, 0xFFFFFF, true);
    int partial = 0;
    for (int y = 0; y < Canvas::Height; ++y)
        for (int x = 0; x < Canvas::Width; ++x) partial += canvas.Cell(x, y)[3] > 0 && canvas.Cell(x, y)[3] < 255;
    EXPECT_GT(partial, 10);
}

TEST(Fonts, DrawingOverTheEdgesIsClipped)
{
    auto face = PinnedFace(40);
    Canvas canvas;
    for (auto [x, y] : {std::pair{-20, -20}, {50, 30}, {-30, 40}, {200, 200}})
        face->DrawChar("漢", canvas.View(), x, y, 0xFFFFFF, true);
    EXPECT_TRUE(canvas.GuardsIntact());
    EXPECT_GT(canvas.Covered().count, 0);
}

TEST(Fonts, ReturnedBoundsHoldEveryCoveredCellAndTheRestStays)
{
    auto face = PinnedFace(40);
    for (auto [x, y] : {std::pair{3, 1}, {-20, -20}, {50, 30}, {-30, 40}, {200, 200}}) {
        // The same glyph on a blank canvas and on a patterned one.
        Canvas blank, patterned;
        for (int row = 0; row < Canvas::Height; ++row)
            for (int col = 0; col < Canvas::Width * 4; ++col) patterned.Cell(0, row)[col] = std::uint8_t(row * 31 + col * 7 + 1);
        Canvas before = patterned;
        const platform::GlyphBounds bounds = face->DrawChar("漢", blank.View(), x, y, 0xA0B0C0, true);
        EXPECT_EQ(face->DrawChar("漢", patterned.View(), x, y, 0xA0B0C0, true).right, bounds.right);
        const auto box = blank.Covered();
        if (box.count == 0) {
            EXPECT_TRUE(bounds.left >= bounds.right || bounds.top >= bounds.bottom) << x << "," << y;
        } else {
            EXPECT_GE(bounds.left, 0);
            EXPECT_GE(bounds.top, 0);
            EXPECT_LE(bounds.right, Canvas::Width);
            EXPECT_LE(bounds.bottom, Canvas::Height);
            EXPECT_LE(bounds.left, box.left);
            EXPECT_LE(bounds.top, box.top);
            EXPECT_GT(bounds.right, box.right);
            EXPECT_GT(bounds.bottom, box.bottom);
        }
        for (int row = 0; row < Canvas::Height; ++row)
            for (int col = 0; col < Canvas::Width; ++col) {
                Canvas& expected = blank.Cell(col, row)[3] ? blank : before;
                ASSERT_EQ(std::memcmp(patterned.Cell(col, row), expected.Cell(col, row), 4), 0) << col << "," << row;
            }
        EXPECT_TRUE(patterned.GuardsIntact());
    }
}

TEST(Fonts, UnknownFacesFallBackToTheDefault)
{
    platform::PinnedFonts pinned({"ＭＳ ゴシック"});
    EXPECT_FALSE(pinned.OpenFace("ＭＳ ゴシック", 24)->IsFallback());
    EXPECT_FALSE(pinned.OpenFace("", 24)->IsFallback());
    EXPECT_TRUE(pinned.OpenFace("無い書体", 24)->IsFallback());

    platform::FontconfigFonts installed;
    auto fallback = installed.OpenFace("無い書体", 24);
    ASSERT_TRUE(fallback);
    EXPECT_TRUE(fallback->IsFallback());
    EXPECT_FALSE(installed.OpenFace("", 24)->IsFallback());
    // A file that is no font gives no face.
    EXPECT_FALSE(platform::PinnedFonts({}, "/dev/null").OpenFace("", 24));
}

TEST(Fonts, InstalledJapaneseFamiliesUseTheirJapaneseNames)
{
    // The default face's package is a dependency of the build.
    platform::FontconfigFonts installed;
    const auto families = installed.ListJapaneseFamilies();
    ASSERT_FALSE(families.empty());
    EXPECT_EQ(families[0], "IPAゴシック") << "the default face's family first";
    EXPECT_TRUE(std::is_sorted(families.begin() + 1, families.end()));
    EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
    EXPECT_FALSE(installed.OpenFace("IPAゴシック", 24)->IsFallback());
}
