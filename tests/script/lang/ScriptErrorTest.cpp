#include "tests/kit/RecordingErrorLog.h"
#include "tests/script/ScriptTestKit.h"

#include <functional>

namespace {

class ScriptErrorTest : public ScriptTest {
protected:
    void SetUp() override
    {
        ScriptTest::SetUp();
        m_errors.SetTagText("[JUMP LABEL=\"x\"]");
        m_errors.SetCloseHandler([this] { ++m_closes; });
    }

    CScriptError& m_errors = CScriptError::GetInstance();
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
    struct Case {
        const char* what;
        std::function<void()> set;
        bool placed;
        std::string line;
    };
    const Case cases[] = {
        {"a tag on the third line", [&] { m_errors.SetTagText("[BACK FILE=\"x.bmp\"]", back); }, true,
         Utf8(u8"quiltor: script error at /game/data/index.txt:3: 画像 が 読めません。 [BACK FILE=\"x.bmp\"]\n")},
        {"long text named by its start", [&] { m_errors.SetTagText(script.substr(text, script.size() - 3 - text), text); }, true,
         Utf8(u8"quiltor: script error at /game/data/index.txt:4: 画像 が 読めません。 "
              u8"これは、とても長い本文です。とても長い本文です。とても長い本文です。とても長い本…\n")},
        {"where in the script unknown", [&] { m_errors.SetTagText("[BACK]"); }, true,
         Utf8(u8"quiltor: script error at /game/data/index.txt: 画像 が 読めません。 [BACK]\n")},
        {"no script", [&] { m_errors.SetScript("", {}), m_errors.SetTagText("[BACK]", 0); }, true,
         Utf8(u8"quiltor: script error: 画像 が 読めません。 [BACK]\n")},
        {"found outside the script", [&] { m_errors.SetTagText("[BACK]", back); }, false,
         Utf8(u8"quiltor: script error: 画像 が 読めません。\n")},
    };
    for (const Case& c : cases) {
        for (int mode : {0, 1}) {
            SCOPED_TRACE(std::string(c.what) + " in mode " + std::to_string(mode));
            m_errors.SetMode(mode);
            m_errors.SetScript("Z:\\game\\data\\index.txt", script);
            c.set();
            m_boxes->Push(platform::MessageBoxAnswer::Cancel);
            testing::internal::CaptureStderr();
            if (c.placed) m_errors.Report("画像\nが\r\n読めません。");
            else m_errors.ReportUnplaced("画像\nが\r\n読めません。");
            EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line);
        }
    }
    m_errors.SetScript("", {});
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
