#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/EScript.h"
#include "script/dib/DIB32Ex.h"
#include "script/dib/DibInfoCache.h"
#include "tests/script/dib/PictureKit.h"

using dibkit::Pixel;
using dibkit::Tag;

namespace {

constexpr std::uint32_t Magenta = 0xFFFF00FF, Blue = 0xFF0000FF;

// A character picture: magenta around a 6 x 4 figure of distinct colours.
std::uint32_t Character(int x, int y)
{
    return x >= 2 && x < 8 && y >= 1 && y < 5 ? dibkit::Gradient(x, y) : Magenta;
}

class PictureDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CDibInfoCache::GetInstance().Clear();
        m_screen = dibkit::MakePlane(32, 16, [](int, int) { return Blue; });
    }
    void TearDown() override { CDibInfoCache::GetInstance().Clear(); }

    std::string Put(const std::string& name) { return dibkit::WritePicture(m_folder, name, 10, 6, Character); }
    void Apply(const std::string& tag)
    {
        CTagAttributes record = Tag(tag);
        m_picture.Parse(record);
    }
    // The picture drawn at (4, 5) onto a blue screen.
    void DrawAt()
    {
        m_screen->SetFillColor(Blue);
        m_screen->Clear();
        Apply("[ACT X=\"4\" Y=\"5\"]");
        m_picture.Draw(*m_screen);
    }
    std::uint32_t Screen(int x, int y) { return Pixel(*m_screen, x + 4, y + 5); }

    TempFolder m_folder;
    std::unique_ptr<dibkit::CFastPlane> m_screen;
    DIB::CDIB32Ex m_picture{"c"};
};

TEST_F(PictureDrawTest, AKeyedBitmapShowsTheBackgroundThroughItsKeyColour)
{
    Apply("[ACT FILE=\"" + Put("c.bmp") + "\" ERASE=\"LEFTTOP\"]");
    ASSERT_TRUE(m_picture.IsAlphaDrawn());
    DrawAt();
    EXPECT_EQ(Screen(0, 0), Blue);
    EXPECT_EQ(Screen(9, 5), Blue);
    EXPECT_EQ(Screen(2, 1), dibkit::Gradient(2, 1));
    EXPECT_EQ(Screen(7, 4), dibkit::Gradient(7, 4));
}

TEST_F(PictureDrawTest, AKeyColourGivenOrChangedLaterIsTransparentToo)
{
    Apply("[ACT FILE=\"" + Put("c.bmp") + "\" ERASE=\"#FF00FF\"]");
    DrawAt();
    EXPECT_EQ(Screen(0, 0), Blue);

    // Keying another colour opens the old key colour again.
    const std::uint32_t figure = dibkit::Gradient(2, 1) & 0xFFFFFF;
    char erase[32];
    std::snprintf(erase, sizeof erase, "#%06X", unsigned(figure));
    Apply(std::string("[ACT ERASE=\"") + erase + "\"]");
    DrawAt();
    EXPECT_EQ(Screen(0, 0), Magenta);
    EXPECT_EQ(Screen(2, 1), Blue);

    Apply("[ACT ERASE=\"NONE\"]");
    DrawAt();
    EXPECT_EQ(Screen(2, 1), dibkit::Gradient(2, 1));
}

TEST_F(PictureDrawTest, ABitmapWithoutEraseAndAnotherPictureAreOpaque)
{
    Apply("[ACT FILE=\"" + Put("c.bmp") + "\"]");
    DrawAt();
    EXPECT_EQ(Screen(0, 0), Magenta);

    Apply("[ACT FILE=\"" + Put("c.ovk") + "\" ERASE=\"LEFTTOP\"]");
    EXPECT_FALSE(m_picture.IsAlphaDrawn());
    DrawAt();
    EXPECT_EQ(Screen(0, 0), Magenta) << "a copied picture draws its key colour";
}

TEST_F(PictureDrawTest, ALaterFileWithoutEraseDropsTheKey)
{
    Apply("[ACT FILE=\"" + Put("c.bmp") + "\" ERASE=\"LEFTTOP\"]");
    Apply("[ACT FILE=\"" + Put("d.bmp") + "\"]");
    EXPECT_EQ(m_picture.GetErase().mode, DIB::CEraseInfo::None);
    DrawAt();
    EXPECT_EQ(Screen(0, 0), Magenta);
}

TEST_F(PictureDrawTest, BlendAndMirrorDecideWhetherThePictureIsDrawn)
{
    Apply("[ACT FILE=\"" + Put("c.bmp") + "\" BLEND=\"256\"]");
    DrawAt();
    EXPECT_EQ(Screen(2, 1), Blue);
    Apply("[ACT BLEND=\"255\" MIRROR=\"1\"]");
    DrawAt();
    EXPECT_EQ(Screen(2, 1), Blue) << "MIRROR stops a picture drawn by its alpha";

    Apply("[ACT FILE=\"" + Put("c.ovk") + "\"]");
    DrawAt();
    EXPECT_EQ(Screen(2, 1), dibkit::Gradient(2, 1)) << "a copied picture is drawn with MIRROR";
}

TEST_F(PictureDrawTest, APictureCoversTheWholeScreenOnlyWhenItsDrawOwesNothingToIt)
{
    // A 40 x 20 picture over the 32 x 16 screen; the surface file is copied,
    // the bitmap drawn by its alpha.
    const std::string surface = dibkit::WritePicture(m_folder, "w.ovk", 40, 20, Character);
    const std::string bitmap = dibkit::WritePicture(m_folder, "w.bmp", 40, 20, Character);
    const struct {
        std::string tag;
        bool covers, owes;
    } cases[] = {
        {"[ACT FILE=\"" + surface + "\" X=\"0\" Y=\"0\"]", true, false},
        {"[ACT FILE=\"" + surface + "\" X=\"-8\" Y=\"-4\"]", true, false},
        {"[ACT FILE=\"" + surface + "\" X=\"-9\" Y=\"-4\"]", false, true},
        {"[ACT FILE=\"" + surface + "\" X=\"1\" Y=\"0\"]", false, true},
        {"[ACT FILE=\"" + surface + "\" X=\"0\" Y=\"-5\"]", false, true},
        {"[ACT FILE=\"" + surface + "\" X=\"0\" Y=\"0\" ERASE=\"LEFTTOP\"]", true, false},
        {"[ACT FILE=\"" + surface + "\" X=\"0\" Y=\"0\" BLEND=\"256\"]", false, true},
        {"[ACT FILE=\"" + bitmap + "\" X=\"0\" Y=\"0\" ERASE=\"LEFTTOP\"]", false, true},
        // Opaque, but only a look at every alpha could tell.
        {"[ACT FILE=\"" + bitmap + "\" X=\"0\" Y=\"0\"]", false, false},
    };
    for (const auto& c : cases) {
        DIB::CDIB32Ex picture{"w"};
        CTagAttributes record = Tag(c.tag);
        picture.Parse(record);
        EXPECT_EQ(picture.CoversWhole(*m_screen), c.covers) << c.tag;
        // The same draw onto a blue and onto a red screen.
        std::vector<std::uint32_t> drawn[2];
        for (std::uint32_t fill : {Blue, 0xFFFF0000u}) {
            m_screen->SetFillColor(fill);
            m_screen->Clear();
            picture.Draw(*m_screen);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 32; ++x) drawn[fill != Blue].push_back(Pixel(*m_screen, x, y));
        }
        EXPECT_EQ(drawn[0] != drawn[1], c.owes) << c.tag;
    }
}

TEST_F(PictureDrawTest, CornerKeysReadTheirCorner)
{
    Apply("[ACT FILE=\"" + Put("c.bmp") + "\"]");
    dibkit::SetPixel(m_picture, 9, 5, 0xFF123456);
    dibkit::SetPixel(m_picture, 0, 5, 0xFF654321);
    Apply("[ACT ERASE=\"RIGHTBOTTOM\"]");
    EXPECT_EQ(m_picture.GetColorKey() & 0xFFFFFF, 0x123456u);
    Apply("[ACT ERASE=\"LEFTBOTTOM\"]");
    EXPECT_EQ(m_picture.GetColorKey() & 0xFFFFFF, 0x654321u);

    DIB::CDIB32Ex blank("b");
    CTagAttributes record = Tag("[PAINT WIDTH=\"3\" HEIGHT=\"2\"]");
    blank.SetColorKey(0x777777);
    blank.Parse(record);
    EXPECT_TRUE(blank.IsLoaded());
    EXPECT_EQ(blank.GetColorKey(), 0u) << "a blank picture without ERASE keys black";
}

TEST_F(PictureDrawTest, NegaAndFlipActOnAChangeOfValueAndKeepTheKey)
{
    Apply("[ACT FILE=\"" + Put("c.bmp") + "\" ERASE=\"LEFTTOP\" NEGA=\"1\" FLIP=\"1\"]");
    Apply("[ACT NEGA=\"1\" FLIP=\"1\"]");
    DrawAt();
    EXPECT_EQ(Screen(0, 0), Blue) << "the negative keeps the transparency";
    // Turned upside down once, and complemented once.
    EXPECT_EQ(Screen(2, 4), dibkit::Gradient(2, 1) ^ 0x00FFFFFF);

    // A new file takes the kept values afresh.
    Apply("[ACT FILE=\"" + Put("d.bmp") + "\" ERASE=\"LEFTTOP\"]");
    DrawAt();
    EXPECT_EQ(Screen(2, 4), dibkit::Gradient(2, 1) ^ 0x00FFFFFF);
    Apply("[ACT NEGA=\"0\" FLIP=\"0\"]");
    DrawAt();
    EXPECT_EQ(Screen(2, 1), dibkit::Gradient(2, 1));
}

TEST_F(PictureDrawTest, ColourEffectsRunOnlyWithALoad)
{
    Apply("[ACT FILE=\"" + Put("c.ovk") + "\" DEEP=\"WHITE\"]");
    const std::uint32_t c = dibkit::Gradient(2, 1);
    const std::uint32_t grey = (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)) / 3 * 255 / 256;
    EXPECT_EQ(Pixel(m_picture, 2, 1), 0xFF000000 | grey << 16 | grey << 8 | grey);

    Apply("[ACT DEEP=\"NONE\" PRISM=\"#000000\"]");
    EXPECT_EQ(Pixel(m_picture, 2, 1), 0xFF000000 | grey << 16 | grey << 8 | grey) << "stored, not applied";
    Apply("[ACT FILE=\"" + Put("c.ovk") + "\" MOSAIC=\"3\"]");
    EXPECT_EQ(Pixel(m_picture, 2, 1), 0xFF000000u) << "PRISM black on the next load";
    Apply("[ACT FILE=\"" + Put("c.ovk") + "\" PRISM=\"NONE\"]");
    EXPECT_EQ(Pixel(m_picture, 2, 1), Pixel(m_picture, 0, 0)) << "mosaic blocks of 3 from the corner";
    EXPECT_EQ(Pixel(m_picture, 3, 4), dibkit::Gradient(3, 3));
}

TEST_F(PictureDrawTest, AnUnreadableFileKeepsThePictureAndThrows)
{
    Apply("[ACT FILE=\"" + Put("c.bmp") + "\" X=\"3\"]");
    CTagAttributes record = Tag("[ACT FILE=\"" + m_folder.Name("none.bmp") + "\" X=\"9\" BLEND=\"7\"]");
    EXPECT_THROW(m_picture.Parse(record), EScript);
    EXPECT_EQ(m_picture.GetX(), 3);
    EXPECT_EQ(m_picture.GetFile().GetStr(), m_folder.Name("c.bmp"));
}

TEST_F(PictureDrawTest, ASizeTooLargeForAnyPictureLeavesNoneShown)
{
    Apply("[ACT FILE=\"" + Put("c.bmp") + "\"]");
    Apply("[ACT WIDTH=\"100000\" HEIGHT=\"100000\"]");
    EXPECT_FALSE(m_picture.IsLoaded());
    DrawAt();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(Pixel(*m_screen, x, y), Blue) << x << "," << y;
}

} // namespace
