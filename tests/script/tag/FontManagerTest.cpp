#include <gtest/gtest.h>

#include "frame/file/FileWriter.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/FontList.h"
#include "script/tag/FontManager.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/script/ScriptFiles.h"
#include "tests/script/tag/TextKit.h"

using kivotasuGameKit::CTextString;
using textkit::PixelAt;
using textkit::Plane;

namespace {

CTagAttributes TextTag(std::initializer_list<std::pair<TagAttributeKey, const char*>> values)
{
    CTagAttributes record;
    for (auto [key, value] : values) record.SetValue(key, CTextString(value));
    return record;
}

// Where a character drawn in red on white without a shadow has ink.
std::vector<bool> RedMask(TAG::CFontManager& font, int x, int y)
{
    Plane plane;
    textkit::MakePlane(plane, 64, 64, 0xFFFFFFFF);
    CTagAttributes red = TextTag({{TagAttributeKey::Shadow, "0"}, {TagAttributeKey::Color, "#FF0000"}});
    font.Parse(red);
    font.DrawChar("あ", x, y, plane);
    std::vector<bool> mask(64 * 64);
    for (int i = 0; i < 64 * 64; ++i) mask[i] = (PixelAt(plane, i % 64, i / 64) & 0xFFFFFF) == 0xFF0000;
    return mask;
}

} // namespace

TEST(FontManager, ShadowIsABlackCopyAtItsOffsetUnderTheCharacter)
{
    TAG::CFontManager font;
    const std::vector<bool> glyph = RedMask(font, 10, 10);
    ASSERT_GT(std::count(glyph.begin(), glyph.end(), true), 30);

    // SHADOW 3 and the two fixed variants (KANA right 2 down 1, TRH3 right 1 down 2).
    for (auto [value, dx, dy] : {std::tuple{"3", 3, 3}, {"-1", 2, 1}, {"KANA", 2, 1}, {"-2", 1, 2}, {"TRH3", 1, 2}}) {
        Plane plane;
        textkit::MakePlane(plane, 64, 64, 0xFFFFFFFF);
        CTagAttributes shadowed = TextTag({{TagAttributeKey::Shadow, value}, {TagAttributeKey::Color, "#FF0000"}});
        font.Parse(shadowed);
        font.DrawChar("あ", 10, 10, plane);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const std::uint32_t pixel = PixelAt(plane, x, y) & 0xFFFFFF;
                const bool inGlyph = glyph[y * 64 + x];
                const bool inShadow = x >= dx && y >= dy && glyph[(y - dy) * 64 + x - dx];
                const std::uint32_t expected = inGlyph ? 0xFF0000 : inShadow ? 0x000000 : 0xFFFFFF;
                ASSERT_EQ(pixel, expected) << value << " at " << x << "," << y;
            }
    }
}

TEST(FontManager, BlackTextAndShadowOnAnyBackgroundStayVisible)
{
    // Untouched glyph pixels are transparent by their alpha, so black, the
    // colour of pixel (0, 0) of an empty glyph, is drawn like any other.
    TAG::CFontManager font;
    CTagAttributes black = TextTag({{TagAttributeKey::Shadow, "2"}, {TagAttributeKey::Color, "#000000"}});
    font.Parse(black);
    Plane plane;
    textkit::MakePlane(plane, 64, 64, 0xFF808080);
    font.DrawChar("あ", 0, 0, plane);
    EXPECT_GT(textkit::InkIn(plane, 0, 0, 64, 64, 0x808080), 30);
    EXPECT_EQ(textkit::InkIn(plane, 30, 0, 64, 64, 0x808080), 0) << "nothing beyond the cell and its shadow";
}

TEST(FontManager, WritesItsSettingsBackAndReadsThemAgain)
{
    ScriptFiles files;
    TAG::CFontManager font;
    CTagAttributes changed = TextTag({{TagAttributeKey::Shadow, "-1"}, {TagAttributeKey::Size, "20"}, {TagAttributeKey::Color, "#12AB0C"}});
    font.Parse(changed);
    {
        kivotasuGameKit::CTextFileWriter writer(files.Name("a"));
        font.Write(writer);
    }
    EXPECT_EQ(files.Read("a"), " SHADOW=\"KANA\" SIZE=\"20\" COLOR=\"#12AB0C\"]\n");

    TAG::CFontManager loaded;
    textkit::Replay("[DEFAULTTEXT" + files.Read("a"), [&](CTagAttributes& record) { loaded.Parse(record); });
    EXPECT_EQ(loaded.GetShadow(), -1);
    EXPECT_EQ(loaded.GetSize(), 20);
    EXPECT_EQ(loaded.GetColor(), 0x12AB0Cu);

    loaded.Reset();
    {
        kivotasuGameKit::CTextFileWriter writer(files.Name("b"));
        loaded.Write(writer);
    }
    EXPECT_EQ(files.Read("b"), " SHADOW=\"0\" SIZE=\"24\" COLOR=\"#FFFFFF\"]\n");
}

TEST(FontManager, SymbolTagsMakeNoEntry)
{
    TAG::CFontManager font;
    CTagAttributes symbol = TextTag({{TagAttributeKey::Name, "あ"}, {TagAttributeKey::File, "x.bmp"}});
    font.SetSymbol(symbol);
    EXPECT_TRUE(font.GetElements().empty());
    Plane plane, plain;
    textkit::MakePlane(plane, 40, 40, 0xFF000000);
    textkit::MakePlane(plain, 40, 40, 0xFF000000);
    font.DrawChar("あ", 0, 0, plane);
    TAG::CFontManager other;
    other.DrawChar("あ", 0, 0, plain);
    EXPECT_EQ(textkit::Hash(plane), textkit::Hash(plain));
}

TEST(FontManager, BadSizesKeepTheOldFontAndItsSize)
{
    ScriptFiles files;
    TAG::CFontManager font;
    CTagAttributes twenty = TextTag({{TagAttributeKey::Size, "20"}});
    font.Parse(twenty);
    for (const char* size : {"0", "-8", "1025", "100000"}) {
        CTagAttributes bad = TextTag({{TagAttributeKey::Size, size}, {TagAttributeKey::Color, "#00FF00"}});
        font.Parse(bad);
        EXPECT_EQ(font.GetColor(), 0xFFFFFFu) << "nothing after the glyph plane is applied";
        EXPECT_EQ(font.GetSize(), 20) << size;
    }
    {
        kivotasuGameKit::CTextFileWriter writer(files.Name("a"));
        font.Write(writer);
    }
    EXPECT_NE(files.Read("a").find(" SIZE=\"20\""), std::string::npos);
    Plane plane;
    textkit::MakePlane(plane, 40, 40, 0xFF000000);
    font.DrawChar("あ", 0, 0, plane);
    EXPECT_GT(textkit::InkIn(plane, 0, 0, 40, 40, 0), 0);
}

TEST(FontManager, AShadowOffsetAtTheEndsOfTheIntRangeDrawsOnlyTheCharacter)
{
    for (const char* offset : {"2147483647", "-2147483648"}) {
        TAG::CFontManager font;
        CTagAttributes far = TextTag({{TagAttributeKey::Shadow, offset}});
        font.Parse(far);
        Plane plane;
        textkit::MakePlane(plane, 40, 40, 0xFF808080);
        font.DrawChar("あ", 2147483647, -2147483647 - 1, plane);
        font.DrawChar("あ", 8, 8, plane);
        EXPECT_EQ(textkit::InkIn(plane, 0, 0, 40, 40, 0x808080), textkit::InkIn(plane, 8, 8, 32, 32, 0x808080)) << offset;
        EXPECT_GT(textkit::InkIn(plane, 8, 8, 32, 32, 0x808080), 0) << offset;
    }
}

namespace {

// Lists a face that the pinned file does not claim to be.
class MissingFaceFonts : public platform::IFontService {
public:
    std::vector<std::string> ListJapaneseFamilies() override { return {"無い書体"}; }
    std::unique_ptr<platform::IFontFace> OpenFace(std::string_view family, int cellHeight) override
    {
        return platform::PinnedFonts().OpenFace(family, cellHeight);
    }
};

} // namespace

TEST(FontManager, MissingFaceFallsBackWithOneLogLine)
{
    platform::InstallFonts(std::make_unique<MissingFaceFonts>());
    CFontList::GetInstance().Enumerate();
    {
        testkit::ScopedErrorLogRecorder log;
        TAG::CFontManager font;
        font.CreateFont();
        font.CreateFont();
        EXPECT_EQ(log->Messages().size(), 1u);
        EXPECT_TRUE(log->Contains("無い書体"));
        Plane plane;
        textkit::MakePlane(plane, 40, 40, 0xFF000000);
        font.DrawChar("あ", 0, 0, plane);
        EXPECT_GT(textkit::InkIn(plane, 0, 0, 40, 40, 0), 0) << "the default face draws";
    }
    platform::InstallFonts(std::make_unique<platform::PinnedFonts>(
        std::vector<std::string>{"ＩＰＡゴシック", "IPA Pゴシック", "@ＩＰＡゴシック"}));
    CFontList::GetInstance().Enumerate();
    // Every face the service lists is offered but the vertical one.
    ASSERT_EQ(CFontList::GetInstance().GetNames().size(), 2u);
    EXPECT_EQ(CFontList::GetInstance().GetNames()[1], CTextString("IPA Pゴシック"));
    CFontList::GetInstance().SetCurrent(2);
    EXPECT_EQ(CFontList::GetInstance().GetCurrent(), 0);
}
