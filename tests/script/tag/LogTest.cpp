#include <gtest/gtest.h>

#include "frame/file/FileWriter.h"
#include "script/tag/Log.h"
#include "tests/script/ScriptFiles.h"
#include "tests/script/tag/TextKit.h"

using kivotasuGameKit::CTextString;

namespace {

std::string Repeat(std::string_view character, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += character;
    return text;
}

CTagAttributes LogTag(const char* body, const char* indent = "")
{
    CTagAttributes record;
    record.SetValue(TagAttributeKey::Body, CTextString(body));
    record.SetValue(TagAttributeKey::Indent, CTextString(indent));
    return record;
}

} // namespace

TEST(Log, KeepsAtMostTwoHundredLinesDroppingTheOldestHundred)
{
    TAG::CLog log;
    ASSERT_EQ(log.GetLines().size(), 1u) << "a reset log holds one empty line";
    for (int i = 1; i < 199; ++i) log.ParseEntry(LogTag(std::to_string(i).c_str()));
    ASSERT_EQ(log.GetLines().size(), 199u);
    log.AddLine();
    ASSERT_EQ(log.GetLines().size(), 100u) << "the 200th line drops the oldest 100";
    EXPECT_EQ(log.GetLines().front(), CTextString("100"));
    for (int i = 0; i < 99; ++i) log.AddLine();
    EXPECT_EQ(log.GetLines().size(), 199u);
    log.AddEmptyLine();
    EXPECT_EQ(log.GetLines().size(), 101u);
}

TEST(Log, SplitsMessagesByTheWindowsRules)
{
    TAG::CLog log;
    log.AddText(CTextString(Repeat("あ", 24) + "、" + Repeat("い", 3) + "ab7"));
    ASSERT_EQ(log.GetLines().size(), 2u);
    EXPECT_EQ(log.GetLines()[0].GetStr(), Repeat("あ", 24) + "、") << "the comma stays on the full line";
    EXPECT_EQ(log.GetLines()[1].GetStr(), Repeat("い", 3) + "７");

    // The bracket indent goes into the new lines as full-width spaces.
    TAG::CLog quoted;
    quoted.AddText(CTextString("「" + Repeat("う", 30) + "」" + Repeat("え", 20)));
    ASSERT_EQ(quoted.GetLines().size(), 3u);
    EXPECT_EQ(quoted.GetLines()[1].GetStr(), "　" + Repeat("う", 7) + "」" + Repeat("え", 15));
    EXPECT_EQ(quoted.GetLines()[2].GetStr(), Repeat("え", 5)) << "the indent ended with the bracket";
}

TEST(Log, LogTagsAddOneLineAndSetTheIndent)
{
    TAG::CLog log;
    log.ParseEntry(LogTag("ＡＢ", "2"));
    ASSERT_EQ(log.GetLines().size(), 2u);
    EXPECT_EQ(log.GetLines()[1], CTextString("ＡＢ"));
    log.AddLine();
    EXPECT_EQ(log.GetLines().back().GetStr(), "　　");
    log.AddText(CTextString(Repeat("か", 23)));
    const auto& lines = log.GetLines();
    EXPECT_EQ(lines[lines.size() - 2].GetStr(), "　　" + Repeat("か", 22)) << "the indent counts as columns";
    EXPECT_EQ(lines.back().GetStr(), "　　か");

    // A load that found no saved line waits for none once a line is broken.
    TAG::CLog loaded;
    loaded.ExpectSavedLines();
    loaded.AddLine();
    loaded.ParseEntry(LogTag("Ｃ"));
    EXPECT_EQ(loaded.GetLines().size(), 3u);
}

TEST(Log, SavedLinesReadBackInOrder)
{
    ScriptFiles files;
    TAG::CLog log;
    CTagAttributes layout;
    layout.SetValue(TagAttributeKey::Beam, CTextString("10"));
    layout.SetValue(TagAttributeKey::Line, CTextString("8"));
    log.ParseDefault(layout);
    log.AddText(CTextString("「" + Repeat("さ", 15)));
    log.AddLine();
    log.AddText(CTextString("し"));
    {
        kivotasuGameKit::CTextFileWriter writer(files.Name("log"));
        log.Write(writer);
    }
    const std::string saved = files.Read("log");
    EXPECT_EQ(saved.substr(0, saved.find('\n', 1) + 1),
              "\n[DEFAULTLOG X=\"12\" Y=\"12\" HEIGHT=\"30\" BEAM=\"10\" LINE=\"8\" HANG=\"1\" INDENT=\"1\"]\n");

    // A load adds no line: the first saved line takes the reset's, and the
    // indent rides on the last.
    TAG::CLog loaded;
    loaded.ExpectSavedLines();
    textkit::Replay(saved, [&](CTagAttributes& record) {
        if (record.GetId() == TagId::DefaultLog) loaded.ParseDefault(record);
        if (record.GetId() == TagId::Log) loaded.ParseEntry(record);
    });
    EXPECT_EQ(loaded.GetLines(), log.GetLines());
    EXPECT_EQ(loaded.GetIndentCount(), 1);
}

TEST(Log, AbsurdIndentsAndWidthsStayBounded)
{
    TAG::CLog log;
    log.ParseEntry(LogTag("", "2000000000"));
    log.AddLine();
    EXPECT_LE(log.GetLines().back().GetLength(), 2 * 8192);
    CTagAttributes wide;
    wide.SetValue(TagAttributeKey::Beam, CTextString("2000000000"));
    log.ParseDefault(wide);
    log.AddText(CTextString(Repeat("あ", 100000)));
    EXPECT_EQ(log.GetLines().back().GetLength(), 2 * 8192 + 2 * 100000) << "one long line, laid out in linear time";
}
