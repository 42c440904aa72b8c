#include <gtest/gtest.h>

#include "frame/EScript.h"
#include "script/tag/Text.h"
#include "tests/script/tag/TextKit.h"

using kivotasuGameKit::CTextString;
using textkit::InkIn;
using textkit::Plane;

namespace {

std::string Repeat(std::string_view character, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += character;
    return text;
}

class TextLayout : public ::testing::Test {
protected:
    TextLayout() { textkit::MakePlane(m_plane, 640, 480, 0xFF000000); }

    // Draws the message character by character as the timed display does.
    void DrawAll()
    {
        while (m_text.Draw(m_plane) != 0) {
        }
    }
    // Ink in the default window's cell (column, line): pitch 24 x 30 from (12, 12).
    int CellInk(int column, int line) { return InkIn(m_plane, 12 + 24 * column, 12 + 30 * line, 36 + 24 * column, 42 + 30 * line, 0); }

    TAG::CText m_text;
    Plane m_plane;
};

} // namespace

TEST_F(TextLayout, PageHoldsFifteenLinesOfTwentyFourAndTheSixteenthOverflows)
{
    m_text.SetMessage(CTextString(Repeat("あ", 24 * 15)));
    DrawAll();
    for (int line = 0; line < 15; ++line)
        for (int column = 0; column < 24; ++column) ASSERT_GT(CellInk(column, line), 0) << column << "," << line;
    EXPECT_EQ(CellInk(24, 0), 0) << "the hanging column stays empty for ordinary characters";
    EXPECT_EQ(m_text.GetCursor().column, 24);
    EXPECT_EQ(m_text.GetCursor().line, 14);
    EXPECT_TRUE(m_text.IsFinished());

    // One more character would start a 16th line: the error, nothing drawn,
    // the cursor where it was.
    const std::uint64_t before = textkit::Hash(m_plane);
    m_text.SetMessage(CTextString("い"));
    try {
        m_text.Draw(m_plane);
        FAIL() << "no overflow";
    } catch (const EScript& error) {
        EXPECT_EQ(error.GetMessage(), CTextString("テキスト領域をはみ出ました。"));
    }
    EXPECT_EQ(textkit::Hash(m_plane), before);
    EXPECT_EQ(m_text.GetCursor().column, 24);
    EXPECT_EQ(m_text.GetCursor().line, 14);
}

TEST_F(TextLayout, LineStartForbiddenCharactersHangAndTheNextWraps)
{
    for (std::string_view forbidden : {"、", "。", "」", "）", "！", "？", "］", "』"}) {
        m_text.Clear();
        textkit::MakePlane(m_plane, 640, 480, 0xFF000000);
        m_text.SetMessage(CTextString(Repeat("あ", 24) + std::string(forbidden) + "い"));
        DrawAll();
        EXPECT_GT(CellInk(24, 0), 0) << forbidden << " in the hanging column";
        EXPECT_GT(CellInk(0, 1), 0) << "the next character starts line 1";
        EXPECT_EQ(CellInk(1, 1), 0);
        EXPECT_EQ(m_text.GetCursor().line, 1);
        EXPECT_EQ(m_text.GetCursor().column, 1);
    }
    // An ordinary 25th character wraps at once.
    m_text.Clear();
    textkit::MakePlane(m_plane, 640, 480, 0xFF000000);
    m_text.SetMessage(CTextString(Repeat("あ", 25)));
    DrawAll();
    EXPECT_EQ(CellInk(24, 0), 0);
    EXPECT_GT(CellInk(0, 1), 0);
}

TEST_F(TextLayout, BracketIndentHoldsUntilTheClosingBracket)
{
    // "「" in column 0: wrapped lines start in column 1 until "」".
    m_text.SetMessage(CTextString("「" + Repeat("あ", 23 + 23 + 5) + "」" + Repeat("い", 18) + "う"));
    DrawAll();
    EXPECT_GT(CellInk(1, 1), 0);
    EXPECT_EQ(CellInk(0, 1), 0) << "indented";
    EXPECT_EQ(CellInk(0, 2), 0);
    // Line 2 holds 5 more "あ", "」" and 18 "い" (columns 1..24, "い" not hanging):
    // the last "い" wraps to column 0 because the indent ended.
    EXPECT_EQ(m_text.GetCursor().line, 3);
    EXPECT_EQ(m_text.GetCursor().column, 2);
    EXPECT_GT(CellInk(0, 3), 0);

    // With INDENT 0 there is no indent at all.
    TAG::CText plain;
    CTagAttributes record;
    record.SetValue(TagAttributeKey::Indent, CTextString("0"));
    plain.ParseDefault(record);
    plain.SetMessage(CTextString("「" + Repeat("あ", 24)));
    while (plain.Draw(m_plane) != 0) {
    }
    EXPECT_EQ(plain.GetCursor().column, 1);
}

TEST_F(TextLayout, AsciiDigitsBecomeFullWidthAndOtherAsciiIsSkipped)
{
    m_text.SetMessage(CTextString("ab 1\tc2!"));
    EXPECT_EQ(m_text.Draw(m_plane), 4) << "the skipped bytes and the digit";
    EXPECT_EQ(m_text.Draw(m_plane), 3);
    EXPECT_EQ(m_text.Draw(m_plane), 0) << "only skipped bytes are left";
    EXPECT_EQ(m_text.GetCursor().column, 2);

    // The digits look exactly like the full-width ones.
    TAG::CText fullWidth;
    Plane other;
    textkit::MakePlane(other, 640, 480, 0xFF000000);
    fullWidth.SetMessage(CTextString("１２"));
    while (fullWidth.Draw(other) != 0) {
    }
    EXPECT_EQ(textkit::Hash(m_plane), textkit::Hash(other));
}

TEST_F(TextLayout, LineEndPadsTheMessageWithFullWidthSpaces)
{
    m_text.SetMessage(CTextString(Repeat("あ", 10)));
    DrawAll();
    m_text.NewLine();
    EXPECT_EQ(m_text.GetMessage().GetStr(), Repeat("あ", 10) + Repeat("　", 14));
    EXPECT_TRUE(m_text.IsFinished()) << "the fill counts as drawn";
    EXPECT_EQ(m_text.GetCursor().line, 1);
    EXPECT_EQ(m_text.GetCursor().column, 0);

    // Drawn again as a whole, the page keeps the line break.
    m_text.SetMessage(CTextString("い"));
    DrawAll();
    const std::uint64_t timed = textkit::Hash(m_plane);
    textkit::MakePlane(m_plane, 640, 480, 0xFF000000);
    m_text.DrawMessage(m_plane);
    EXPECT_EQ(textkit::Hash(m_plane), timed);
    EXPECT_EQ(m_text.GetCursor().line, 1);
    EXPECT_EQ(m_text.GetCursor().column, 1);

    // A line end in the hanging column adds nothing; a whole line of 30 or more
    // columns is padded to its length.
    TAG::CText wide;
    CTagAttributes record;
    record.SetValue(TagAttributeKey::Beam, CTextString("40"));
    record.SetValue(TagAttributeKey::Width, CTextString("12"));
    wide.ParseDefault(record);
    wide.NewLine();
    EXPECT_EQ(wide.GetMessage().GetStr(), Repeat("　", 40));
}

TEST_F(TextLayout, ShowingSavesTheBackgroundOnceAndHidingRestoresIt)
{
    textkit::MakePlane(m_plane, 640, 480, 0xFF204060);
    const std::uint64_t background = textkit::Hash(m_plane);
    m_text.SetMessage(CTextString("あいう"));
    EXPECT_EQ(m_text.ShowWindow(m_plane), 0);
    EXPECT_NE(textkit::Hash(m_plane), background) << "the message is drawn on show";
    EXPECT_EQ(m_text.ShowWindow(m_plane), 1);
    EXPECT_EQ(m_text.HideWindow(m_plane), 0);
    EXPECT_EQ(textkit::Hash(m_plane), background);
    EXPECT_EQ(m_text.HideWindow(m_plane), 1);

    // Shown again without a new background: the saved one still serves.
    m_text.ShowWindow(m_plane);
    m_text.HideWindow(m_plane);
    EXPECT_EQ(textkit::Hash(m_plane), background);
}

TEST_F(TextLayout, CursorAndRectanglesFollowTheLayout)
{
    CTagAttributes record;
    record.SetValue(TagAttributeKey::X, CTextString("100"));
    record.SetValue(TagAttributeKey::Y, CTextString("300"));
    record.SetValue(TagAttributeKey::Width, CTextString("20"));
    record.SetValue(TagAttributeKey::Height, CTextString("26"));
    record.SetValue(TagAttributeKey::Beam, CTextString("20"));
    record.SetValue(TagAttributeKey::Line, CTextString("4"));
    record.SetValue(TagAttributeKey::Hang, CTextString("2"));
    m_text.ParseDefault(record);
    const auto window = m_text.GetWindowRect();
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.top, 300);
    EXPECT_EQ(window.right, 22 * 20 + 100 + 5);
    EXPECT_EQ(window.bottom, 4 * 26 + 300 + 5);

    m_text.SetMessage(CTextString(Repeat("あ", 23)));
    DrawAll();
    EXPECT_EQ(m_text.CursorPos().x, 3 * 20 + 100);
    EXPECT_EQ(m_text.CursorPos().y, 1 * 26 + 300);
    const auto line = m_text.GetLineRect(1, 50);
    EXPECT_EQ(line.top, 2 * 26 + 300);
    EXPECT_EQ(line.right, 20 * 20 + 100);
}

TEST_F(TextLayout, AbsurdLayoutsNeitherCrashNorExhaustMemory)
{
    CTagAttributes record;
    for (auto [key, value] : {std::pair{TagAttributeKey::Beam, "2000000000"}, {TagAttributeKey::Width, "-30"},
                              {TagAttributeKey::Height, "100000"}, {TagAttributeKey::X, "-2147483648"}})
        record.SetValue(key, CTextString(value));
    m_text.ParseDefault(record);
    EXPECT_EQ(m_text.ShowWindow(m_plane), 0) << "no save plane, nothing saved";
    m_text.SetMessage(CTextString("あいう"));
    DrawAll();
    m_text.NewLine();
    EXPECT_LE(m_text.GetMessage().GetLength(), 2 * 8192 + 6) << "the line fill is bounded";
    EXPECT_EQ(m_text.HideWindow(m_plane), 0);

    // No lines at all: the first character overflows.
    TAG::CText none;
    CTagAttributes noLines;
    noLines.SetValue(TagAttributeKey::Line, CTextString("0"));
    none.ParseDefault(noLines);
    none.SetMessage(CTextString("あ"));
    EXPECT_THROW(none.Draw(m_plane), EScript);
}

TEST_F(TextLayout, ACursorPutBeyondTheWindowWrapsEvenForAHangingCharacter)
{
    for (const char* column : {"30", "2147483647"}) {
        TAG::CText text;
        CTagAttributes place;
        place.SetValue(TagAttributeKey::X, CTextString(column));
        text.SetText(place);
        text.SetMessage(CTextString("、"));
        text.Draw(m_plane);
        EXPECT_EQ(text.GetCursor().column, 1) << column;
        EXPECT_EQ(text.GetCursor().line, 1) << column;
    }
}

TEST_F(TextLayout, NegativeOrEndOfRangeLayoutsOverflowAtTheFirstCharacter)
{
    CTagAttributes last;
    last.SetValue(TagAttributeKey::Y, CTextString("2147483647"));
    m_text.SetText(last);
    m_text.NewLine();
    EXPECT_EQ(m_text.GetCursor().line, 2147483647);
    m_text.SetMessage(CTextString("あ"));
    EXPECT_THROW(m_text.Draw(m_plane), EScript);

    TAG::CText negative;
    CTagAttributes record;
    for (TagAttributeKey key : {TagAttributeKey::Width, TagAttributeKey::Height, TagAttributeKey::Beam,
                                TagAttributeKey::Line, TagAttributeKey::Hang})
        record.SetValue(key, CTextString("-2147483648"));
    negative.ParseDefault(record);
    EXPECT_EQ(negative.ShowWindow(m_plane), 0) << "no save plane, nothing saved";
    negative.SetMessage(CTextString("あ"));
    EXPECT_THROW(negative.Draw(m_plane), EScript);
}
