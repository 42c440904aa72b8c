#include <gtest/gtest.h>

#include "script/tag/TextRules.h"

using TAG::NextLayoutChar;

// The bytes a message consumes per drawn character, and what is drawn.
TEST(TextRules, LayoutReadsDigitsDoubleBytesAndKanaAndSkipsTheRest)
{
    const struct {
        std::string text;
        std::size_t consumed;
        std::string shown;
    } cases[] = {
        {"ab7", 3, "７"},
        {"\x82\xA0x", 2, "\x82\xA0"},
        {"\xE0\x40", 2, "\xE0\x40"},
        {" \xB1\x82\xA0", 2, "\xB1"},                 // half-width katakana: one byte
        {"\x80\xA0\xFD\xFE\xFF" "5", 6, "５"},         // no character starts with these
        {"\x80\x82\xA0", 3, "\x82\xA0"},               // and the next character survives
        {"abc", 0, ""},
        {"x\x82", 0, ""},                              // a lead byte with nothing behind it
    };
    for (const auto& c : cases) {
        const TAG::LayoutChar next = NextLayoutChar(c.text, 0);
        EXPECT_EQ(next.consumed, c.consumed) << testing::PrintToString(c.text);
        EXPECT_EQ(next.shown, c.shown) << testing::PrintToString(c.text);
    }
}
