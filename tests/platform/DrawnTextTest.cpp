#include "platform/DrawnText.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

TEST(DrawnText, CaptionsDropAccessMarksButKeepShiftJisSecondBytesAndOtherTextsShowAsGiven)
{
    using Kind = platform::DialogControl::Kind;
    struct Case {
        Kind kind;
        std::string sjis;
        std::string shown;
        char key = 0; // a caption's access key
    };
    // "ｦ" (0xA6) is a one-byte kana; 0x82 0x26 would be a lead byte with "&"
    // as its second byte, which is part of the character, not a mark.
    const Case cases[] = {
        {Kind::CheckBox, "終了(&X)", platform::Cp932ToUtf8("終了(X)"), 'X'},
        {Kind::Radio, "設定(&c)...", platform::Cp932ToUtf8("設定(c)..."), 'C'},
        {Kind::Group, "A && B", "A & B"},
        {Kind::Page, "&", ""},
        {Kind::CheckBox, "000: - NONE -", "000: - NONE -"},
        {Kind::CheckBox, std::string("\x82\x26"), platform::Cp932ToUtf8(std::string("\x82\x26"))},
        // A box's message: the tag as the script wrote it, a command to type.
        {Kind::Label, "[JUMP LABEL=\"A&B\"]\n\n『A&B』", platform::Cp932ToUtf8("[JUMP LABEL=\"A&B\"]\n\n『A&B』")},
        {Kind::Label, "iconv x > 'x.sjis' && mv 'x.sjis' 'it'\\''s'", "iconv x > 'x.sjis' && mv 'x.sjis' 'it'\\''s'"},
        {Kind::Link, "https://example.org/?a=1&b=2", "https://example.org/?a=1&b=2"},
    };
    for (const Case& c : cases) {
        platform::DialogControl control;
        control.kind = c.kind;
        control.textSjis = c.sjis;
        EXPECT_EQ(platform::ShownControlText(control), c.shown) << c.sjis;
        if (c.kind != Kind::Label && c.kind != Kind::Link) {
            EXPECT_EQ(platform::AccessKey(c.sjis), c.key) << c.sjis;
        }
    }
}

TEST(DrawnText, GlyphRangesCoverExactlyTheLabelsAndAscii)
{
    std::set<std::uint16_t> codepoints;
    platform::CollectCodepoints(platform::ShownLabel("履歴をクリアしますか？"), codepoints);
    platform::CollectCodepoints("\x01\t", codepoints); // controls need no glyph
    EXPECT_EQ(codepoints.size(), 11u);
    EXPECT_TRUE(codepoints.count(0x5C65));            // 履, outside ImGui's own Japanese range
    const std::vector<std::uint16_t> ranges = platform::GlyphRanges(codepoints);
    ASSERT_FALSE(ranges.empty());
    EXPECT_EQ(ranges.back(), 0);
    EXPECT_EQ(ranges[0], 0x20);
    EXPECT_EQ(ranges[1], 0x7E);
    std::set<std::uint16_t> covered;
    for (std::size_t i = 0; i + 1 < ranges.size(); i += 2) {
        ASSERT_LE(ranges[i], ranges[i + 1]);
        if (i > 0) {
            EXPECT_GT(ranges[i], ranges[i - 1] + 1) << "runs that touch are merged";
        }
        for (std::uint32_t c = ranges[i]; c <= ranges[i + 1]; ++c) covered.insert(static_cast<std::uint16_t>(c));
    }
    for (std::uint16_t c : codepoints) EXPECT_TRUE(covered.count(c)) << c;
    EXPECT_EQ(covered.size(), 95u + codepoints.size()); // "？" is the full-width one, not ASCII
}

TEST(DrawnText, LinesBreakAfterSeparatorsAndBetweenWideCharactersNotInsideNames)
{
    // One unit a byte of UTF-8: a Japanese character counts three.
    const auto bytes = [](std::string_view text) { return static_cast<float>(text.size()); };
    struct Case {
        std::string text;
        float width;
        std::string broken;
    };
    const Case cases[] = {
        {"the start script /home/player/games/index.txt cannot be opened.", 24,
         "the start script /home/\nplayer/games/index.txt \ncannot be opened."},
        {"a/b\n/long/path", 6, "a/b\n/long/\npath"},
        // No line of a shell command ends in a backslash, a continuation there.
        {"mv 'it'\\''s' x", 9, "mv 'it'\n\\''s' x"},
        {"Z:\\data\\index.txt", 8, "Z:\\data\n\\index.txt"},
        {platform::Cp932ToUtf8("開始スクリプトがない"), 12, platform::Cp932ToUtf8("開始スク\nリプトが\nない")},
        {platform::Cp932ToUtf8("見つからない:/data/index.txt"), 20, platform::Cp932ToUtf8("見つからない:/\ndata/index.txt")},
        {"averyveryverylongname", 5, "averyveryverylongname"}, // ImGui's own wrap takes over
        {"", 10, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::BrokenLines(c.text, c.width, bytes), c.broken) << c.text;
}
