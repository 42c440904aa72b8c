// What stderr tells the author of a game as the player runs it with the log
// on: the player's own lines exactly, and the log's line of a missing file.
#include <gtest/gtest.h>

#include "app/StderrLog.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"
#include "tests/script/ScriptTestKit.h"

using testkit::EngineRun;

namespace {

// "{GAME}" stands for the game folder's host path.
std::string InGame(std::string text, const std::string& game)
{
    for (std::size_t at; (at = text.find("{GAME}")) != std::string::npos;) text.replace(at, 6, game);
    return text;
}

// The lines of the player itself (the log's lines do not start so), with
// the end picture's number, drawn at random, as "#".
std::string OwnLines(const std::string& said)
{
    std::string own;
    for (std::size_t start = 0, end; (end = said.find('\n', start)) != std::string::npos; start = end + 1) {
        if (said.compare(start, 9, "quiltor: ") == 0) own += said.substr(start, end + 1 - start);
    }
    if (std::size_t at = own.find("Quiltor0"); at != std::string::npos && at + 8 < own.size()) own[at + 8] = '#';
    return own;
}

TEST(ScriptStderr, SaysEachFaultOnceWithItsPlaceAndTheRealPathTried)
{
    const std::string errorOne = "[SYSTEM CONTROL=\"ERROR\" NAME=\"1\"]";
    // Error mode 1 shows every fault, the end picture a game without
    // {QUILTOR} lacks too.
    const std::string unset = Utf8(u8"quiltor: script error: 設定されていない変数 {QUILTOR} が使用されました。\n");
    const std::string unsetBox = "設定されていない変数 {QUILTOR} が使用されました。";
    struct Case {
        const char* what;
        std::string script; // data/index.txt
        std::string said;   // UTF-8
        std::string logged = {};
        std::vector<std::string> boxed = {}; // the messages of the boxes shown, Shift-JIS
        std::string gameFolderScript = {}; // system/GameFolder.qsd
        std::vector<std::pair<std::string, std::string>> files = {}; // in the game folder
    };
    const Case cases[] = {
        {"a game without GameFolder.qsd reaching its end", "[TITLE BODY=\"本文\"][END]", ""},
        {"the same under ERROR 1", errorOne + "[END]", unset, {}, {unsetBox}},
        {"end pictures missing where {QUILTOR} says", errorOne + "[END]",
         Utf8(u8"quiltor: script error: ファイル {GAME}/pics/Element/Quiltor0#.jpg が開けません。\n"), {}, {"ファイル pics/Element/Quiltor0"},
         "[SET VARIABLE=\"QUILTOR\" ENTITY=\"pics/\"]"},
        {"a UTF-8 script, read all the same", Utf8(u8"[END]本文です。"),
         "quiltor: {GAME}/data/index.txt is UTF-8, but scripts are read as Shift-JIS; convert it with: "
         "iconv -f UTF-8 -t CP932 '{GAME}/data/index.txt' > '{GAME}/data/index.txt.sjis' && "
         "mv '{GAME}/data/index.txt.sjis' '{GAME}/data/index.txt'\n"},
        {"an unknown tag under ERROR 1, skipped", errorOne + "\r\n[BAKC FILE=\"bg.bmp\"][END]",
         "quiltor: unknown tag skipped at {GAME}/data/index.txt:2: [BAKC FILE=\"bg.bmp\"]\n" + unset, {}, {unsetBox}},
        {"a picture named from the game folder", errorOne + "[BACK FILE=\"nothere.bmp\"]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:1: 画像『{GAME}/nothere.bmp』が読み込めません。 "
              u8"[BACK FILE=\"nothere.bmp\"]\n") + unset,
         {}, {"画像『nothere.bmp』が読み込めません。", unsetBox}},
        {"a picture named by its full path", "[BACK FILE=\"{BASE}nothere.bmp\"]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:1: 画像『{GAME}/data/nothere.bmp』が読み込めません。 "
              u8"[BACK FILE=\"{BASE}nothere.bmp\"]\n")},
        {"missing music", "[BGM FILE=\"nomusic.mid\"][END]", "", Utf8(u8"ファイルが無い {GAME}/nomusic.mid\n")},
        {"music over the synthesiser's bound", "[BGM FILE=\"big.mid\"][END]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:1: シンセサイザがMIDIファイルを読めない: {GAME}/big.mid は "
              u8"2097153 バイトあり、上限の 2097152 バイトを超えています。 [BGM FILE=\"big.mid\"]\n"),
         {}, {}, {}, {{"big.mid", std::string(2097153, 'M')}}},
    };
    kivotasuGameKit::ErrorLog.SetDevice(kivotasuGameKit::CSmartPtr<kivotasuGameKit::IErrorLog>(new CStderrLogDevice));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", c.script);
        if (!c.gameFolderScript.empty()) game.Put("system/GameFolder.qsd", c.gameFolderScript);
        for (const auto& [name, bytes] : c.files) game.Put(name, bytes);
        const std::string folder = game.Host().string();
        EngineRun run;
        testing::internal::CaptureStderr();
        run.Run(30);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
        EXPECT_EQ(OwnLines(said), InGame(c.said, folder));
        if (!c.logged.empty()) {
            EXPECT_NE(said.find(InGame(c.logged, folder)), std::string::npos) << said;
        }
        // The box keeps the name the script gave.
        const auto& boxes = run.Boxes().History();
        ASSERT_EQ(boxes.size(), c.boxed.size());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_NE(boxes[i].textSjis.find(c.boxed[i]), std::string::npos) << boxes[i].textSjis;
        }
    }
    kivotasuGameKit::ErrorLog.SetDevice(
        kivotasuGameKit::CSmartPtr<kivotasuGameKit::IErrorLog>(new kivotasuGameKit::CNullErrorLogDevice));
}

} // namespace
