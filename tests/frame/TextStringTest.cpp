#include <gtest/gtest.h>

#include "frame/TextString.h"

using namespace kivotasuGameKit;

namespace {
// "表" and "ソ" end in 0x5C, the byte of "\".
const char Hyou[] = "\x95\x5C";
const char So[] = "\x83\x5C";
} // namespace

TEST(TextString, SearchesNeverStopAtASecondByte)
{
    CTextString path = std::string("a\\") + Hyou + "\\" + So + "x";  // a \ 表 \ ソ x
    EXPECT_EQ(path.Find('\\'), 1);
    EXPECT_EQ(path.ReverseFind('\\'), 4);
    EXPECT_EQ(CTextString(Hyou).Find('\\'), -1);
    EXPECT_EQ(CTextString(So).ReverseFind('\\'), -1);
    EXPECT_EQ(CTextString().Find('a'), -1);

    EXPECT_EQ(path.RightOfLast('\\').GetStr(), std::string(So) + "x");
    EXPECT_EQ(path.LeftOfLast('\\').GetStr(), std::string("a\\") + Hyou);
    EXPECT_EQ(path.LeftOfFirst('\\').GetStr(), "a");

    path.ToSlash();
    EXPECT_EQ(path.GetStr(), std::string("a/") + Hyou + "/" + So + "x");
}

TEST(TextString, CuttingAtAMissingCharacterKeepsTheWholeText)
{
    CTextString text("name.txt");
    EXPECT_EQ(text.LeftOfFirst('/').GetStr(), "name.txt");
    EXPECT_EQ(text.RightOfLast('/').GetStr(), "name.txt");
    EXPECT_EQ(text.LeftOfLast('.').GetStr(), "name");

    CTextString keep("dir/sub/file");
    keep.KeepLeftOfLast('/');
    EXPECT_EQ(keep.GetStr(), "dir/sub");
    keep.KeepRightOfFirst('/');
    EXPECT_EQ(keep.GetStr(), "sub");
    keep.KeepRightOfFirst('/');
    EXPECT_EQ(keep.GetStr(), "sub");
}

TEST(TextString, NumbersAndTrim)
{
    EXPECT_TRUE(CTextString("-3").IsNumber());
    EXPECT_TRUE(CTextString("7a").IsNumber());
    EXPECT_FALSE(CTextString("").IsNumber());
    EXPECT_FALSE(CTextString(" 7").IsNumber());
    EXPECT_EQ(CTextString("  -42xyz").ToInt(), -42);
    EXPECT_EQ(CTextString("99999999999").ToInt(), 2147483647);
    EXPECT_EQ(CTextString("-99999999999").ToInt(), -2147483647 - 1);

    CTextString number("x=");
    number.AppendNumber(-5);
    EXPECT_EQ(number.GetStr(), "x=-5");
    number.SetNumber(12);
    EXPECT_EQ(number.GetStr(), "12");

    CTextString padded("  a  ");
    padded.Trim();
    EXPECT_EQ(padded.GetStr(), "a  ");
    CTextString blank(" \t\r\n");
    blank.Trim();
    EXPECT_TRUE(blank.IsEmpty());
}

TEST(TextString, AppendersWriteTagAttributes)
{
    CTextString tag("[LAYER");
    tag.AppendAttribute("NAME", CTextString("bg"));
    tag.AppendRectAttributes(10, 20, 110, 70);
    tag.AppendAttribute("COLOR", CTextString());
    tag += ' ';
    tag.AppendColorCode(0x00FF8001);
    tag += ']';
    EXPECT_EQ(tag.GetStr(), "[LAYER NAME=\"bg\" X=\"10\" Y=\"20\" WIDTH=\"100\" HEIGHT=\"50\" COLOR=\"\" #FF8001]");

    CTextString formatted;
    formatted.AppendFormat("%s%03d", "s", 7);
    EXPECT_EQ(formatted.GetStr(), "s007");
    CTextString longText;
    longText.AppendFormat("%s", std::string(2000, 'x').c_str());
    EXPECT_EQ(longText.GetLength(), 1023);
}

TEST(TextString, ComparesTwoByteCharactersAsOneUnit)
{
    // Byte-wise 0x81 < 0xA1, but the character 0x8140 is above the half-width 0xA1.
    CTextString wide("\x81\x40");
    CTextString halfWidth("\xA1");
    EXPECT_TRUE(halfWidth < wide);
    EXPECT_FALSE(wide < halfWidth);
    EXPECT_TRUE(CTextString("ab") < CTextString("abc"));
    EXPECT_EQ(Compare(CTextString(Hyou), CTextString(Hyou)), 0);
    EXPECT_TRUE(CTextString("a") != CTextString("b"));

    CTextString self("same");
    const CTextString& alias = self;
    self = alias;
    EXPECT_EQ(self.GetStr(), "same");
    EXPECT_EQ((CTextString("a") + CTextString("b")).GetStr(), "ab");
}

TEST(TextFunctions, LeadBytesAndBlanks)
{
    EXPECT_FALSE(IsShiftJISLeadByte('\x80'));
    EXPECT_TRUE(IsShiftJISLeadByte('\x81'));
    EXPECT_TRUE(IsShiftJISLeadByte('\x9F'));
    EXPECT_FALSE(IsShiftJISLeadByte('\xA0'));
    EXPECT_FALSE(IsShiftJISLeadByte('\xDF'));
    EXPECT_TRUE(IsShiftJISLeadByte('\xE0'));
    EXPECT_TRUE(IsShiftJISLeadByte('\xFC'));
    EXPECT_FALSE(IsShiftJISLeadByte('\xFD'));

    const char* text = " \t\r\nab cd";
    EXPECT_FALSE(SkipBlanks(text));
    EXPECT_EQ(CutToken(text), "ab");
    EXPECT_EQ(*text, ' ');
    const char* end = "  ";
    EXPECT_TRUE(SkipBlanks(end));
}

TEST(TextFunctions, MakeLowerTouchesAsciiOnly)
{
    // A half-width katakana stays; so does "ア" (83 41), whose second byte is "A".
    std::string text = std::string("AZ\xB1") + "\x83\x41" + Hyou + "Q";
    MakeLower(text);
    EXPECT_EQ(text, std::string("az\xB1") + "\x83\x41" + Hyou + "q");
}

TEST(TextFunctions, ParseInt)
{
    std::int64_t value = 99;
    EXPECT_EQ(ParseInt("-12ab", value), 0);
    EXPECT_EQ(value, -12);
    EXPECT_EQ(ParseInt("-", value), 1);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(ParseInt("x1", value), 1);
    EXPECT_EQ(ParseInt("+1", value), 1);
    EXPECT_EQ(ParseInt(" 1", value), 1);
    EXPECT_EQ(ParseInt("", value), 1);
    EXPECT_EQ(ParseInt("9223372036854775807", value), 0);
    EXPECT_EQ(value, INT64_MAX);
    EXPECT_EQ(ParseInt("9223372036854775808", value), 0);  // wraps
    EXPECT_EQ(value, INT64_MIN);
}

TEST(TextFunctions, Int64ToString)
{
    std::string out = "junk";
    Int64ToString(out, 0);
    EXPECT_EQ(out, "0");
    Int64ToString(out, -120);
    EXPECT_EQ(out, "-120");
    Int64ToString(out, INT64_MIN);
    EXPECT_EQ(out, "-9223372036854775808");
}

TEST(TextFunctions, ReplaceAll)
{
    std::string text = "aXbx";
    ReplaceAll(text, "x", "yy", false);
    EXPECT_EQ(text, "ayybyy");
    text = "aXbx";
    ReplaceAll(text, "x", "yy", true);
    EXPECT_EQ(text, "aXbyy");

    // "\" never matches the second byte of "表"; matches do not overlap.
    text = std::string(Hyou) + "\\aaa";
    ReplaceAll(text, "\\", "/", true);
    EXPECT_EQ(text, std::string(Hyou) + "/aaa");
    ReplaceAll(text, "aa", "b", true);
    EXPECT_EQ(text, std::string(Hyou) + "/ba");

    text = "none";
    ReplaceAll(text, "zz", "q", false);
    EXPECT_EQ(text, "none");
    ReplaceAll(text, "", "q", false);
    EXPECT_EQ(text, "none");
}

TEST(TextFunctions, ParseColorValue)
{
    std::int32_t colour = 7;
    EXPECT_TRUE(ParseColorValue("#00ff00", colour));
    EXPECT_EQ(colour, 0x00FF00);
    EXPECT_TRUE(ParseColorValue("#Ab", colour));
    EXPECT_EQ(colour, 0xAB);
    EXPECT_TRUE(ParseColorValue("white", colour));
    EXPECT_EQ(colour, 0xFFFFFF);
    EXPECT_TRUE(ParseColorValue("Black", colour));
    EXPECT_EQ(colour, 0);
    EXPECT_TRUE(ParseColorValue("none", colour));
    EXPECT_EQ(colour, -1);
    colour = 7;
    EXPECT_FALSE(ParseColorValue("#", colour));
    EXPECT_FALSE(ParseColorValue("#g1", colour));
    EXPECT_FALSE(ParseColorValue("", colour));
    EXPECT_FALSE(ParseColorValue("red", colour));
    EXPECT_EQ(colour, 7);
}
