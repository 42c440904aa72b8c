#include <gtest/gtest.h>

#include "frame/file/FileWriter.h"
#include "script/tag/Text.h"
#include "tests/script/ScriptFiles.h"
#include "tests/script/tag/TextKit.h"

using kivotasuGameKit::CTextString;
using textkit::Plane;

namespace {

// What the dispatcher does with the text's save lines.
void Load(TAG::CText& text, const std::string& lines)
{
    textkit::Replay(lines, [&](CTagAttributes& record) {
        switch (record.GetId()) {
        case TagId::DefaultText: text.ParseDefault(record); break;
        case TagId::NameText: {
            auto position = text.GetNamePosition();
            record.GetXNumber(position.x);
            record.GetYNumber(position.y);
            text.SetNamePosition(position.x, position.y);
            break;
        }
        case TagId::Text: text.SetText(record); break;
        default: FAIL() << "unexpected tag";
        }
    });
}

std::string Saved(TAG::CText& text, ScriptFiles& files)
{
    {
        kivotasuGameKit::CTextFileWriter writer(files.Name("save"));
        text.Write(writer);
    }
    return files.Read("save");
}

} // namespace

TEST(TextSave, APageSavedMidwayComesBackWithItsTextAndCursor)
{
    ScriptFiles files;
    Plane screen;
    textkit::MakePlane(screen, 640, 480, 0xFF000000);
    TAG::CText text;
    CTagAttributes layout;
    layout.SetValue(TagAttributeKey::X, CTextString("20"));
    layout.SetValue(TagAttributeKey::Beam, CTextString("20"));
    layout.SetValue(TagAttributeKey::Erase, CTextString("NONE"));
    layout.SetValue(TagAttributeKey::Color, CTextString("#FFE0A0"));
    text.ParseDefault(layout);
    text.SetNamePosition(30, 400);
    text.SetName(CTextString("名前"));

    // A whole message shown character by character, a line end, and a second
    // message half shown: the page is neither drawn as a whole nor cleared.
    text.SetMessage(CTextString("「今日は、1日中雨でした。」"));
    while (text.Draw(screen) != 0) {
    }
    text.NewLine();
    text.SetMessage(CTextString("明日は晴れるでしょうか"));
    for (int i = 0; i < 4; ++i) text.Draw(screen);
    ASSERT_TRUE(text.IsDirty());

    const std::string lines = Saved(text, files);
    EXPECT_NE(lines.find("[NAMETEXT X=\"30\" Y=\"400\"]\n"), std::string::npos);
    EXPECT_NE(lines.find(" ERASE=\"NONE\""), std::string::npos);
    EXPECT_NE(lines.find("BODY=\"「今日は、1日中雨でした。」"), std::string::npos) << lines;

    TAG::CText loaded;
    Load(loaded, lines);
    EXPECT_EQ(loaded.GetTextEraseFlag(), 0);
    EXPECT_EQ(loaded.GetName(), CTextString("名前"));
    EXPECT_EQ(loaded.GetNamePosition().x, 30);
    EXPECT_EQ(loaded.GetCursor().column, text.GetCursor().column);
    EXPECT_EQ(loaded.GetCursor().line, text.GetCursor().line);
    EXPECT_TRUE(loaded.IsDirty());

    // Shown after the load, the page looks as the whole message does.
    Plane original, restored;
    textkit::MakePlane(original, 640, 480, 0xFF000000);
    textkit::MakePlane(restored, 640, 480, 0xFF000000);
    text.DrawMessage(original);
    loaded.ShowWindow(restored);
    EXPECT_EQ(textkit::Hash(restored), textkit::Hash(original));
    EXPECT_GT(textkit::InkIn(restored, 0, 0, 640, 480, 0), 0);

    // A cleared page saves no BODY.
    text.Clear();
    EXPECT_EQ(Saved(text, files).find("BODY"), std::string::npos);
}

TEST(TextSave, SavedTextHoldsNothingThatReadsBackDifferently)
{
    ScriptFiles files;
    TAG::CText text;
    text.SetMessage(CTextString("あ\"] [{X},@1!い2"));
    const std::string lines = Saved(text, files);
    EXPECT_NE(lines.find("BODY=\"あ1い2\"]"), std::string::npos) << lines;
}
