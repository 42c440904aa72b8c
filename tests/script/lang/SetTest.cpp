#include "tests/script/ScriptTestKit.h"

#include <filesystem>
#include <map>
#include <random>

#include "tests/kit/WallSeconds.h"
#include "tests/script/ScriptFiles.h"
#include "frame/file/FileWriter.h"
#include "script/lang/ScriptReader.h"

namespace {

class SetTest : public ScriptTest {
protected:
    std::string Expand(const char* text)
    {
        CSet::CTextString value(text);
        CSet::GetInstance().Expand(value);
        return value.GetStr();
    }

    std::string Error(const char* text)
    {
        return ScriptErrorOf([&] { Expand(text); });
    }

    CSet& m_set = CSet::GetInstance();
};

TEST_F(SetTest, ReferencesAreReplacedByValues)
{
    m_set.Set("who", "Mika");
    EXPECT_EQ(Expand("{who} and {who}"), "Mika and Mika");
    EXPECT_EQ(Expand("no braces"), "no braces");
    EXPECT_EQ(Expand("a}b"), "a}b");
    m_set.Set("who", "Rin");
    EXPECT_EQ(Expand("{who}"), "Rin");
}

TEST_F(SetTest, InnermostReferenceFirst)
{
    m_set.Set("n", "1");
    m_set.Set("pre1", "first");
    EXPECT_EQ(Expand("{pre{n}}"), "first");
    // A value holding braces is expanded in turn.
    m_set.Set("outer", "<{n}>");
    EXPECT_EQ(Expand("{outer}"), "<1>");
}

TEST_F(SetTest, SecondBytesAreNeverBraces)
{
    ASSERT_EQ(std::string("ボマ"), "\x83\x7B\x83\x7D");
    EXPECT_EQ(Expand("ボ"), "ボ");
    m_set.Set("マ", "ok");
    EXPECT_EQ(Expand("{マ}"), "ok");
}

TEST_F(SetTest, ExpansionErrors)
{
    // Pinned as bytes once; the other tests spell them as text.
    EXPECT_EQ(Error("{x}"), "\x90\xDD\x92\xE8\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xC8\x82\xA2\x95\xCF\x90\x94 {x} "
                            "\x82\xAA\x8Eg\x97p\x82\xB3\x82\xEA\x82\xDC\x82\xB5\x82\xBD\x81" "B");
    EXPECT_EQ(Error("{a"), "\x81w { \x81x \x82\xC9\x91\xCE\x82\xB5\x82\xC4\x81" "A\x91\xCE\x89\x9E\x82\xB7\x82\xE9 \x81w } \x81x "
                           "\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B");
    EXPECT_EQ(Error("{a}{"), "『 { 』 に対して、対応する 『 } 』 がありません。");
}

TEST_F(SetTest, SelfReferenceStopsAsAnUndefinedVariable)
{
    m_set.Set("x", "{x}");
    EXPECT_EQ(Error("{x}"), "設定されていない変数 {x} が使用されました。");
    m_set.Set("a", "{b}");
    m_set.Set("b", "{a}");
    EXPECT_EQ(Error("{a}"), "設定されていない変数 {a} が使用されました。");
    // Growing values hit the length bound long before the count bound, which
    // tells the text grew too long.
    m_set.Set("grow", std::string(4000, 'g') + "{grow}{grow}");
    EXPECT_EQ(Error("{grow}"), "変数 {grow} の展開で文字列が長くなりすぎました。");
    // A value ending in a lead byte makes the text behind it read anew on each
    // of the replacements: from where the readings meet, not to the end, so
    // that it costs about what a value of single bytes does.
    m_set.Set("s", "{s}" + std::string(251, 'x'));
    const double plain = testkit::ThreadSeconds([&] { Error("{s}"); });
    for (const std::string& tail : {std::string(250, 'x') + "\x81", std::string(251, '\x81')}) {
        m_set.Set("s", "{s}" + tail);
        std::string error;
        const double seconds = testkit::ThreadSeconds([&] { error = Error("{s}"); }, 1);
        EXPECT_EQ(error, "設定されていない変数 {s} が使用されました。");
        EXPECT_TRUE(testkit::CostsAtMost(10, seconds, plain));
    }
}

TEST_F(SetTest, ManyReferencesWithinTheBoundExpand)
{
    m_set.Set("v", "1");
    std::string text;
    for (int i = 0; i < CSet_Implement::MaxReplacements; ++i) text += "{v}";
    EXPECT_EQ(Expand(text.c_str()), std::string(CSet_Implement::MaxReplacements, '1'));
    text += "{v}";
    EXPECT_EQ(Error(text.c_str()), "設定されていない変数 {v} が使用されました。");
}

// The rule written plainly: replace the last "{" found by a scan of the whole
// text, until none is left.
std::string ReferenceExpansion(std::string text, const std::map<std::string, std::string>& values)
{
    const std::size_t maxLength = text.size() + CSet_Implement::MaxGrowth;
    for (int replacements = 0;; ++replacements) {
        std::size_t open = std::string::npos;
        for (std::size_t pos = 0; pos < text.size(); pos += kivotasuGameKit::CharLengthAt(text, pos))
            if (text[pos] == '{') open = pos;
        if (open == std::string::npos) return text;
        std::size_t close = open + 1;
        while (close < text.size() && text[close] != '}') close += kivotasuGameKit::CharLengthAt(text, close);
        if (close >= text.size()) return "error";
        auto found = values.find(text.substr(open + 1, close - open - 1));
        if (found == values.end() || replacements == CSet_Implement::MaxReplacements ||
            text.size() - (close + 1 - open) + found->second.size() > maxLength)
            return "error";
        text.replace(open, close + 1 - open, found->second);
    }
}

TEST_F(SetTest, ExpansionMatchesAScanOfTheWholeTextAfterEachReplacement)
{
    using Values = std::map<std::string, std::string>;
    const auto expand = [&](const std::string& text, const Values& values) -> std::string {
        m_set.Clear();
        for (const auto& [name, value] : values) m_set.Set(name, value);
        try {
            return Expand(text.c_str());
        } catch (const EScript&) {
            return "error";
        }
    };
    const auto trace = [](const std::string& text, const Values& values) {
        std::string said = testing::PrintToString(text);
        for (const auto& [name, value] : values) said += " " + name + "=" + testing::PrintToString(value);
        return said;
    };
    // {b} meets the reading again behind a run of lead bytes, and its value
    // moves that run before {c} reads it anew.
    const Values moved{{"a", "\x81"}, {"b", "\x81{"}, {"c", "y}\x81"}};
    const std::string behindARun = "{c}{a}\x81\x81\x81{b}yy";
    EXPECT_EQ(expand(behindARun, moved), ReferenceExpansion(behindARun, moved)) << trace(behindARun, moved);
    // Lead bytes at the ends of values make the text behind them read anew.
    const char* pieces[] = {"{", "}", "a", "b", "\x81", "\x81\x81", "\x83{", "\x83}", "{a}", "{b}", "x"};
    std::mt19937 random(27);
    const auto make = [&](int most) {
        std::string text;
        for (int n = int(random() % most); n > 0; --n) text += pieces[random() % std::size(pieces)];
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        const Values values{{"a", make(5)}, {"b", make(5)}, {"\x81", make(3)}};
        const std::string text = make(12);
        ASSERT_EQ(expand(text, values), ReferenceExpansion(text, values)) << trace(text, values);
    }
}

TEST_F(SetTest, EvaluateForwardsToTheExpressions)
{
    CSet::CTextString text("{n},1,+");
    m_set.Set("n", "41");
    m_set.Expand(text);
    m_set.Evaluate(text);
    EXPECT_EQ(text.GetStr(), "42");
}

TEST_F(SetTest, ClearLeavesOnlyTheProgramFolder)
{
    m_set.Set("x", "1", true);
    m_set.Clear();
    EXPECT_EQ(Error("{x}"), "設定されていない変数 {x} が使用されました。");

    // The test program's own folder in the internal form: drive Z:, "/" separators.
    std::string folder = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    EXPECT_EQ(Expand("{KARUTEMI}"), "Z:" + folder + "/");
}

} // namespace

namespace {

// Writes the variables as the save and global-variables writers do, and reads
// them back as the loaders do: SET lines with the global flag of their file.
class SetFileTest : public ScriptTest {
protected:
    std::string Write(bool global, const std::string& name)
    {
        {
            kivotasuGameKit::CTextFileWriter writer(m_files.Name(name));
            global ? m_set.WriteGlobals(writer) : m_set.WriteLocals(writer);
        }
        return m_files.Read(name);
    }

    void Load(const std::string& name, bool global)
    {
        CScriptReader reader;
        ASSERT_EQ(reader.Read(m_files.Name(name)), platform::ReadResult::Done);
        CTagAttributes record;
        while (reader.ReadTag(record) == TagRead) {
            const auto& variable = record.GetValue(TagAttributeKey::Variable);
            const auto& entity = record.GetValue(TagAttributeKey::Entity);
            if (record.GetId() == TagId::Set && !variable.IsEmpty() && !entity.IsEmpty()) {
                m_set.Set(variable, entity, global);
            }
        }
    }

    ScriptFiles m_files;
    CSet& m_set = CSet::GetInstance();
};

TEST_F(SetFileTest, GlobalsAndLocalsGoToTheirOwnLinesInNameOrder)
{
    m_set.Set("b", "2");
    m_set.Set("a", "x y");
    m_set.Set("g", "G", true);
    m_set.Set("g", "G2");
    m_set.Set("日本", "語", true);

    EXPECT_EQ(Write(true, "globals"), "[SET VARIABLE=\"g\" ENTITY=\"G2\"]\n[SET VARIABLE=\"日本\" ENTITY=\"語\"]\n");
    std::string locals = Write(false, "locals");
    // "KARUTEMI" sorts before the lower-case names; the program's folder is
    // written as the variable, so it reads back whatever the folder's name.
    EXPECT_EQ(locals.substr(0, locals.find("]\n") + 2), "\n[SET VARIABLE=\"KARUTEMI\" ENTITY=\"{KARUTEMI}\"]\n");
    EXPECT_EQ(locals.substr(locals.find("]\n") + 2),
              "[SET VARIABLE=\"a\" ENTITY=\"x y\"]\n[SET VARIABLE=\"b\" ENTITY=\"2\"]\n");
}

TEST_F(SetFileTest, WrittenAndReadBackGivesTheSameState)
{
    m_set.Set("count", "3");
    m_set.Set("name", "ミカ");
    m_set.Set("seen", "1", true);
    std::string globals = Write(true, "globals");
    std::string locals = Write(false, "locals");

    m_set.Clear();
    Load("globals", true);
    Load("locals", false);
    EXPECT_EQ(Write(true, "globals again"), globals);
    EXPECT_EQ(Write(false, "locals again"), locals);
}

} // namespace
