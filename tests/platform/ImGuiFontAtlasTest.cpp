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
