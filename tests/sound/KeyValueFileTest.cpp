#include <gtest/gtest.h>

#include "sound/KeyValueFile.h"
#include "tests/kit/TempFolder.h"

using namespace kivotasuGameKit;

namespace {

TEST(KeyValueFileTest, ReadsEntryLinesOnly)
{
    TempFolder folder;
    folder.Put("list.txt",
               "#mp3  CMp3Reader  ignored words\r\n"
               "//#ogg  COggReader\r\n"
               "#keyonly\r\n"
               "#\t  ape\tCApeReader\r\n"
               "\r\n"
               "plain line\r\n"
               "#MP3 CUpper\r\n"
               "#mp3 CLater\r\n");
    CKeyValueFile list;
    list.Add("old", "gone");
    ASSERT_EQ(list.Load(folder.Name("list.txt")), platform::ReadResult::Done);
    const IKeyValueFile::Map expected{{"MP3", "CUpper"}, {"ape", "CApeReader"}, {"mp3", "CLater"}};
    EXPECT_EQ(list.GetMap(), expected);
    EXPECT_EQ(list.Load(folder.Name("missing.txt")), platform::ReadResult::Failed);
    EXPECT_EQ(list.GetMap(), expected) << "a failed load leaves the list";
}

TEST(KeyValueFileTest, SavesInKeyOrderOneLineEach)
{
    TempFolder folder;
    CKeyValueFile list;
    list.Add("zz", "last");
    list.Add("Ab", "first");
    ASSERT_EQ(list.Save(folder.Name("out.txt")), 0);
    EXPECT_EQ(folder.Get("out.txt"), "#Ab first\r\n#zz last\r\n") << "a text-mode file ends lines in CR LF";
    CKeyValueFile back;
    ASSERT_EQ(back.Load(folder.Name("out.txt")), platform::ReadResult::Done);
    EXPECT_EQ(back.GetMap(), list.GetMap());
    EXPECT_EQ(list.Save(folder.Name("no\\such\\folder\\out.txt")), 1);
}

TEST(KeyValueFileTest, ValuesAsNumbersAndText)
{
    CKeyValueFile list;
    list.SetInt("zero", 0);
    list.SetInt("neg", -9000000000LL);
    list.Add("word", "abc");
    list.Add("empty", "");
    list.Append("word", "def");
    list.Append("new", "x");
    std::int64_t value = 7;
    EXPECT_EQ(list.GetIntValue("neg", value), 0);
    EXPECT_EQ(value, -9000000000LL);
    EXPECT_NE(list.GetIntValue("missing", value), 0);
    EXPECT_EQ(value, 0);
    EXPECT_NE(list.GetIntValue("word", value), 0);
    EXPECT_EQ(list.GetInt("zero", 5), 0);
    EXPECT_EQ(list.GetInt("word", 5), 5);
    EXPECT_EQ(list.GetInt64("neg", 5), -9000000000LL);
    CTextString text;
    EXPECT_EQ(list.Get("word", text), 0);
    EXPECT_EQ(text, CTextString("abcdef"));
    EXPECT_EQ(list.Get("missing", text), -1);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(list.GetString("empty", "dflt"), CTextString("dflt"));
    EXPECT_EQ(list.GetString("new", "dflt"), CTextString("x"));
    EXPECT_TRUE(list.Erase("new"));
    EXPECT_FALSE(list.Erase("new"));
    list.Clear();
    EXPECT_TRUE(list.GetMap().empty());
}

TEST(KeyValueFileTest, ReplacesEveryKeyInTheText)
{
    CKeyValueFile list;
    list.Add("{A}", "1");
    list.Add("{b}", "2");
    CTextString text("{a}+{B}={A}");
    list.ReplaceAll(text, false);
    EXPECT_EQ(text, CTextString("1+2=1"));
}

// Values kept in order, as an archive file would hold them.
class MemoryArchive : public IArchive {
public:
    bool storing = true;
    std::vector<std::string> items;
    std::size_t next = 0;

    bool IsStoring() const override { return storing; }
    void Exchange(std::int32_t& value) override
    {
        if (storing) items.push_back(std::to_string(value));
        else value = std::stoi(items.at(next++));
    }
    void Exchange(CTextString& value) override
    {
        if (storing) items.push_back(value.GetStr());
        else value = CTextString(items.at(next++));
    }
};

TEST(KeyValueFileTest, SerializesCountThenPairs)
{
    CKeyValueFile list;
    list.Add("b", "2");
    list.Add("a", "1");
    MemoryArchive archive;
    list.Serialize(archive);
    EXPECT_EQ(archive.items, (std::vector<std::string>{"2", "a", "1", "b", "2"}));
    archive.items = {"3", "k", "first", "k", "second", "j", "x"};
    archive.storing = false;
    list.Serialize(archive);
    EXPECT_EQ(list.GetMap(), (IKeyValueFile::Map{{"j", "x"}, {"k", "first"}}));
}

} // namespace
