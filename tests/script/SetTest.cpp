#include "ScriptTestKit.h"

#include <filesystem>

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
    EXPECT_EQ(Error("{x}"), "設定されていない変数 {x} が使用されました。");
    EXPECT_EQ(Error("{a"), "『 { 』 に対して、対応する 『 } 』 がありません。");
    EXPECT_EQ(Error("{a}{"), "『 { 』 に対して、対応する 『 } 』 がありません。");
}

TEST_F(SetTest, SelfReferenceStopsAsAnUndefinedVariable)
{
    m_set.Set("x", "{x}");
    EXPECT_EQ(Error("{x}"), "設定されていない変数 {x} が使用されました。");
    m_set.Set("a", "{b}");
    m_set.Set("b", "{a}");
    EXPECT_EQ(Error("{a}"), "設定されていない変数 {a} が使用されました。");
    // Growing values hit the length bound long before the count bound.
    m_set.Set("grow", std::string(4000, 'g') + "{grow}{grow}");
    EXPECT_EQ(Error("{grow}"), "設定されていない変数 {grow} が使用されました。");
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
