#include <gtest/gtest.h>

#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "script/dib/DIB32Ex.h"
#include "script/tag/Text.h"
#include "script/tag/WindowManager.h"
#include "tests/script/ScriptFiles.h"
#include "tests/script/tag/TextKit.h"

using kivotasuGameKit::CTextString;
using textkit::PixelAt;
using textkit::Plane;

namespace {

// What the dispatcher does with the WINDOW family's tags.
void RunWindowTags(TAG::CWindowManager& windows, const std::string& script)
{
    textkit::Replay(script, [&](CTagAttributes& record) {
        switch (record.GetId()) {
        case TagId::DefaultWindow: windows.ParseDefault(record); break;
        case TagId::Window: windows.SetElement(record); break;
        case TagId::FadeWindow: windows.OnFadeWindow(record); break;
        case TagId::BeginWindow: windows.SetIndex(record); break;
        default: FAIL() << "unexpected tag";
        }
    });
}

class WindowManager : public ::testing::Test {
protected:
    WindowManager()
    {
        textkit::MakePlane(m_screen, 640, 480, 0xFFFFFFFF);
        m_windows.SetText(&m_text);
    }

    TAG::CText m_text;
    TAG::CWindowManager m_windows;
    Plane m_screen;
};

} // namespace

TEST_F(WindowManager, WithoutWindowsNothingIsDrawn)
{
    EXPECT_FALSE(m_windows.Draw(m_screen, 0x5070A0));
    EXPECT_EQ(textkit::InkIn(m_screen, 0, 0, 640, 480, 0xFFFFFF), 0);
    const auto area = m_windows.GetArea();
    EXPECT_EQ(area.left, 640);
    EXPECT_EQ(area.top, 480);
    EXPECT_EQ(area.right, 0);
    EXPECT_EQ(area.bottom, 0);
    CTagAttributes fade;
    fade.SetValue(TagAttributeKey::Name, CTextString("w"));
    try {
        m_windows.OnFadeWindow(fade);
        FAIL();
    } catch (const EScript& error) {
        EXPECT_EQ(error.GetMessage(), CTextString("その名前は使用されていません。"));
    }
}

TEST_F(WindowManager, PlainWindowDarkensItsRectangleAndHidingRestoresIt)
{
    RunWindowTags(m_windows, "[WINDOW NAME=\"w\"]");
    ASSERT_TRUE(m_windows.Draw(m_screen, 0x5070A0));
    // White blended half and half (rate 128) with black: 128 in every channel.
    EXPECT_EQ(PixelAt(m_screen, 0, 0) & 0xFFFFFF, 0x808080u) << "the whole screen by default";
    EXPECT_EQ(PixelAt(m_screen, 639, 479) & 0xFFFFFF, 0x808080u);
    EXPECT_TRUE(m_windows.Hide(m_screen));
    EXPECT_EQ(textkit::InkIn(m_screen, 0, 0, 640, 480, 0xFFFFFF), 0);
    EXPECT_FALSE(m_windows.Hide(m_screen));

    RunWindowTags(m_windows, "[FADEWINDOW NAME=\"w\" X=\"10\" Y=\"300\" WIDTH=\"600\" HEIGHT=\"-5\"]");
    m_windows.Draw(m_screen, 0);
    EXPECT_EQ(textkit::InkIn(m_screen, 0, 0, 640, 480, 0xFFFFFF), 0) << "a negative size is empty";
    m_windows.Hide(m_screen);
    RunWindowTags(m_windows, "[FADEWINDOW NAME=\"w\" X=\"10\" Y=\"300\" WIDTH=\"600\" HEIGHT=\"900\"]");
    m_windows.Draw(m_screen, 0);
    EXPECT_EQ(textkit::InkIn(m_screen, 10, 300, 610, 480, 0xFFFFFF), 600 * 180);
    EXPECT_EQ(textkit::InkIn(m_screen, 0, 0, 640, 480, 0xFFFFFF), 600 * 180) << "only the rectangle, clipped";
}

TEST_F(WindowManager, StylesDecideWhetherShownWindowsAreDrawnAgain)
{
    // NONE: a second draw while shown changes nothing.
    RunWindowTags(m_windows, "[WINDOW NAME=\"w\"][FADEWINDOW NAME=\"w\" X=\"0\" Y=\"0\" WIDTH=\"10\" HEIGHT=\"10\"]");
    m_windows.Draw(m_screen, 0);
    const std::uint64_t once = textkit::Hash(m_screen);
    EXPECT_FALSE(m_windows.Draw(m_screen, 0));
    EXPECT_EQ(textkit::Hash(m_screen), once);

    // TRH redraws every time, from the saved background (not darker and darker).
    m_windows.Hide(m_screen);
    RunWindowTags(m_windows, "[DEFAULTWINDOW CONTROL=\"TRH\"]");
    EXPECT_TRUE(m_windows.Draw(m_screen, 0));
    EXPECT_TRUE(m_windows.Draw(m_screen, 0));
    EXPECT_EQ(textkit::Hash(m_screen), once);

    // TRH2 draws again only after the window number changed; the same number
    // twice is one change.
    RunWindowTags(m_windows, "[DEFAULTWINDOW CONTROL=\"TRH2\"][BEGINWINDOW NAME=\"1\"]");
    EXPECT_TRUE(m_windows.Draw(m_screen, 0));
    RunWindowTags(m_windows, "[BEGINWINDOW NAME=\"1\"]");
    EXPECT_FALSE(m_windows.Draw(m_screen, 0));
    m_windows.ResetIndex();
    EXPECT_TRUE(m_windows.Draw(m_screen, 0));
    EXPECT_EQ(m_windows.GetWindowNumber(), 0);
}

TEST_F(WindowManager, SelectionWalksTheListAsARing)
{
    RunWindowTags(m_windows, "[WINDOW NAME=\"a\"][WINDOW NAME=\"b\"][WINDOW NAME=\"c\"]");
    EXPECT_TRUE(m_windows.IsWindowCount(0)) << "WINDOW makes the first window current";
    m_windows.SelectWindow(2);
    EXPECT_TRUE(m_windows.IsWindowCount(2));
    m_windows.SelectWindow(-1);
    EXPECT_TRUE(m_windows.IsWindowCount(3)) << "one step back from the first is the list's end";
    EXPECT_FALSE(m_windows.Draw(m_screen, 0)) << "the end is no window to draw";
    m_windows.SelectWindow(-2);
    EXPECT_TRUE(m_windows.IsWindowCount(2));
}

TEST_F(WindowManager, TintBehindAPictureUsesTheTargetsOwnPitch)
{
    // A 4 x 3 picture of non-zero pixels at (5, 2) over a 20-pixel-wide target.
    DIB::CDIB32Ex mask;
    CTagAttributes record;
    record.SetValue(TagAttributeKey::Width, CTextString("4"));
    record.SetValue(TagAttributeKey::Height, CTextString("3"));
    record.SetValue(TagAttributeKey::X, CTextString("5"));
    record.SetValue(TagAttributeKey::Y, CTextString("2"));
    mask.Parse(record);
    mask.SetFillColor(0xFF000001);
    mask.Clear(nullptr);
    Plane narrow;
    textkit::MakePlane(narrow, 20, 8, 0xFF808080);
    mask.ColorizeBehind(narrow, 0x80FF40);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 5 && x < 9 && y >= 2 && y < 5;
            // 0x80 x 0x80 / 256 = 0x40, 0x80 x 0xFF / 256 = 0x7F, 0x80 x 0x40 / 256 = 0x20.
            EXPECT_EQ(PixelAt(narrow, x, y) & 0xFFFFFF, inside ? 0x407F20u : 0x808080u) << x << "," << y;
        }
}

TEST_F(WindowManager, APictureAtTheEndsOfTheIntRangeTintsNothingAndBoundsStopThere)
{
    DIB::CDIB32Ex mask;
    CTagAttributes record;
    record.SetValue(TagAttributeKey::Width, CTextString("4"));
    record.SetValue(TagAttributeKey::Height, CTextString("3"));
    mask.Parse(record);
    mask.SetFillColor(0xFF000001);
    mask.Clear(nullptr);
    for (const char* place : {"2147483647", "-2147483648"}) {
        CTagAttributes move;
        move.SetValue(TagAttributeKey::X, CTextString(place));
        move.SetValue(TagAttributeKey::Y, CTextString(place));
        mask.Parse(move);
        mask.ColorizeBehind(m_screen, 0);
        EXPECT_EQ(textkit::InkIn(m_screen, 0, 0, 640, 480, 0xFFFFFF), 0) << place;
    }
    CTagAttributes nearEnd;
    nearEnd.SetValue(TagAttributeKey::X, CTextString("2147483646"));
    nearEnd.SetValue(TagAttributeKey::Y, CTextString("2147483645"));
    mask.Parse(nearEnd);
    const auto rect = mask.GetRect();
    EXPECT_EQ(rect.left, 2147483646);
    EXPECT_EQ(rect.right, 2147483647);
    EXPECT_EQ(rect.bottom, 2147483647);
}

TEST_F(WindowManager, WrittenFamilyReadsBackToTheSameFrames)
{
    ScriptFiles files;
    RunWindowTags(m_windows, "[DEFAULTWINDOW CONTROL=\"TRH2\" EFFECT=\"NONE\"][WINDOW NAME=\"a\"]"
                   "[FADEWINDOW NAME=\"a\" X=\"0\" Y=\"330\" WIDTH=\"640\" HEIGHT=\"150\"]"
                   "[WINDOW NAME=\"b\"][FADEWINDOW NAME=\"b\" X=\"20\" Y=\"290\" WIDTH=\"160\" HEIGHT=\"36\"]"
                   "[BEGINWINDOW NAME=\"1\"]");
    {
        kivotasuGameKit::CTextFileWriter writer(files.Name("w"));
        m_windows.WriteAll(writer);
    }
    const std::string saved = files.Read("w");
    EXPECT_EQ(saved.substr(0, saved.find('\n', 1) + 1), "\n[DEFAULTWINDOW EFFECT=\"NONE\" CONTROL=\"TRH2\"]\n");

    TAG::CText text;
    TAG::CWindowManager loaded;
    loaded.SetText(&text);
    RunWindowTags(loaded, saved);
    Plane again;
    textkit::MakePlane(again, 640, 480, 0xFFFFFFFF);
    m_windows.Draw(m_screen, 0);
    loaded.Draw(again, 0);
    EXPECT_EQ(textkit::Hash(again), textkit::Hash(m_screen));
    EXPECT_GT(textkit::InkIn(again, 20, 290, 180, 326, 0xFFFFFF), 0) << "the second window of TRH2";
    EXPECT_EQ(loaded.GetWindowNumber(), 1);
}

TEST_F(WindowManager, TextHiddenAfterTheWindowsChangedRestoresTheNewFrames)
{
    // TRH2 switching its second window under a shown text, as WRITE does.
    RunWindowTags(m_windows, "[DEFAULTWINDOW CONTROL=\"TRH2\"][WINDOW NAME=\"main\"]"
                             "[FADEWINDOW NAME=\"main\" X=\"0\" Y=\"300\" WIDTH=\"640\" HEIGHT=\"180\"]"
                             "[WINDOW NAME=\"a\"][FADEWINDOW NAME=\"a\" X=\"0\" Y=\"260\" WIDTH=\"100\" HEIGHT=\"30\"]"
                             "[WINDOW NAME=\"b\"][FADEWINDOW NAME=\"b\" X=\"0\" Y=\"310\" WIDTH=\"300\" HEIGHT=\"30\"]");
    const std::uint64_t background = textkit::Hash(m_screen);
    m_windows.SetCurrentWindow(1);
    m_windows.Draw(m_screen, 0);
    m_text.SetMessage(CTextString("あいう"));
    m_text.ShowWindow(m_screen);

    // The second window becomes "b", drawn over the text window's area.
    m_windows.SetCurrentWindow(2);
    m_windows.Draw(m_screen, 0);
    m_text.ShowWindow(m_screen);
    Plane expected;
    textkit::MakePlane(expected, 640, 480, 0xFFFFFFFF);
    TAG::CText fresh;
    TAG::CWindowManager same;
    same.SetText(&fresh);
    RunWindowTags(same, "[DEFAULTWINDOW CONTROL=\"TRH2\"][WINDOW NAME=\"main\"]"
                        "[FADEWINDOW NAME=\"main\" X=\"0\" Y=\"300\" WIDTH=\"640\" HEIGHT=\"180\"]"
                        "[WINDOW NAME=\"a\"][FADEWINDOW NAME=\"a\" X=\"0\" Y=\"260\" WIDTH=\"100\" HEIGHT=\"30\"]"
                        "[WINDOW NAME=\"b\"][FADEWINDOW NAME=\"b\" X=\"0\" Y=\"310\" WIDTH=\"300\" HEIGHT=\"30\"]");
    same.SetCurrentWindow(2);
    same.Draw(expected, 0);
    const std::uint64_t framesOnly = textkit::Hash(expected);

    // Hiding the text shows the frames now drawn, not those of before.
    m_text.HideWindow(m_screen);
    EXPECT_EQ(textkit::Hash(m_screen), framesOnly);
    m_windows.Hide(m_screen);
    EXPECT_EQ(textkit::Hash(m_screen), background);
}

TEST_F(WindowManager, AFramePictureIsDrawnOverTheDarkenedWindow)
{
    ScriptFiles files;
    Plane picture;
    textkit::MakePlane(picture, 4, 3, 0xFF204060);
    picture.SaveBitmap(files.Name("frame.bmp"), nullptr);
    RunWindowTags(m_windows, "[WINDOW NAME=\"w\" FILE=\"" + files.Name("frame.bmp") + "\" X=\"5\" Y=\"2\"]");
    ASSERT_TRUE(m_windows.Draw(m_screen, 0));
    EXPECT_EQ(PixelAt(m_screen, 6, 3) & 0xFFFFFF, 0x204060u);
    EXPECT_EQ(PixelAt(m_screen, 9, 3) & 0xFFFFFF, 0x808080u) << "the darkened window beside it";
}
