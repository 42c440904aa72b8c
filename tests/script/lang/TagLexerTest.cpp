#include "tests/script/ScriptTestKit.h"

#include "script/lang/TagLexer.h"
#include "script/lang/TagTables.h"
#include "script/lang/TextScan.h"

#include <cctype>

namespace {

// Reads every tag of a text, as the dispatcher does until a non-zero result.
class TagLexerTest : public ScriptTest {
protected:
    TagReadResult Next(std::string_view text)
    {
        return CTagLexer(text, m_pos).ReadTag(m_record);
    }

    std::string Value(TagAttributeKey key) const { return m_record.GetValue(key).GetStr(); }

    std::size_t m_pos = 0;
    CTagAttributes m_record;
};

TEST_F(TagLexerTest, PlainTextBecomesWriteUpToTheNextBracket)
{
    std::string_view text = "  Hello\r\n[WAIT TIME=\"5\"]";
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::Write);
    // Leading blanks go, trailing blanks and line ends stay.
    EXPECT_EQ(Value(TagAttributeKey::Body), "Hello\r\n");
    EXPECT_EQ(m_pos, text.find('['));

    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::Wait);
    EXPECT_EQ(Value(TagAttributeKey::Time), "5");
    EXPECT_EQ(m_pos, text.size());

    EXPECT_EQ(Next(text), TextEnd);
    EXPECT_TRUE(Reported().empty());
}

TEST_F(TagLexerTest, TextWithoutAFollowingBracketIsDropped)
{
    std::string_view text = "[C]  the end\r\n";
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::C);
    EXPECT_EQ(Next(text), TextEnd);
    EXPECT_EQ(m_pos, text.size());

    m_pos = 0;
    EXPECT_EQ(Next(" \t\r\n"), TextEnd);
    EXPECT_EQ(m_pos, 4u);
}

TEST_F(TagLexerTest, AtTheEndTheRecordIsLeftAsItWas)
{
    m_record.SetId(TagId::Paint);
    m_pos = 3;
    EXPECT_EQ(Next("[C]"), TextEnd);
    EXPECT_EQ(m_record.GetId(), TagId::Paint);
}

TEST_F(TagLexerTest, UnclosedTagIsReportedAndNotRead)
{
    std::string_view text = "[C][ACT NAME=\"a\"";
    ASSERT_EQ(Next(text), TagRead);
    std::size_t before = m_pos;
    EXPECT_EQ(Next(text), TagUnclosed);
    EXPECT_EQ(m_pos, before);
    EXPECT_EQ(m_record.GetId(), TagId::Comment);
    EXPECT_TRUE(m_record.GetName().IsEmpty());
    ASSERT_EQ(Reported(), std::vector<std::string>{"タグが閉じていません。"});
    // The box shows the last tag that was read whole.
    EXPECT_EQ(m_boxes->History()[0].textSjis.substr(0, 5), "[C]\n\n");
}

TEST_F(TagLexerTest, AnErrorOfStoryTextNamesTheTextAndItsLine)
{
    // A half-width "," makes the text an expression, which lacks an operator.
    const std::string text = "[C]\r\n本文,です\r\n[P]";
    CScriptError& errors = CScriptError::GetInstance();
    errors.SetScript("Z:\\game\\index.txt", text);
    ASSERT_EQ(Next(text), TagRead);
    const std::string message = ScriptErrorOf([&] { Next(text); });
    EXPECT_EQ(message, "演算子が足りません。（半角の「,」があるので、計算式として読みました。）");
    testing::internal::CaptureStderr();
    errors.Report(message);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              Utf8(u8"quiltor: script error at /game/index.txt:2: 演算子が足りません。（半角の「,」があるので、計算式として読みました。） 本文,です\n"));
    EXPECT_EQ(m_boxes->History().at(0).textSjis.substr(0, 13), "本文,です\r\n\n\n");
    errors.SetScript("", {});
}

TEST_F(TagLexerTest, EveryInnerOpeningBracketMovesTheEndPastOneMoreClosingOne)
{
    std::string_view text = "[SELECT [JUMP FILE=\"a.txt\"]]rest[C]";
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::Select);
    EXPECT_EQ(m_pos, text.find("rest"));
    EXPECT_EQ(CScriptError::GetInstance().GetTagText().GetStr(), "[SELECT [JUMP FILE=\"a.txt\"]]");
    // The inner tag is no attribute of the outer one.
    EXPECT_EQ(Reported(), std::vector<std::string>{"未知のキーが検出されました。"});
}

TEST_F(TagLexerTest, SecondBytesAreNeverBrackets)
{
    ASSERT_EQ(std::string("ゼゾ"), "\x83\x5B\x83\x5D");
    std::string_view text = "ゼ text[TEXT BODY=\"ゾ\"][C]";
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(Value(TagAttributeKey::Body), "ゼ text");
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::Text);
    EXPECT_EQ(Value(TagAttributeKey::Body), "ゾ");
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::C);
}

TEST_F(TagLexerTest, NamesAndKeysIgnoreCase)
{
    ASSERT_EQ(Next("[wait Time=\"7\"]"), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::Wait);
    EXPECT_EQ(Value(TagAttributeKey::Time), "7");
}

TEST_F(TagLexerTest, NamesMatchByFirstPrefixInTableOrder)
{
    struct Case { const char* text; TagId id; };
    for (const Case& c : {Case{"[C]", TagId::C}, Case{"[CUT]", TagId::Cut}, Case{"[CALL]", TagId::Call},
                          Case{"[END]", TagId::End}, Case{"[ENDCALL]", TagId::EndCall},
                          Case{"[ENDSELECT]", TagId::EndSelect}, Case{"[TL]", TagId::Tl},
                          Case{"[TEXT]", TagId::Text}, Case{"[SET]", TagId::Set}, Case{"[P]", TagId::P}}) {
        m_pos = 0;
        ASSERT_EQ(Next(c.text), TagRead) << c.text;
        EXPECT_EQ(m_record.GetId(), c.id) << c.text;
    }
    EXPECT_TRUE(Reported().empty());
}

// The lookup by first letter finds what a scan of the whole table finds, for
// every name in either case, cut short, run on, or led by no letter.
TEST(PrefixTable, MatchesTheFirstEntryAScanOfTheTableFinds)
{
    const auto scan = [](std::span<const std::string_view> table, std::string_view text) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < table.size(); ++i)
            if (HasPrefixNoCase(text, table[i])) return i;
        return std::nullopt;
    };
    const std::pair<std::span<const std::string_view>, const CPrefixTable*> tables[] = {
        {TagNames, &TagNameTable()}, {TagAttributeKeyNames, &TagAttributeKeyTable()}};
    for (const auto& [names, table] : tables) {
        for (std::string_view name : names) {
            std::string lower(name);
            for (char& ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
            for (const std::string& text : {std::string(name), lower, lower + "X]", std::string(name.substr(0, name.size() - 1)),
                                            "_" + std::string(name), "\x81" + std::string(name), std::string()})
                EXPECT_EQ(table->Match(text), scan(names, text)) << text;
        }
    }
}

TEST_F(TagLexerTest, ALongerNameIsTheShorterTagWithAnUnknownKey)
{
    ASSERT_EQ(Next("[ACTOR NAME=\"a\"]"), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::Act);
    EXPECT_TRUE(m_record.GetName().IsEmpty());
    EXPECT_EQ(Reported(), std::vector<std::string>{"未知のキーが検出されました。"});
}

TEST_F(TagLexerTest, UnknownNameIsCommentWithoutAttributesOrReport)
{
    ASSERT_EQ(Next("[FOO NAME=\"x\" BAR]"), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::Comment);
    EXPECT_TRUE(m_record.GetName().IsEmpty());
    EXPECT_TRUE(Reported().empty());
}

TEST_F(TagLexerTest, BlankBeforeTheClosingBracketIsAnUnknownKeyButTheTagStands)
{
    ASSERT_EQ(Next("[ACT NAME=\"a\" ]"), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::Act);
    EXPECT_EQ(Value(TagAttributeKey::Name), "a");
    EXPECT_EQ(Reported(), std::vector<std::string>{"未知のキーが検出されました。"});
}

TEST_F(TagLexerTest, ValueSyntaxIsLoose)
{
    // Blanks around "=" and text between the key and "=" are skipped.
    ASSERT_EQ(Next("[ACT NAMEX = \"a\" X=\"1\"Y=\"2\"]"), TagRead);
    EXPECT_EQ(Value(TagAttributeKey::Name), "a");
    EXPECT_EQ(Value(TagAttributeKey::X), "1");
    EXPECT_EQ(Value(TagAttributeKey::Y), "2");

    // Without "=" and quotes the value is the rest, closing bracket included.
    m_pos = 0;
    ASSERT_EQ(Next("[ACT NAME]"), TagRead);
    EXPECT_EQ(Value(TagAttributeKey::Name), "]");

    // A key given twice keeps the last value.
    m_pos = 0;
    ASSERT_EQ(Next("[ACT NAME=\"a\" NAME=\"b\"]"), TagRead);
    EXPECT_EQ(Value(TagAttributeKey::Name), "b");
    EXPECT_TRUE(Reported().empty());
}

TEST_F(TagLexerTest, ValuesAndStoryTextAreExpandedAndEvaluated)
{
    CSet::GetInstance().Set("n", "5");
    std::string_view text = "a{n}b[WAIT TIME=\"{n},2,*\"][COMMENT BODY=\"{n}\"]";
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(Value(TagAttributeKey::Body), "a5b");
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(Value(TagAttributeKey::Time), "10");
    // A COMMENT matched by name still reads its attributes.
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::Comment);
    EXPECT_EQ(Value(TagAttributeKey::Body), "5");
}

TEST_F(TagLexerTest, AnExpansionErrorLeavesThePositionBehindTheTag)
{
    std::string_view text = "[WAIT TIME=\"{nope}\"][C]";
    EXPECT_EQ(ScriptErrorOf([&] { Next(text); }), "設定されていない変数 {nope} が使用されました。");
    ASSERT_EQ(Next(text), TagRead);
    EXPECT_EQ(m_record.GetId(), TagId::C);
}

} // namespace
