#include "platform/DrawnText.h"
#include "platform/ImGuiFontAtlas.h"
#include "tests/kit/DistinctGlyphs.h"

#include <gtest/gtest.h>

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
