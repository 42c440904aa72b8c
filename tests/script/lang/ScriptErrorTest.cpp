#include "tests/kit/RecordingErrorLog.h"
#include "tests/script/ScriptFiles.h"
#include "tests/script/ScriptTestKit.h"

#include <functional>

#include "platform/Clock.h"
#include "platform/HostPath.h"
#include "platform/StderrLines.h"
#include "script/lang/ScriptReader.h"

namespace {

class ScriptErrorTest : public ScriptTest {
protected:
    void SetUp() override
    {
        ScriptTest::SetUp();
        m_errors.SetTagText("[JUMP LABEL=\"x\"]");
        m_errors.SetCloseHandler([this] { ++m_closes; });
    }

    // Reads index.txt holding text as the dispatcher would, for at most tags
    // tags: the reader's own tags run, the others are only read.
    void Read(const std::string& text, std::size_t tags = 1000)
    {
        CScriptReader reader;
        CTagAttributes record;
        record.SetValue(TagAttributeKey::Path, m_files.Folder());
        reader.SetDefaultJumpPath(record);
        reader.Read(m_files.Add("index.txt", text));
        for (std::size_t read = 0; read < tags && reader.ReadTag(record) == TagRead; ++read) {
            if (record.GetId() == TagId::Jump) reader.Jump(record);
            if (record.GetId() == TagId::Call) reader.Call(record);
        }
    }

    CScriptError& m_errors = CScriptError::GetInstance();
    ScriptFiles m_files;
    int m_closes = 0;
};

TEST_F(ScriptErrorTest, ModeOtherThanOneShowsNothingButEveryModeLogs)
{
    testkit::ScopedErrorLogRecorder log;
    for (int mode : {0, 2, -1, 1}) {
        m_boxes->Push(platform::MessageBoxAnswer::Cancel);
        m_errors.SetMode(mode);
        m_errors.Report(kivotasuGameKit::CTextString("何か" + std::to_string(mode)));
    }
    EXPECT_EQ(m_boxes->History().size(), 1u);
    EXPECT_EQ(m_closes, 0);
    const std::vector<std::string> lines = log->Messages();
    ASSERT_EQ(lines.size(), 4u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_NE(lines[i].find("[JUMP LABEL=\"x\"]"), std::string::npos) << lines[i];
        EXPECT_NE(lines[i].find("何か"), std::string::npos) << lines[i];
    }
    EXPECT_NE(lines[0].find("何か0"), std::string::npos);
}

TEST_F(ScriptErrorTest, BoxShowsTagTextMessageAndClosingLine)
{
    m_errors.Report("ラベル『x』が見つかりません。");
    auto shown = m_boxes->History();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].titleSjis, "スクリプトエラー");
    EXPECT_EQ(shown[0].textSjis, "[JUMP LABEL=\"x\"]\n\nラベル『x』が見つかりません。\n\n\n……終了しちゃいますよぉ？");
    EXPECT_EQ(shown[0].textSjis.substr(shown[0].textSjis.size() - 26),
              "\x81\x63\x81\x63\x8F\x49\x97\xB9\x82\xB5\x82\xBF\x82\xE1\x82\xA2\x82\xDC\x82\xB7\x82\xE6\x82\xA7\x81\x48");
    EXPECT_EQ(shown[0].style, platform::MessageBoxStyle::OkCancel);
    EXPECT_TRUE(shown[0].warning);
}

TEST_F(ScriptErrorTest, EveryModeSaysOneLineOnStderrWithTheScriptLineAndTag)
{
    const std::string script = "[C]\r\n\r\n[BACK FILE=\"x.bmp\"]\r\nこれは、とても長い本文です。とても長い本文です。とても長い本文です。とても長い本文です。[P]";
    const std::size_t back = script.find("[BACK"), text = script.find("これ");
    const CScriptError::CTextString message = "画像\nが\r\n読めません。";
    const std::string name(1 << 20, 'n');
    // Where the rows that read a script say their errors.
    const std::string at = "quiltor: script error at " + platform::ShownPath(m_files.Name("index.txt"));
    const std::string warning = "quiltor: script warning at " + platform::ShownPath(m_files.Name("index.txt"));
    const std::string loop = at + Utf8(u8":2: 未知のキーが検出されました。 [SET VARIABLE=\"a\" ENTITY=\"1\" BOGUS=\"1\"]");
    const std::string open = Utf8(u8"[BACK COLOR=\"#000000\" EFFECT=\"NONE\" 四行目です。[P]]");
    const std::string bytes = "<ESC>c<BEL><BS><HT><NUL>x<DEL>";
    struct Case {
        const char* what;
        std::function<void()> act;
        std::string said;
    };
    const Case cases[] = {
        {"a tag on the third line", [&] { m_errors.SetTagText("[BACK FILE=\"x.bmp\"]", back), m_errors.Report(message); },
         Utf8(u8"quiltor: script error at /game/data/index.txt:3: 画像 が 読めません。 [BACK FILE=\"x.bmp\"]\n")},
        {"long text named by its start",
         [&] { m_errors.SetTagText(script.substr(text, script.size() - 3 - text), text), m_errors.Report(message); },
         Utf8(u8"quiltor: script error at /game/data/index.txt:4: 画像 が 読めません。 "
              u8"これは、とても長い本文です。とても長い本文です。とても長い本文です。とても長い本…\n")},
        {"where in the script unknown", [&] { m_errors.SetTagText("[BACK]"), m_errors.Report(message); },
         Utf8(u8"quiltor: script error at /game/data/index.txt: 画像 が 読めません。 [BACK]\n")},
        {"no script", [&] { m_errors.SetScript("", {}), m_errors.SetTagText("[BACK]", 0), m_errors.Report(message); },
         Utf8(u8"quiltor: script error: 画像 が 読めません。 [BACK]\n")},
        {"found outside the script", [&] { m_errors.SetTagText("[BACK]", back), m_errors.ReportUnplaced(message); },
         Utf8(u8"quiltor: script error: 画像 が 読めません。\n")},

        // Said as they are read.
        {"an error in a loop, counted",
         [&] { Read("[LABEL LABEL=\"top\"]\n[SET VARIABLE=\"a\" ENTITY=\"1\" BOGUS=\"1\"]\n[JUMP LABEL=\"top\"]", 1 + 2 * 20001); },
         loop + "\n" + loop + " (repeated 10000 times)\n" + loop + " (repeated 10000 times)\n"},
        {"control bytes by name, in a CALL's missing label",
         [&] { Read(std::string("[C]\n[CALL FILE=\"b.txt\" LABEL=\"\x1b" "c\a\b\t\0x\x7f\"]", 40)); },
         at + Utf8(u8":2: ラベル『") + bytes + Utf8(u8"』が見つかりません。 [CALL FILE=\"b.txt\" LABEL=\"") + bytes + "\"]\n"},
        {"a 1 MiB FILE name cut",
         [&] { m_errors.SetTagText("[BACK FILE=\"" + name + "\"]", back), m_errors.Report("画像『" + name + "』が読み込めません。"); },
         Utf8(u8"quiltor: script error at /game/data/index.txt:3: 画像『") + name.substr(0, 394) + Utf8(u8"… [BACK FILE=\"") +
             name.substr(0, 68) + Utf8(u8"…\n")},
        {"an open tag at the end, where it opens", [&] { Read("[C]\n\n[BACK COLOR=\"#000000\"\n四行目です。"); },
         at + Utf8(u8":3: タグが閉じていません。 [BACK COLOR=\"#000000\" 四行目です。\n")},
        {"an open tag into the next, where it opens",
         [&] { Read("[SET VARIABLE=\"a\" ENTITY=\"[1]\"]\n[BACK COLOR=\"#000000\" EFFECT=\"NONE\"\n四行目です。[P]]\n[C]"); },
         warning + Utf8(u8":2: タグが閉じる前に次の「[」があります。 ") + open + "\n" + at + Utf8(u8":2: 未知のキーが検出されました。 ") + open + "\n"},
        {"after the reader's close, no place",
         [&] {
             CScriptReader reader;
             CTagAttributes record;
             reader.Read(m_files.Add("index.txt", "[C]\n[BACK]"));
             reader.ReadTag(record), reader.ReadTag(record), reader.Close();
             m_errors.Report(message);
         },
         Utf8(u8"quiltor: script error: 画像 が 読めません。 [BACK]\n")},
        {"a JUMP's missing label at the JUMP, blocks down",
         [&] { Read("[LABEL LABEL=\"ある\"]\n本文[C]\n" + std::string(10000, '\n') + "[JUMP LABEL=\"どこにもない\"]\n[LABEL LABEL=\"あと\"]"); },
         at + Utf8(u8":10003: ラベル『どこにもない』が見つかりません。 [JUMP LABEL=\"どこにもない\"]\n")},
    };
    m_files.Add("b.txt", "[LABEL LABEL=\"b\"]");
    for (const Case& c : cases) {
        for (int mode : {0, 1}) {
            SCOPED_TRACE(std::string(c.what) + " in mode " + std::to_string(mode));
            m_errors.SetMode(mode);
            m_errors.SetScript("Z:\\game\\data\\index.txt", script);
            testing::internal::CaptureStderr();
            c.act();
            platform::Stderr().Flush();
            EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said);
        }
    }
    m_errors.SetScript("", {});
}

// A script that loops over erring places without a wait says each error on
// every lap. However many places err, and whatever errs there, what reaches
// stderr is bounded, and the first report of each place comes at once.
TEST_F(ScriptErrorTest, LoopsOverErringPlacesSayABoundedNumberOfLines)
{
    const auto unknownKey = [](std::size_t n) { return "[SET VARIABLE=\"a\" ENTITY=\"1\" BOGUS" + std::to_string(n) + "=\"1\"]"; };
    const auto unknownTag = [](std::size_t n) { return "[BAKC" + std::to_string(n) + " FILE=\"bg.bmp\"]"; };
    const auto sameError = [](std::size_t) { return std::string("[SET VARIABLE=\"a\" ENTITY=\"1\" BOGUS=\"1\"]"); };
    constexpr std::size_t Reports = 100000;
    // Beyond the places remembered, only the cap on lines in a window holds.
    constexpr std::size_t Many = 2 * platform::RepeatedLines::Kinds;
    const struct {
        const char* what;
        std::function<std::string(std::size_t)> place;
        std::size_t places;
    } cases[] = {
        {"one unknown key", unknownKey, 1},         {"5 unknown keys", unknownKey, 5},
        {"50 unknown keys", unknownKey, 50},        {"5 unknown tags", unknownTag, 5},
        {"50 unknown tags", unknownTag, 50},        {"the same error on 5 lines", sameError, 5},
        {"the same error on 50 lines", sameError, 50}, {"unknown keys at more places than are remembered", unknownKey, Many},
    };
    const std::string path = platform::ShownPath(m_files.Name("index.txt"));
    // Time stands still: the cap holds however fast the loop runs.
    platform::InstallClock(std::make_unique<platform::VirtualClock>());
    m_errors.SetMode(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string script = "[LABEL LABEL=\"top\"]\n";
        for (std::size_t n = 0; n < c.places; ++n) script += c.place(n) + "\n";
        script += "[JUMP LABEL=\"top\"]";
        platform::Stderr().Flush();
        testing::internal::CaptureStderr();
        // A lap reads the places and the JUMP.
        Read(script, (Reports / c.places + 1) * (c.places + 1));
        platform::Stderr().Flush();
        const std::string said = testing::internal::GetCapturedStderr();

        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = said.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(said.substr(start, end - start));
        std::size_t reports = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::size_t count = lines[i].find(" (repeated "), held = lines[i].find(" more lines held back");
            if (count != std::string::npos) reports += std::stoull(lines[i].substr(count + 11));
            else if (held != std::string::npos) reports += std::stoull(lines[i].substr(9));
            else ++reports;
            // Place i is on line i + 2.
            if (i < std::min(c.places, platform::StderrLines::LinesPerWindow)) {
                EXPECT_TRUE(lines[i].find(path + ":" + std::to_string(i + 2) + ": ") != std::string::npos && count == std::string::npos)
                    << "each place said at its first report: " << lines[i];
            }
        }
        EXPECT_GE(reports, Reports) << "every report said or counted";
        if (c.places == Many) {
            EXPECT_EQ(lines.size(), platform::StderrLines::LinesPerWindow + 1);
            EXPECT_NE(lines.back().find(" more lines held back"), std::string::npos) << lines.back();
        } else {
            // Each place said once, its repeats counted every Bound, the rest at the end.
            EXPECT_LE(lines.size(), 2 * c.places + reports / platform::RepeatedLines::Bound);
        }
    }
    platform::InstallClock(nullptr);
}

TEST_F(ScriptErrorTest, OkClosesTheProgramAndCancelReadsOn)
{
    m_boxes->Push(platform::MessageBoxAnswer::Cancel);
    m_errors.Report("a");
    EXPECT_EQ(m_closes, 0);
    m_boxes->Push(platform::MessageBoxAnswer::Ok);
    m_errors.Report("b");
    EXPECT_EQ(m_closes, 1);
}

} // namespace
