#include "platform/DrawnText.h"
#include "platform/ImGuiFontAtlas.h"
#include "tests/kit/DistinctGlyphs.h"

#include <gtest/gtest.h>
#include <algorithm>

// The drawn menus' font: every character of the player's own menu and box
// texts gets a glyph of its own, not a box or a question mark.
TEST(ImGuiFontAtlas, EveryCharacterOfTheMenuAndBoxTextsHasADistinctGlyph)
{
    testkit::ExpectDistinctGlyphs({"スキップ処理", "通常のテキスト送り", "高速スキップ", "自動閲覧", "シーンスキップ機能を有効にする",
                                   "クイックセーブ", "クイックロード", "セーブ", "ロード", "オートセーブデータ",
                                   "選択肢自動セーブデータ", "ウィンドウを隠す", "フルスクリーン表示", "フォント", "設定(&C)...",
                                   "タイトルに戻る", "終了(&X)", "終了確認", "終了しますか？", "クリア確認",
                                   "履歴をクリアしますか？", "上書き確認", "データを上書きしてもよろしいですか？", "スクリプトエラー",
                                   "……終了しちゃいますよぉ？", "キャンセル"});
}

TEST(ImGuiFontAtlas, KeepsOnlyTheGlyphsAsked)
{
    platform::ImGuiFontAtlas fonts;
    fonts.Include({0x5C65}, 16.0f);
    // A character the labels never use is left out of the atlas, and one the
    // face lacks (a private-use code point) has no glyph either.
    EXPECT_FALSE(fonts.HasGlyph(0x9B31));
    fonts.Include({0xE000}, 16.0f);
    EXPECT_FALSE(fonts.HasGlyph(0xE000));
    EXPECT_TRUE(fonts.HasGlyph(0x5C65)) << "what it held stays";
}

// Thin strokes (the underscore, the bar) lie a fraction of a pixel high at
// the sizes the dialogs use: 16 px in the window, up to three times that in
// full screen. Each printable ASCII glyph shows ink inside its line's cell.
TEST(ImGuiFontAtlas, EveryPrintableAsciiGlyphHasInkInsideItsCell)
{
    std::set<std::uint16_t> ascii;
    for (std::uint16_t c = 0x21; c < 0x7F; ++c) ascii.insert(c);
    for (float pixels = 16.0f; pixels <= 48.0f; pixels += 0.5f) {
        platform::ImGuiFontAtlas fonts;
        fonts.Include(ascii, pixels);
        for (std::uint16_t c : ascii) {
            const auto glyph = fonts.GlyphPlacement(c);
            ASSERT_TRUE(glyph) << char(c) << " at " << pixels;
            const std::vector<std::uint8_t> coverage = fonts.GlyphCoverage(c);
            EXPECT_GT(std::count_if(coverage.begin(), coverage.end(), [](std::uint8_t a) { return a > 128; }), 0)
                << char(c) << " at " << pixels;
            EXPECT_TRUE(glyph->left >= 0 && glyph->right <= glyph->cellWidth && glyph->top >= 0
                        && glyph->bottom <= glyph->cellHeight)
                << char(c) << " at " << pixels << ": " << glyph->left << ".." << glyph->right << " x " << glyph->top
                << ".." << glyph->bottom;
        }
    }
}

// A path or a shell command in a box is typed as shown: U+005C is a stroke
// from the top left to the bottom right, not the yen sign Japanese faces
// draw for it (a yen's top row is inked on both sides).
TEST(ImGuiFontAtlas, TheBackslashIsDrawnAsOneNotAsAYenSign)
{
    for (float pixels = 16.0f; pixels <= 48.0f; pixels += 8.0f) {
        platform::ImGuiFontAtlas fonts;
        fonts.Include({0x5C}, pixels);
        const auto glyph = fonts.GlyphPlacement(0x5C);
        ASSERT_TRUE(glyph) << pixels;
        const std::vector<std::uint8_t> coverage = fonts.GlyphCoverage(0x5C);
        const auto width = static_cast<std::size_t>(glyph->right - glyph->left + 0.5f);
        ASSERT_GT(width, 0u);
        std::vector<std::size_t> inkedRows;
        for (std::size_t row = 0; row * width < coverage.size(); ++row)
            if (std::any_of(coverage.begin() + row * width, coverage.begin() + (row + 1) * width, [](std::uint8_t a) { return a > 128; }))
                inkedRows.push_back(row);
        ASSERT_FALSE(inkedRows.empty()) << pixels;
        // Where a row's ink lies: -1 wholly in the left half, 1 wholly in the right, 0 both.
        const auto side = [&](std::size_t row) {
            bool left = false, right = false;
            for (std::size_t x = 0; x < width; ++x) {
                if (coverage[row * width + x] <= 128) continue;
                (2 * x + 1 < width ? left : right) = true;
            }
            return left && right ? 0 : left ? -1 : 1;
        };
        EXPECT_EQ(side(inkedRows.front()), -1) << "the top row at " << pixels;
        EXPECT_EQ(side(inkedRows.back()), 1) << "the bottom row at " << pixels;
    }
}
