#include <gtest/gtest.h>

#include "platform/TextCodec.h"

// The test file is compiled to Shift-JIS, so literals here are written as bytes.
TEST(TextCodec, Cp932RoundTrip)
{
    // "表示" (95 5C 8E A6) and "\" must stay a backslash, not a yen sign.
    const std::string sjis = "C:\\\x95\x5C\x8E\xA6\\a.txt";
    const std::string utf8 = "C:\\\xE8\xA1\xA8\xE7\xA4\xBA\\a.txt";
    EXPECT_EQ(platform::Cp932ToUtf8(sjis), utf8);
    EXPECT_EQ(platform::Utf8ToCp932(utf8), sjis);
    // Half-width katakana and the CP932 extension "①" (87 40).
    EXPECT_EQ(platform::Cp932ToUtf8("\xB1\x87\x40"), "\xEF\xBD\xB1\xE2\x91\xA0");
}

TEST(TextCodec, UnconvertibleTextBecomesQuestionMarks)
{
    // A lead byte at the end, and a pair unassigned in CP932 (85 40).
    EXPECT_EQ(platform::Cp932ToUtf8("a\x82"), "a?");
    EXPECT_EQ(platform::Cp932ToUtf8("\x85\x40z"), "?z");
    // An emoji has no Shift-JIS form; broken UTF-8 neither.
    EXPECT_EQ(platform::Utf8ToCp932("a\xF0\x9F\x98\x80" "b"), "a?b");
    EXPECT_EQ(platform::Utf8ToCp932("\xC3"), "?");
    EXPECT_EQ(platform::Cp932ToUtf8(""), "");
}
