#include "tests/script/ScriptTestKit.h"
#include "tests/script/ScriptFiles.h"

#include "script/lang/ScriptReader.h"

namespace {

// Runs tags as the dispatcher does for the reader's own tags, and gives the
// BODY of the next story text.
class ScriptReaderTest : public ScriptTest {
protected:
    void SetUp() override
    {
        ScriptTest::SetUp();
        CTagAttributes record;
        record.SetValue(TagAttributeKey::Path, m_files.Folder());
        m_reader.SetDefaultJumpPath(record);
    }

    std::string NextText()
    {
        for (;;) {
            if (m_reader.ReadTag(m_record) != TagRead) return "<end>";
            switch (m_record.GetId()) {
            case TagId::Write: return m_record.GetBody().GetStr();
            case TagId::Jump: m_reader.Jump(m_record); break;
            case TagId::Call: m_reader.Call(m_record); break;
            case TagId::EndCall: m_reader.Return(m_record); break;
            default: break;
            }
        }
    }

    ScriptFiles m_files;
    CScriptReader m_reader;
    CTagAttributes m_record;
};

TEST_F(ScriptReaderTest, NamedLabelsAreSearchedFromTheStart)
{
    m_reader.Read(m_files.Add("a.txt", "[LABEL LABEL=\"b\"]one[C][LABEL LABEL=\"a\"]two[C]"
                                       "[LABEL LABEL=\"a\"]three[C][JUMP LABEL=\"b\"]"));
    EXPECT_EQ(NextText(), "one");
    CTagAttributes jump;
    jump.SetValue(TagAttributeKey::Label, "a");
    EXPECT_TRUE(m_reader.Jump(jump));
    // The first of two equal labels wins; a label behind the reader is found too.
    EXPECT_EQ(NextText(), "two");
    EXPECT_EQ(NextText(), "three");
    EXPECT_EQ(NextText(), "one");
    EXPECT_TRUE(Reported().empty());
}

TEST_F(ScriptReaderTest, NumberedLabelsCountUnnamedOnesForward)
{
    m_reader.Read(m_files.Add("a.txt", "[LABEL]before[JUMP LABEL=\"2\"]skip[LABEL]x[LABEL LABEL=\"n\"]y"
                                       "[LABEL]target[C]"));
    EXPECT_EQ(NextText(), "before");
    EXPECT_EQ(NextText(), "target");

    // "0" is the first byte; 0 or less elsewhere moves nothing.
    CTagAttributes jump;
    jump.SetValue(TagAttributeKey::Label, "0");
    m_reader.Jump(jump);
    EXPECT_EQ(m_reader.GetOffset(), 0u);
    jump.SetValue(TagAttributeKey::Label, "-1");
    m_reader.Jump(jump);
    EXPECT_EQ(m_reader.GetOffset(), 0u);
    EXPECT_TRUE(Reported().empty());
}

TEST_F(ScriptReaderTest, MissingLabelsAreReportedAndEndTheScript)
{
    m_reader.Read(m_files.Add("a.txt", "[LABEL LABEL=\"x\"][JUMP LABEL=\"nowhere\"]after[C]"));
    EXPECT_EQ(NextText(), "<end>");
    ASSERT_EQ(Reported(), std::vector<std::string>{"ラベル『nowhere』が見つかりません。"});
    // The box names the last label passed.
    EXPECT_EQ(m_boxes->History()[0].textSjis.substr(0, 19), "[LABEL LABEL=\"x\"]\n\n");

    m_reader.Read(m_files.Name("a.txt"));
    CTagAttributes jump;
    jump.SetValue(TagAttributeKey::Label, "3");
    EXPECT_FALSE(m_reader.Jump(jump));
    EXPECT_EQ(Reported().back(), "無記名ラベルの数が足りません。");
    EXPECT_EQ(m_reader.GetProgress(), 100);
}

// Digits of either width look alike on the page: a miss names the label
// that differs from the one sought in that alone, and says nothing twice.
TEST_F(ScriptReaderTest, AMissingLabelNamesTheOneWrittenWithDigitsOfTheOtherWidth)
{
    // Sought, and the label named (none when empty).
    const std::pair<const char*, std::string> cases[] = {
        {"第3章", "第３章"}, {"第１０章", "第10章"}, {"第1０章", "第10章"}, {"第4章", ""}, {"終章", ""},
    };
    m_reader.Read(m_files.Add("a.txt", "[LABEL NAME=\"x\" LABEL=\"第３章\"][LABEL LABEL=\"第３章の前\"][LABEL LABEL=\"第３章\"]"
                                       "[LABEL LABEL=\"第10章\"]"));
    for (const auto& [sought, named] : cases) {
        SCOPED_TRACE(sought);
        CTagAttributes jump;
        jump.SetValue(TagAttributeKey::Label, sought);
        EXPECT_FALSE(m_reader.Jump(jump));
        // The search said the bad LABEL tag again; the second pass did not.
        ASSERT_GE(Reported().size(), 2u);
        EXPECT_EQ(Reported().back(), "ラベル『" + std::string(sought) + "』が見つかりません。" +
                                         (named.empty() ? "" : "数字の全角と半角だけが違うラベル『" + named + "』はあります。"));
        EXPECT_EQ(Reported()[Reported().size() - 2], "未知のキーが検出されました。");
    }
    EXPECT_EQ(Reported().size(), 2 * std::size(cases));
}

TEST_F(ScriptReaderTest, AnUnclosedTagStopsTheScanBeforeIt)
{
    std::string text = "[JUMP LABEL=\"x\"]ok[C][LABEL LABEL=\"x\"";
    m_reader.Read(m_files.Add("a.txt", text));
    ASSERT_EQ(m_reader.ReadTag(m_record), TagRead);
    EXPECT_FALSE(m_reader.Jump(m_record));
    EXPECT_EQ(Reported(), (std::vector<std::string>{"タグが閉じていません。", "ラベル『x』が見つかりません。"}));
    EXPECT_EQ(m_reader.GetOffset(), text.rfind('['));
}

TEST_F(ScriptReaderTest, LabelTagsAcceptOnlyTheLabelKey)
{
    m_reader.Read(m_files.Add("a.txt", "[LABEL NAME=\"x\" LABEL=\"x\"]one[label label=\"y\"]two[C]"));
    CTagAttributes record;
    ASSERT_EQ(m_reader.ScanLabel(record), TagRead);
    EXPECT_EQ(record.GetId(), TagId::Label);
    EXPECT_TRUE(record.GetLabel().IsEmpty());
    EXPECT_EQ(Reported(), std::vector<std::string>{"未知のキーが検出されました。"});
    ASSERT_EQ(m_reader.ScanLabel(record), TagRead);
    EXPECT_EQ(record.GetLabel().GetStr(), "y");
    EXPECT_EQ(m_reader.ScanLabel(record), TextEnd);
}

TEST_F(ScriptReaderTest, JumpToAnotherFileAndToAByteOffset)
{
    m_files.Add("b.txt", "[LABEL LABEL=\"in\"]inside[C]");
    std::string main = m_files.Add("a.txt", "[JUMP FILE=\"b.txt\"]never[C]");
    m_reader.Read(main);
    EXPECT_EQ(NextText(), "inside");
    EXPECT_EQ(m_reader.GetName(), m_files.Folder() + "b.txt");

    // A FILE holding ":" is used as it stands; NAME is a byte offset.
    CTagAttributes jump;
    jump.SetValue(TagAttributeKey::File, main);
    jump.SetValue(TagAttributeKey::Name, "19");
    EXPECT_TRUE(m_reader.Jump(jump));
    EXPECT_EQ(NextText(), "never");
    jump.SetValue(TagAttributeKey::Name, "1000");
    m_reader.Jump(jump);
    EXPECT_EQ(m_reader.GetProgress(), 100);
}

TEST_F(ScriptReaderTest, CallAndEndCallReturnAcrossFilesInReverseOrder)
{
    m_files.Add("sub.txt", "in sub[CALL FILE=\"deep.txt\" LABEL=\"go\"]sub again[ENDCALL]");
    m_files.Add("deep.txt", "skipped[LABEL LABEL=\"go\"]deep[ENDCALL]");
    std::string main = m_files.Add("main.txt", "[CALL FILE=\"sub.txt\"]back[C][CALL LABEL=\"f\"]after[C]"
                                               "[LABEL LABEL=\"f\"]local[ENDCALL]");
    m_reader.Read(main);
    EXPECT_EQ(NextText(), "in sub");
    ASSERT_EQ(m_reader.GetCallStack().size(), 1u);
    EXPECT_EQ(m_reader.GetCallStack()[0].file.GetStr(), main);
    EXPECT_EQ(NextText(), "deep");
    EXPECT_EQ(m_reader.GetCallStack().size(), 2u);
    EXPECT_EQ(NextText(), "sub again");
    EXPECT_EQ(NextText(), "back");
    EXPECT_EQ(m_reader.GetName(), main);
    EXPECT_TRUE(m_reader.GetCallStack().empty());

    // Within one file the text stays and the reader goes on behind the CALL.
    EXPECT_EQ(NextText(), "local");
    EXPECT_EQ(NextText(), "after");
    EXPECT_TRUE(Reported().empty());
}

TEST_F(ScriptReaderTest, FailedCallLeavesNoEntry)
{
    m_reader.Read(m_files.Add("a.txt", "[CALL LABEL=\"missing\"][LABEL]x"));
    EXPECT_EQ(NextText(), "<end>");
    EXPECT_TRUE(m_reader.GetCallStack().empty());

    m_reader.Read(m_files.Add("b.txt", "[CALL FILE=\"absent.txt\"]x"));
    EXPECT_EQ(NextText(), "<end>");
    EXPECT_TRUE(m_reader.GetCallStack().empty());

    // An error raised while the label is sought leaves none either.
    m_reader.Read(m_files.Add("c.txt", "[LABEL LABEL=\"{undefined}\"]"));
    CTagAttributes call;
    call.SetValue(TagAttributeKey::Label, "x");
    EXPECT_EQ(ScriptErrorOf([&] { m_reader.Call(call); }), "設定されていない変数 {undefined} が使用されました。");
    EXPECT_TRUE(m_reader.GetCallStack().empty());
}

TEST_F(ScriptReaderTest, CallStackStopsGrowingAtItsBound)
{
    // Save lines and CALLs fill the same stack; neither goes past the bound.
    std::string main = m_files.Add("a.txt", "[LABEL LABEL=\"x\"]x[C]");
    m_reader.Read(main);
    CTagAttributes line;
    line.SetValue(TagAttributeKey::File, main);
    for (std::size_t i = 1; i < CScriptReader::MaxCallDepth; ++i) m_reader.Return(line);
    CTagAttributes call;
    call.SetValue(TagAttributeKey::Label, "x");
    m_reader.Call(call);
    ASSERT_EQ(m_reader.GetCallStack().size(), CScriptReader::MaxCallDepth);

    const std::string tooDeep = "CALLの入れ子が深すぎます。\nCALLしたら、ENDCALLで戻ってください。";
    EXPECT_EQ(ScriptErrorOf([&] { m_reader.Call(call); }), tooDeep);
    EXPECT_EQ(ScriptErrorOf([&] { m_reader.Return(line); }), tooDeep);
    EXPECT_EQ(m_reader.GetCallStack().size(), CScriptReader::MaxCallDepth);
    // The stack still returns.
    CTagAttributes endCall;
    m_reader.Return(endCall);
    EXPECT_EQ(m_reader.GetCallStack().size(), CScriptReader::MaxCallDepth - 1);
}

TEST_F(ScriptReaderTest, EndCallWithoutCallIsReportedAndReadingGoesOn)
{
    m_reader.Read(m_files.Add("a.txt", "[ENDCALL]next[C]"));
    EXPECT_EQ(NextText(), "next");
    EXPECT_EQ(Reported(), std::vector<std::string>{"戻る場所が存在しません。\nENDCALLは、CALLに対応させて使ってください。"});
}

TEST_F(ScriptReaderTest, StackAndDefaultJumpPathSurviveASave)
{
    m_files.Add("sub.txt", "[CALL FILE=\"deep.txt\"]");
    m_files.Add("deep.txt", "deep[C]");
    std::string call = "[CALL FILE=\"sub.txt\"]";
    m_reader.Read(m_files.Add("main.txt", call));
    EXPECT_EQ(NextText(), "deep");
    ASSERT_EQ(m_reader.GetCallStack().size(), 2u);

    CScriptReader::CTextString save;
    m_reader.WriteSave(save);

    CScriptReader loaded;
    std::string_view text = save.GetStr();
    std::size_t pos = 0;
    CTagAttributes record;
    while (CTagLexer(text, pos).ReadTag(record) == TagRead) {
        if (record.GetId() == TagId::DefaultJump) loaded.SetDefaultJumpPath(record);
        if (record.GetId() == TagId::EndCall) loaded.Return(record);
    }
    EXPECT_EQ(loaded.GetDefaultJumpPath(), m_reader.GetDefaultJumpPath());
    ASSERT_EQ(loaded.GetCallStack().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(loaded.GetCallStack()[i].file, m_reader.GetCallStack()[i].file);
        EXPECT_EQ(loaded.GetCallStack()[i].offset, m_reader.GetCallStack()[i].offset);
    }
    // The bottom entry is the first call, back into main behind its tag.
    EXPECT_EQ(loaded.GetCallStack()[0].file.GetStr(), m_files.Name("main.txt"));
    EXPECT_EQ(loaded.GetCallStack()[0].offset, call.size());

    // A stack line without NAME returns to the start of its file.
    CTagAttributes line;
    line.SetValue(TagAttributeKey::File, m_files.Name("main.txt"));
    loaded.Return(line);
    EXPECT_EQ(loaded.GetCallStack().back().offset, 0u);
}

TEST_F(ScriptReaderTest, ProgressIsThePercentageRead)
{
    EXPECT_EQ(m_reader.GetProgress(), 100);
    m_reader.Read(m_files.Add("a.txt", "[C]" + std::string(297, ' ')));
    EXPECT_EQ(m_reader.GetProgress(), 0);
    m_reader.ReadTag(m_record);
    EXPECT_EQ(m_reader.GetProgress(), 1);
    m_reader.ReadTag(m_record);
    EXPECT_EQ(m_reader.GetProgress(), 100);
}

TEST_F(ScriptReaderTest, EmptyDefaultJumpPathKeepsTheOldOne)
{
    CTagAttributes record;
    m_reader.SetDefaultJumpPath(record);
    EXPECT_EQ(m_reader.GetDefaultJumpPath().GetStr(), m_files.Folder());
    record.SetValue(TagAttributeKey::Path, "Z:\\games");
    m_reader.SetDefaultJumpPath(record);
    EXPECT_EQ(m_reader.GetDefaultJumpPath().GetStr(), "Z:/games/");
}

} // namespace
