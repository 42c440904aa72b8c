#include <gtest/gtest.h>

#include "script/dib/DibInfoCache.h"
#include "tests/script/ScriptTestKit.h"
#include "tests/script/tag/LayerKit.h"

using dibkit::Pixel;
using kivotasuGameKit::CTextString;

namespace {

constexpr std::uint32_t Magenta = 0xFFFF00FF;

// A 640 x 40 sheet: magenta columns every 10th, a gradient elsewhere.
std::uint32_t Sheet(int x, int y) { return x % 10 == 0 ? Magenta : dibkit::Gradient(x % 200, y); }

class CutPasteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CDibInfoCache::GetInstance().Clear();
        m_sheet = dibkit::WritePicture(m_folder, "sheet.bmp", 640, 40, Sheet);
        m_wall = dibkit::WritePicture(m_folder, "wall.ovk", 60, 40, [](int, int) { return 0xFF204060u; });
        m_layers.Run("[PAINT NAME=\"p\" FILE=\"" + m_wall + "\"]");
    }
    void TearDown() override { CDibInfoCache::GetInstance().Clear(); }

    DIB::CDIB32Ex& Cut() { return *m_layers.cuts.GetFirstPicture(); }
    DIB::CDIB32Ex& Painted() { return *m_layers.paints.GetPicture(CTextString("p")); }

    TempFolder m_folder;
    std::string m_sheet, m_wall;
    layerkit::Layers m_layers;
};

TEST_F(CutPasteTest, ACutIsClippedToThePicture)
{
    m_layers.Run("[CUT FILE=\"" + m_sheet + "\" X=\"600\" Y=\"5\" WIDTH=\"100\" HEIGHT=\"10\"]");
    int width = 0, height = 0;
    Cut().GetSize(&width, &height);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 10);
    EXPECT_EQ(Pixel(Cut(), 1, 0), Sheet(601, 5));
}

TEST_F(CutPasteTest, APasteTakesTheCutSizeOrStretches)
{
    m_layers.Run("[CUT FILE=\"" + m_sheet + "\" X=\"11\" WIDTH=\"4\" HEIGHT=\"2\"][PASTE NAME=\"p\" X=\"1\" Y=\"1\"]");
    EXPECT_EQ(Pixel(Painted(), 1, 1), Sheet(11, 0));
    EXPECT_EQ(Pixel(Painted(), 4, 2), Sheet(14, 1));
    EXPECT_EQ(Pixel(Painted(), 5, 1), 0xFF204060u);

    m_layers.Run("[PASTE NAME=\"p\" X=\"20\" Y=\"10\" WIDTH=\"8\" HEIGHT=\"4\"]");
    EXPECT_EQ(Pixel(Painted(), 20, 10), Sheet(11, 0));
    EXPECT_EQ(Pixel(Painted(), 21, 11), Sheet(11, 0));
    EXPECT_EQ(Pixel(Painted(), 27, 13), Sheet(14, 1));
}

TEST_F(CutPasteTest, OnlyACutWithoutKeyPastesOpaque)
{
    m_layers.Run("[CUT FILE=\"" + m_sheet + "\" X=\"10\" WIDTH=\"3\" HEIGHT=\"1\" ERASE=\"LEFTTOP\"][PASTE NAME=\"p\"]");
    EXPECT_EQ(Pixel(Painted(), 0, 0), 0xFF204060u);
    EXPECT_EQ(Pixel(Painted(), 1, 0), Sheet(11, 0));
    EXPECT_TRUE(Painted().IsAlphaDrawn()) << "the bitmap's drawing comes along";

    m_layers.Run("[CUT FILE=\"" + m_sheet + "\" X=\"10\" WIDTH=\"3\" HEIGHT=\"1\" ERASE=\"NONE\"][PASTE NAME=\"p\"]");
    EXPECT_EQ(Pixel(Painted(), 0, 0), Magenta);
}

TEST_F(CutPasteTest, PastingWithoutACutPictureIsAScriptError)
{
    m_layers.Run("[CUT]");
    EXPECT_EQ(ScriptErrorOf([&] { m_layers.Run("[PASTE NAME=\"p\"]"); }), "CUTタグで切り取られていません。");
}

TEST_F(CutPasteTest, ACutOutsideThePictureCutsNothing)
{
    for (const std::string place : {"X=\"2147483647\" Y=\"2147483647\"", "X=\"-2147483648\" Y=\"-2147483648\"",
                                     "X=\"700\""}) {
        m_layers.Run("[CUT FILE=\"" + m_sheet + "\" " + place + " WIDTH=\"2147483647\" HEIGHT=\"2147483647\"]");
        EXPECT_EQ(ScriptErrorOf([&] { m_layers.Run("[PASTE NAME=\"p\"]"); }), "CUTタグで切り取られていません。") << place;
    }
}

TEST_F(CutPasteTest, APasteAtTheEndsOfTheIntRangeIsWrittenAsGiven)
{
    const std::string paste = "[PASTE NAME=\"p\" X=\"2147483647\" Y=\"-2147483648\" WIDTH=\"2147483647\" HEIGHT=\"5\"]";
    m_layers.Run("[CUT FILE=\"" + m_sheet + "\" WIDTH=\"5\" HEIGHT=\"5\"]" + paste);
    m_layers.WriteAll(m_folder.Name("save.txt"));
    EXPECT_NE(m_folder.Get("save.txt").find(paste), std::string::npos) << m_folder.Get("save.txt");
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(Pixel(Painted(), x, y), 0xFF204060u) << x << "," << y;
}

TEST_F(CutPasteTest, EveryPasteIsWrittenAfterThePictureAndReplaysToTheSamePixels)
{
    m_layers.Run("[CUT FILE=\"" + m_sheet + "\" X=\"8\" Y=\"3\" WIDTH=\"5\" HEIGHT=\"4\" ERASE=\"LEFTTOP\"]"
                 "[PASTE NAME=\"p\" X=\"2\" Y=\"2\"][PASTE NAME=\"p\" X=\"30\" Y=\"9\" WIDTH=\"10\" HEIGHT=\"12\"]");
    m_layers.WriteAll(m_folder.Name("save.txt"));
    const std::string text = m_folder.Get("save.txt");
    const std::string cut = "[CUT FILE=\"" + m_sheet + "\" X=\"8\" Y=\"3\" WIDTH=\"5\" HEIGHT=\"4\" ERASE=\"LEFTTOP\"]\n";
    const std::string expected = "[PAINT WIDTH=\"60\" HEIGHT=\"40\" NAME=\"p\" FILE=\"" + m_wall + "\" ERASE=\"NONE\"]\n" +
                                 cut + "[PASTE NAME=\"p\" X=\"2\" Y=\"2\" WIDTH=\"5\" HEIGHT=\"4\"]\n" + cut +
                                 "[PASTE NAME=\"p\" X=\"30\" Y=\"9\" WIDTH=\"10\" HEIGHT=\"12\"]\n";
    EXPECT_NE(text.find(expected), std::string::npos) << text;

    layerkit::Layers replayed;
    replayed.Run(text);
    DIB::CDIB32Ex* again = replayed.paints.GetPicture(CTextString("p"));
    ASSERT_NE(again, nullptr);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(Pixel(*again, x, y), Pixel(Painted(), x, y)) << x << "," << y;
    EXPECT_EQ(again->GetCuts().size(), 2u);
}

} // namespace
