#include <gtest/gtest.h>

#include <filesystem>

#include "script/dib/DibInfoCache.h"
#include "script/tag/Text.h"
#include "tests/script/tag/LayerKit.h"

using dibkit::Pixel;
using kivotasuGameKit::CTextString;

namespace {

constexpr std::uint32_t Magenta = 0xFFFF00FF;

std::uint32_t Figure(int x, int y)
{
    return x >= 3 && x < 17 && y >= 2 && y < 28 ? dibkit::Gradient(x, y) : Magenta;
}

class LayerElementsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CDibInfoCache::GetInstance().Clear();
        textkit::MakePlane(m_screen, 640, 480, 0xFF000000);
    }
    void TearDown() override { CDibInfoCache::GetInstance().Clear(); }

    std::string Put(const std::string& name, int width = 20, int height = 30, const dibkit::Pattern& pattern = Figure)
    {
        return dibkit::WritePicture(m_folder, name, width, height, pattern);
    }
    // What the families write, as text.
    std::string Written(layerkit::Layers& layers)
    {
        layers.WriteAll(m_folder.Name("save.txt"));
        return m_folder.Get("save.txt");
    }
    std::uint64_t Frame(layerkit::Layers& layers)
    {
        layers.Compose(m_screen);
        return textkit::Hash(m_screen);
    }

    TempFolder m_folder;
    textkit::Plane m_screen;
    layerkit::Layers m_layers;
};

TEST_F(LayerElementsTest, ATagWithoutNameMakesAndThenChangesElementOne)
{
    m_layers.Run("[ACT FILE=\"" + Put("a.bmp") + "\"][ACT X=\"5\"]");
    ASSERT_EQ(m_layers.acts.GetElements().size(), 1u);
    DIB::CDIB32Ex* picture = m_layers.acts.GetPicture(CTextString("1"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetX(), 5);
    m_layers.Run("[ACT NAME=\"b\" FILE=\"" + Put("a.bmp") + "\"]");
    EXPECT_EQ(m_layers.acts.GetElements().size(), 2u);
}

TEST_F(LayerElementsTest, TheFamilyPathStandsInForTheTagsOwn)
{
    std::filesystem::create_directories(m_folder.Host("pictures"));
    Put("pictures/a.bmp");
    m_layers.Run("[DEFAULTACT PATH=\"" + m_folder.Name("pictures") + "\"][ACT NAME=\"a\" FILE=\"a.bmp\" PATH=\"elsewhere\"]");
    // PATH is kept with "/" separators and a closing "/".
    CTextString expected(m_folder.Name("pictures") + "/a.bmp");
    expected.ToSlash();
    EXPECT_EQ(m_layers.acts.GetPicture(CTextString("a"))->GetFile(), expected);
}

TEST_F(LayerElementsTest, SubfileIsKeptByTheActsMadeUnderTrh2)
{
    const std::string a = Put("a.bmp"), b = Put("b.bmp");
    m_layers.Run("[ACT NAME=\"before\" FILE=\"" + a + "\" SUBFILE=\"" + b + "\"]"
                 "[DEFAULTACT CONTROL=\"TRH2\"][ACT NAME=\"under\" FILE=\"" + a + "\" SUBFILE=\"" + b + "\"]"
                 "[DEFAULTACT CONTROL=\"NONE\"][ACT NAME=\"under\" X=\"4\"]");
    auto* under = dynamic_cast<TAG::CActElement*>(m_layers.acts.Find(CTextString("under"))->get());
    ASSERT_NE(under->GetSubPicture(), nullptr);
    EXPECT_EQ(under->GetSubPicture()->GetX(), 4) << "the second picture follows the tag as well";
    const std::string text = Written(m_layers);
    EXPECT_NE(text.find("[ACT SUBFILE=\"\" WIDTH=\"20\" HEIGHT=\"30\" NAME=\"under\""), std::string::npos) << text;
    EXPECT_NE(text.find("[ACT WIDTH=\"20\" HEIGHT=\"30\" NAME=\"before\""), std::string::npos) << text;
}

TEST_F(LayerElementsTest, HiddenPicturesAreNotComposed)
{
    m_layers.Run("[BACK COLOR=\"#102030\"]");
    const std::uint64_t empty = Frame(m_layers);
    m_layers.Run("[ACT NAME=\"a\" FILE=\"" + Put("a.bmp") + "\"][HIDEACT NAME=\"a\"]");
    EXPECT_EQ(Frame(m_layers), empty);
    EXPECT_THROW(m_layers.Run("[HIDEACT NAME=\"nobody\"]"), EScript);
}

TEST_F(LayerElementsTest, ABackColourFillsTheScreenAndStartsANewPicture)
{
    m_layers.Run("[BACK FILE=\"" + Put("wall.ovk", 640, 480, dibkit::Gradient) + "\"]");
    Frame(m_layers);
    EXPECT_EQ(Pixel(m_screen, 100, 200), dibkit::Gradient(100, 200));

    m_layers.Run("[BACK COLOR=\"#FF0000\"]");
    Frame(m_layers);
    EXPECT_EQ(Pixel(m_screen, 100, 200), 0xFFFF0000u);
    EXPECT_EQ(Pixel(m_screen, 639, 479), 0xFFFF0000u);
    // The new background element has no picture, so its size is written as 0.
    EXPECT_NE(Written(m_layers).find("\n[DEFAULTBACK EFFECT=\"BLEND\"]\n[BACK COLOR=\"#FF0000\" WIDTH=\"0\" HEIGHT=\"0\"]\n"),
              std::string::npos);
}

TEST_F(LayerElementsTest, TheVisualIsOneAndStandsAloneWhileLoaded)
{
    const std::string full = Put("full.ovk", 640, 480, dibkit::Gradient);
    m_layers.Run("[BACK COLOR=\"#FF0000\"][VISUAL NAME=\"x\"]");
    EXPECT_FALSE(m_layers.visuals.IsShowing()) << "a visual without a picture stands aside";
    m_layers.Run("[VISUAL NAME=\"y\" FILE=\"" + full + "\"][VISUAL NAME=\"z\" X=\"8\"]");
    EXPECT_EQ(m_layers.visuals.GetElements().size(), 1u);
    EXPECT_TRUE(m_layers.visuals.IsShowing());
    CTagAttributes green = dibkit::Tag("[BACK COLOR=\"#00FF00\"]");
    m_layers.backs.SetElement(green);
    Frame(m_layers);
    EXPECT_EQ(Pixel(m_screen, 8, 0), dibkit::Gradient(0, 0));
    EXPECT_EQ(Pixel(m_screen, 0, 0), 0xFF000000u) << "the cleared screen, not the background";
}

TEST_F(LayerElementsTest, APaintWithoutBodyShowsItsFile)
{
    m_layers.Run("[PAINT NAME=\"p\" FILE=\"" + Put("p.ovk") + "\" X=\"10\" Y=\"20\"]");
    Frame(m_layers);
    EXPECT_EQ(Pixel(m_screen, 10, 20), Magenta);
    EXPECT_EQ(Pixel(m_screen, 13, 22), dibkit::Gradient(3, 2));
}

TEST_F(LayerElementsTest, APaintWithBodyIsALineOfTextWrittenBackWithItsTextSettings)
{
    TAG::CText text;
    m_layers.paints.SetText(&text);
    // Five double-byte characters of the default 24 x 30 cell: 120 x 30,
    // centred and raised by a quarter of the screen height from the bottom.
    m_layers.Run("[PAINT NAME=\"t\" BODY=\"看板の前で\" Y=\"BOTTOM\"]");
    DIB::CDIB32Ex* picture = m_layers.paints.GetPicture(CTextString("t"));
    const kivotasuGameKit::RECT rect = picture->GetRect();
    EXPECT_EQ(rect.left, 260);
    EXPECT_EQ(rect.top, 360 - 15);
    EXPECT_EQ(rect.right - rect.left, 120);
    EXPECT_EQ(rect.bottom - rect.top, 30);
    EXPECT_GT(textkit::InkIn(*picture, 0, 0, 120, 30, 0), 0) << "the text is drawn into the picture";
    // Its text settings go before it (a later DEFAULTTEXT puts the text's
    // own back), its size does not: read back, it would blank the line.
    const std::string written = Written(m_layers);
    EXPECT_NE(written.find("[DEFAULTTEXT WIDTH=\"24\" HEIGHT=\"30\" SHADOW=\"0\" SIZE=\"24\" COLOR=\"#FFFFFF\"]\n"
                           "[PAINT BODY=\"看板の前で\" NAME=\"t\" Y=\"BOTTOM\" ERASE=\"NONE\"]\n"),
              std::string::npos)
        << written;
    layerkit::Layers replayed;
    replayed.paints.SetText(&text);
    replayed.Run(written);
    EXPECT_EQ(Frame(replayed), Frame(m_layers));
    const auto paints = [](const std::string& text) { return text.substr(text.find("[DEFAULTPAINT")); };
    EXPECT_EQ(paints(Written(replayed)), paints(written));
}

// A digit is drawn full-width: the picture takes a cell for it, and the last
// character is drawn whole.
TEST_F(LayerElementsTest, APaintWithBodyIsAsWideAsTheCellsItShows)
{
    TAG::CText text;
    m_layers.paints.SetText(&text);
    const struct {
        const char* body;
        int cells;
    } lines[] = {{"あいうえお12345678", 13}, {"起動1回目　見た結末：なし　完走：0", 18}, {"ab看板cd", 2}};
    for (const auto& line : lines) {
        m_layers.Run(std::string("[PAINT NAME=\"t\" BODY=\"") + line.body + "\"]");
        DIB::CDIB32Ex* picture = m_layers.paints.GetPicture(CTextString("t"));
        const kivotasuGameKit::RECT rect = picture->GetRect();
        EXPECT_EQ(rect.right - rect.left, line.cells * 24) << line.body;
        EXPECT_EQ(rect.left, (640 - line.cells * 24) / 2) << line.body;
        const int last = (line.cells - 1) * 24;
        EXPECT_GT(textkit::InkIn(*picture, last, 0, last + 24, 30, 0), 0) << line.body << ": the last character";
    }
}

// Wherever a BODY line lies, partly off any edge of the screen or placed by a
// keyword, each of its pixels holds what lies under it, and a save of it
// replayed over the same screen gives back the same frame.
TEST_F(LayerElementsTest, APaintWithBodyHoldsWhatLiesUnderEachOfItsPixels)
{
    TAG::CText text;
    m_layers.paints.SetText(&text);
    const auto under = [](int x, int y) {
        return 0xFF000000u | std::uint32_t(x % 256) << 16 | std::uint32_t(y % 256) << 8 | std::uint32_t(x / 256 * 16 + y / 256);
    };
    const auto backdrop = dibkit::MakePlane(640, 480, under);
    m_layers.paints.SetBackdrop(backdrop.get());
    // Full-width spaces leave no ink: the picture is the capture alone.
    const std::string spaces = "　　　　　", longLine = spaces + spaces + spaces + spaces + spaces + spaces;
    const std::pair<const char*, std::string> placed[] = {
        {"X=\"-60\"", spaces},        {"X=\"LEFT\"", longLine},      {"X=\"RIGHT\"", longLine},
        {"X=\"LEFTSIDE\"", longLine}, {"X=\"RIGHTSIDE\"", longLine}, {"X=\"600\" Y=\"470\"", spaces},
        {"Y=\"-12\"", spaces},        {"X=\"LEFT\"", spaces},        {"Y=\"TOP\" X=\"RIGHT\"", spaces}};
    int n = 0;
    for (const auto& [place, body] : placed) {
        const std::string name = "p" + std::to_string(n++);
        m_layers.Run("[PAINT NAME=\"" + name + "\" BODY=\"" + body + "\" " + place + "]");
        DIB::CDIB32Ex* picture = m_layers.paints.GetPicture(CTextString(name));
        const kivotasuGameKit::RECT rect = picture->GetRect();
        int shown = 0, wrong = 0;
        for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, 480); ++y)
            for (int x = std::max(rect.left, 0); x < std::min(rect.right, 640); ++x, ++shown)
                wrong += dibkit::Pixel(*picture, x - rect.left, y - rect.top) != under(x, y);
        EXPECT_GT(shown, 0) << place;
        EXPECT_EQ(wrong, 0) << place << " at " << rect.left << ", " << rect.top << " of " << shown << " shown";
    }
    const std::uint64_t frame = Frame(m_layers);
    layerkit::Layers replayed;
    replayed.paints.SetText(&text);
    replayed.paints.SetBackdrop(backdrop.get());
    replayed.Run(Written(m_layers));
    EXPECT_EQ(Frame(replayed), frame);
}

TEST_F(LayerElementsTest, APaintWithBodyInCellsOfExtremeSizesMakesNoPicture)
{
    TAG::CText text;
    m_layers.paints.SetText(&text);
    for (const char* cell : {"1000000000", "-2147483648"}) {
        CTagAttributes layout;
        layout.SetValue(TagAttributeKey::Width, CTextString(cell));
        layout.SetValue(TagAttributeKey::Height, CTextString(cell));
        text.ParseDefault(layout);
        m_layers.Run("[PAINT NAME=\"t\" BODY=\"看板の前で\"]");
        EXPECT_FALSE(m_layers.paints.GetPicture(CTextString("t"))->IsLoaded()) << cell;
    }
}

TEST_F(LayerElementsTest, EveryFamilyWrittenAndReadBackComposesTheSameFrame)
{
    const std::string wall = Put("wall.ovk", 640, 480, dibkit::Gradient);
    const std::string chara = Put("chara.bmp"), photo = Put("photo.ovk");
    m_layers.Run("[DEFAULTACT EFFECT=\"NONE\"][BACK FILE=\"" + wall + "\" X=\"LEFT\"]"
                 "[ACT NAME=\"a\" FILE=\"" + chara + "\" ERASE=\"LEFTTOP\" X=\"LEFT\" Y=\"MIDDLE\"]"
                 "[ACT NAME=\"b\" FILE=\"" + photo + "\" X=\"RIGHTSIDE\" Y=\"TOP\" NEGA=\"1\" FLIP=\"1\" DEEP=\"#FF8040\"]"
                 "[ACT NAME=\"c\" FILE=\"" + chara + "\" X=\"100\" Y=\"50\" MOSAIC=\"3\" PRISM=\"#80FF40\" ERASE=\"#FF00FF\"]"
                 "[ACT NAME=\"c\" X=\"120\"][ACT NAME=\"d\" FILE=\"" + photo + "\"][HIDEACT NAME=\"d\"]"
                 "[PAINT NAME=\"p\" FILE=\"" + photo + "\" X=\"300\" Y=\"ROOF\"]"
                 "[CUT FILE=\"" + chara + "\" X=\"2\" Y=\"2\" WIDTH=\"8\" HEIGHT=\"8\" ERASE=\"RIGHTBOTTOM\"]"
                 "[PASTE NAME=\"p\" X=\"4\" Y=\"4\" WIDTH=\"16\" HEIGHT=\"16\"]");
    const std::uint64_t scene = Frame(m_layers);
    const std::string text = Written(m_layers);

    layerkit::Layers replayed;
    replayed.Run(text);
    EXPECT_EQ(Frame(replayed), scene) << text;
    EXPECT_EQ(Written(replayed), text);
    EXPECT_NE(text.find("NAME=\"d\" FILE=\"" + photo + "\" ERASE=\"NONE\"]\n[HIDEACT NAME=\"d\"]\n"), std::string::npos)
        << "a hidden element is hidden again";

    m_layers.Run("[VISUAL FILE=\"" + wall + "\" NEGA=\"1\"]");
    const std::uint64_t visual = Frame(m_layers);
    layerkit::Layers again;
    again.Run(Written(m_layers));
    EXPECT_EQ(Frame(again), visual);
}

} // namespace
