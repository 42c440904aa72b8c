// What stderr tells the author of a game as the player runs it with the log
// on: the player's own lines exactly, and the log's line of a missing file;
// never a control byte that would drive the terminal.
#include <gtest/gtest.h>

#include "app/StderrLog.h"
#include "platform/TextCodec.h"
#include "script/engine/KeyCodes.h"
#include "script/engine/MenuCommands.h"
#include "tests/kit/EngineHarness.h"
#include "tests/kit/SineFile.h"
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

// A script that runs tag, on line 2, three times over and ends.
std::string Lap(const std::string& tag)
{
    return "[SET VARIABLE=\"n\" ENTITY=\"0\"]\r\n[LABEL LABEL=\"lap\"]" + tag +
           "[SET VARIABLE=\"n\" ENTITY=\"{n},1,+\"][JUMP LABEL=\"lap\" COND=\"{n},3,<\"]\r\n[END]";
}

// A 24-bit BMP of one black pixel.
std::string Dot()
{
    const unsigned char bytes[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,
                                   0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
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
        std::vector<std::pair<std::string, std::uint64_t>> holes = {}; // files of that size that take no disk
        std::function<void(EngineRun&)> input = {};
    };
    const Case cases[] = {
        {"a game without GameFolder.qsd reaching its end", "[TITLE BODY=\"本文\"][END]", ""},
        {"the same under ERROR 1", errorOne + "[END]", unset, {}, {unsetBox}},
        {"end pictures missing where {QUILTOR} says", errorOne + "[END]",
         Utf8(u8"quiltor: script error: ファイル {GAME}/pics/Element/Quiltor0#.jpg が開けません。\n"), {},
         {"ファイル {GAME}/pics/Element/Quiltor0"},
         "[SET VARIABLE=\"QUILTOR\" ENTITY=\"pics/\"]"},
        {"a UTF-8 script, read all the same", Utf8(u8"[END]本文です。"),
         "quiltor: {GAME}/data/index.txt is UTF-8, but scripts are read as Shift-JIS; convert it with: "
         "iconv -f UTF-8 -t CP932 '{GAME}/data/index.txt' > '{GAME}/data/index.txt.sjis' && "
         "mv '{GAME}/data/index.txt.sjis' '{GAME}/data/index.txt'\n",
         {}, {"data/index.txt is UTF-8, but scripts are read as Shift-JIS; convert it with: iconv"}},
        {"an unknown tag under ERROR 1, skipped", errorOne + "\r\n[BAKC FILE=\"bg.bmp\"][END]",
         "quiltor: unknown tag skipped at {GAME}/data/index.txt:2: [BAKC FILE=\"bg.bmp\"]\n" + unset, {}, {unsetBox}},
        {"a picture named from the game folder", errorOne + "[BACK FILE=\"nothere.bmp\"]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:1: 画像『{GAME}/nothere.bmp』が読み込めません。 "
              u8"[BACK FILE=\"nothere.bmp\"]\n") + unset,
         {}, {"画像『{GAME}/nothere.bmp』が読み込めません。", unsetBox}},
        {"a picture named by its full path under ERROR 1: the tag as written, the host path", errorOne + "[BACK FILE=\"{BASE}rooom.png\"]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:1: 画像『{GAME}/data/rooom.png』が読み込めません。 "
              u8"[BACK FILE=\"{BASE}rooom.png\"]\n") + unset,
         {}, {"[BACK FILE=\"{BASE}rooom.png\"]\n\n画像『{GAME}/data/rooom.png』が読み込めません。", unsetBox}},
        {"a picture named by its full path", "[BACK FILE=\"{BASE}nothere.bmp\"]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:1: 画像『{GAME}/data/nothere.bmp』が読み込めません。 "
              u8"[BACK FILE=\"{BASE}nothere.bmp\"]\n")},
        {"missing music, named once in a loop", Lap("[BGM FILE=\"{BASE}nomusic.mid\"]"),
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: 音のファイル『{GAME}/data/nomusic.mid』がありません。 "
              u8"[BGM FILE=\"{BASE}nomusic.mid\"]\n"),
         Utf8(u8"ファイルが無い {GAME}/data/nomusic.mid\n")},
        {"a missing sound, named once in a loop", Lap("[SOUND FILE=\"nosound.wav\"]"),
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: 音のファイル『{GAME}/nosound.wav』がありません。 "
              u8"[SOUND FILE=\"nosound.wav\"]\n"),
         // The log keeps it as a warning too.
         Utf8(u8"スクリプト警告 at {GAME}/data/index.txt:2: 音のファイル『{GAME}/nosound.wav』がありません。")},
        {"an effect that is no name and no picture", Lap("[BACK COLOR=\"#000000\" EFFECT=\"FADE\"]"),
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: EFFECT『FADE』は効果の名前でなく、絵としても使えないので、"
              u8"BLENDで切り替えます。画像『{GAME}/FADE』が読み込めません。 [BACK COLOR=\"#000000\" EFFECT=\"FADE\"]\n")},
        {"an effect in lower case", Lap("[BACK COLOR=\"#000000\" EFFECT=\"blind\"]"),
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: EFFECT『blind』は効果の名前でなく、絵としても使えないので、"
              u8"BLENDで切り替えます。キーワードは大文字で「BLIND」と書きます。画像『{GAME}/blind』が読み込めません。 "
              u8"[BACK COLOR=\"#000000\" EFFECT=\"blind\"]\n")},
        {"a default picture that is not there, named at the tag that falls back on it",
         Lap("[DEFAULTLOCK EFFECT=\"{BASE}wipe.bmp\"][LOCK][UNLOCK]"),
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: EFFECT『{GAME}/data/wipe.bmp』は効果の名前でなく、絵としても使えないので、"
              u8"BLENDで切り替えます。画像『{GAME}/data/wipe.bmp』が読み込めません。 [UNLOCK]\n")},
        // The paste's transition runs before the text read after it.
        {"a paste's effect that is no name and no picture, said at the paste",
         "[PAINT NAME=\"p\" WIDTH=\"8\" HEIGHT=\"8\" EFFECT=\"NONE\"][CUT FILE=\"dot.bmp\" X=\"0\" Y=\"0\" WIDTH=\"1\" HEIGHT=\"1\"]\r\n"
         "[PASTE NAME=\"p\" EFFECT=\"FADE\"]\r\n貼りました。[END]",
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: EFFECT『FADE』は効果の名前でなく、絵としても使えないので、"
              u8"BLENDで切り替えます。画像『{GAME}/FADE』が読み込めません。 [PASTE NAME=\"p\" EFFECT=\"FADE\"]\n"),
         {}, {}, {}, {{"dot.bmp", Dot()}}},
        {"places that are no keyword and no number", Lap("[PAINT NAME=\"p\" WIDTH=\"8\" HEIGHT=\"8\" X=\"MIGI\" Y=\"UE\"]"),
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: X『MIGI』は位置の名前でも数でもないので、使われません。 "
              u8"[PAINT NAME=\"p\" WIDTH=\"8\" HEIGHT=\"8\" X=\"MIGI\" Y=\"UE\"]\n"
              u8"quiltor: script warning at {GAME}/data/index.txt:2: Y『UE』は位置の名前でも数でもないので、使われません。 "
              u8"[PAINT NAME=\"p\" WIDTH=\"8\" HEIGHT=\"8\" X=\"MIGI\" Y=\"UE\"]\n")},
        // A PAINT's text is placed before its picture is parsed: said once all
        // the same (a second saying would be counted before the next line).
        {"places of PAINT text in lower case", Lap("[PAINT NAME=\"p\" BODY=\"文\" X=\"left\"][PAINT NAME=\"q\" BODY=\"文\" Y=\"floor\"]"),
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: X『left』は位置の名前でも数でもないので、使われません。"
              u8"キーワードは大文字で「LEFT」と書きます。 [PAINT NAME=\"p\" BODY=\"文\" X=\"left\"]\n"
              u8"quiltor: script warning at {GAME}/data/index.txt:2: Y『floor』は位置の名前でも数でもないので、使われません。"
              u8"キーワードは大文字で「FLOOR」と書きます。 [PAINT NAME=\"q\" BODY=\"文\" Y=\"floor\"]\n")},
        {"corners misspelt and in lower case",
         Lap("[PAINT NAME=\"p\" WIDTH=\"8\" HEIGHT=\"8\" ERASE=\"LEFTOP\"][PAINT NAME=\"q\" WIDTH=\"8\" HEIGHT=\"8\" ERASE=\"righttop\"]"),
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: ERASE『LEFTOP』は角の名前でも色でもないので、使われません。 "
              u8"[PAINT NAME=\"p\" WIDTH=\"8\" HEIGHT=\"8\" ERASE=\"LEFTOP\"]\n"
              u8"quiltor: script warning at {GAME}/data/index.txt:2: ERASE『righttop』は角の名前でも色でもないので、使われません。"
              u8"キーワードは大文字で「RIGHTTOP」と書きます。 [PAINT NAME=\"q\" WIDTH=\"8\" HEIGHT=\"8\" ERASE=\"righttop\"]\n")},
        {"corners and colours", Lap("[PAINT NAME=\"p\" WIDTH=\"8\" HEIGHT=\"8\" ERASE=\"RIGHTBOTTOM\"][PAINT NAME=\"q\" WIDTH=\"8\" HEIGHT=\"8\" ERASE=\"#00FF00\"]"), ""},
        {"story text that holds a half-width comma", "Hello, world![P][END]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:1: 演算子が足りません。（半角の「,」「!」があるので、"
              u8"計算式として読みました。） Hello, world!\n")},
        // Once a script, at the first, where the script wrote it or where the
        // text that a variable brought it into starts; blanks lay text out.
        {"half-width characters in story text", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]\r\nようこそ 12、\r\nドキドキ!学園へ。"
                                                "[CALL FILE=\"{BASE}sub.txt\"]もう一度?[END]",
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:3: 半角の「!」は文章に表示されません。表示される半角文字は数字だけなので、"
              u8"全角で書いてください（このスクリプトでは最初の一つだけを知らせます）。 ようこそ 12、 ドキドキ!学園へ。\n"
              u8"quiltor: script warning at {GAME}/data/sub.txt:2: 半角の「-」は文章に表示されません。表示される半角文字は数字だけなので、"
              u8"全角で書いてください（このスクリプトでは最初の一つだけを知らせます）。 差は {x}。A\n"),
         {}, {}, {}, {{"data/sub.txt", "[SET VARIABLE=\"x\" ENTITY=\"-5\"]\r\n差は\r\n{x}。A[ENDCALL]"}}},
        // Half-width katakana are shown, spread a cell each: said on their
        // own, once a script too.
        {"half-width katakana in story text", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]\r\nようこそ、\r\nｶﾞｯｺｳ!へ。[TP]\r\nﾏﾀ[END]",
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:3: 半角の「!」は文章に表示されません。表示される半角文字は数字だけなので、"
              u8"全角で書いてください（このスクリプトでは最初の一つだけを知らせます）。 ようこそ、 ｶﾞｯｺｳ!へ。\n"
              u8"quiltor: script warning at {GAME}/data/index.txt:3: 半角の「ｶ」は全角の字と同じ幅に一字ずつ並び、濁点と半濁点も"
              u8"一字を取ります（ｶﾞは「ｶ ﾞ」）。全角で書いてください（このスクリプトでは最初の一つだけを知らせます）。 ようこそ、 ｶﾞｯｺｳ!へ。\n")},
        // Said at the SELECT, not at the item that first lies past the window.
        {"choice items past the text window's last line",
         "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTTEXT LINE=\"2\"]問い[TL]\r\n[SELECT][WRITE BODY=\"一\" LABEL=\"end\"]\r\n"
         "[WRITE BODY=\"二\" LABEL=\"end\"][WRITE BODY=\"三\" LABEL=\"end\"][ENDSELECT][LABEL LABEL=\"end\"][END]",
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: 選択肢の2番目の項目から後は、テキストウィンドウの2行に"
              u8"収まらず、ウィンドウの外に描かれます。 [SELECT]\n"),
         {}, {}, {}, {}, {}, [](EngineRun& r) { r.Key(10, KeyCode::Down), r.Key(13, KeyCode::Enter); }},
        {"places by keyword and number", Lap("[PAINT NAME=\"p\" WIDTH=\"8\" HEIGHT=\"8\" X=\"LEFTSIDE\" Y=\"-3\"]"), ""},
        {"a known effect", Lap("[BACK COLOR=\"#000000\" EFFECT=\"BLIND_LEFT\"]"), ""},
        // Names with control bytes neither reset the terminal nor ring it.
        {"control bytes in a log line", "[BGM FILE=\"no\x1b" "c\a\rmusic.mid\"][END]",
         // A script error's line makes a line break one blank.
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:1: 音のファイル『{GAME}/no<ESC>c<BEL> music.mid』がありません。 "
              u8"[BGM FILE=\"no<ESC>c<BEL> music.mid\"]\n"),
         Utf8(u8"ファイルが無い {GAME}/no<ESC>c<BEL><CR>music.mid\n")},
        {"control bytes in an unknown tag", "[BAKC\x1b" "c\a FILE=\"bg.bmp\"][END]",
         "quiltor: unknown tag skipped at {GAME}/data/index.txt:1: [BAKC<ESC>c<BEL> FILE=\"bg.bmp\"]\n"},
        {"music over the synthesiser's bound", "[BGM FILE=\"big.mid\"][END]",
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:1: シンセサイザがMIDIファイルを読めない: {GAME}/big.mid は "
              u8"2097153 バイトあり、上限の 2097152 バイトを超えています。 [BGM FILE=\"big.mid\"]\n"),
         {}, {}, {}, {{"big.mid", std::string(2097153, 'M')}}},
        // MPEG-2 and 2.5 audio is not played, as the author is told.
        {"an MPEG-2 MP3 with an ID3v2 tag, named once in a loop", Lap("[SOUND FILE=\"{BASE}voice.mp3\"]"),
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:2: MP3ファイルを再生できません: {GAME}/data/voice.mp3 は "
              u8"MPEG-2 Layer III（22.05 kHz）です。再生できるのは MPEG-1 Layer III（32、44.1、48 kHz）です。 "
              u8"[SOUND FILE=\"{BASE}voice.mp3\"]\n"),
         {}, {}, {}, {{"data/voice.mp3", std::string("ID3\3\0\0\0\0\0\12", 10) + std::string(10, '\0') + testkit::SineFile(440, 300, true, 22050)}}},
        {"an MPEG-2.5 MP3 streamed", "[SYSTEM CONTROL=\"STREAM\" NAME=\"1\"][BGM FILE=\"{BASE}music.mp3\"][END]",
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:1: MP3ファイルを再生できません: {GAME}/data/music.mp3 は "
              u8"MPEG-2.5 Layer III（8 kHz）です。再生できるのは MPEG-1 Layer III（32、44.1、48 kHz）です。 "
              u8"[BGM FILE=\"{BASE}music.mp3\"]\n"),
         {}, {}, {}, {{"data/music.mp3", testkit::SineFile(440, 300, true, 8000)}}},
        // Files over their bound are refused by their size, not read: the
        // line names the file, its size and the bound.
        {"a JUMP to a script over the bound: its own line only", "[TITLE BODY=\"本文\"]\r\n[JUMP FILE=\"{BASE}huge.txt\" LABEL=\"a\"]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:2: スクリプトが大きすぎて開けません: {GAME}/data/huge.txt は "
              u8"3221225472 バイトあり、上限の 33554432 バイトを超えています。 [JUMP FILE=\"{BASE}huge.txt\" LABEL=\"a\"]\n"),
         {}, {}, {}, {}, {{"data/huge.txt", 3ull << 30}}},
        {"a game-folder script over the bound", "[END]",
         Utf8(u8"quiltor: script warning: スクリプトが大きすぎて開けません: {GAME}/system/GameFolder.qsd は 33554433 バイトあり、"
              u8"上限の 33554432 バイトを超えています。\n"),
         {}, {}, {}, {}, {{"system/GameFolder.qsd", (32ull << 20) + 1}}},
        {"a picture over the bound", "[BACK FILE=\"{BASE}huge.bmp\"]",
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:1: ファイルが大きすぎて読めません: {GAME}/data/huge.bmp は "
              u8"3221225472 バイトあり、上限の 134217728 バイトを超えています。 [BACK FILE=\"{BASE}huge.bmp\"]\n"
              u8"quiltor: script error at {GAME}/data/index.txt:1: 画像『{GAME}/data/huge.bmp』が読み込めません。 "
              u8"[BACK FILE=\"{BASE}huge.bmp\"]\n"),
         {}, {}, {}, {}, {{"data/huge.bmp", 3ull << 30}}},
        {"a sound read whole over the bound", "[SOUND FILE=\"{BASE}huge.mp3\"][END]",
         Utf8(u8"quiltor: script warning at {GAME}/data/index.txt:1: ファイルが大きすぎて読めません: {GAME}/data/huge.mp3 は "
              u8"3221225472 バイトあり、上限の 268435456 バイトを超えています。 [SOUND FILE=\"{BASE}huge.mp3\"]\n"),
         {}, {}, {}, {}, {{"data/huge.mp3", 3ull << 30}}},
        // Ways the story ends without END: each said once, with why and where.
        {"a JUMP to a script that is not there", "[TITLE BODY=\"本文\"]\r\n[JUMP FILE=\"nothere.txt\"]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:2: スクリプト『{GAME}/nothere.txt』が開けません。 "
              u8"[JUMP FILE=\"nothere.txt\"]\n")},
        // The label lies in the file meant: not sought, not said.
        {"a CALL of a script that is not there, a label sought in it: its own line only",
         "\r\n\r\n[CALL FILE=\"{BASE}nothere.txt\" LABEL=\"a\"]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:3: スクリプト『{GAME}/data/nothere.txt』が開けません。 "
              u8"[CALL FILE=\"{BASE}nothere.txt\" LABEL=\"a\"]\n")},
        {"a CALLed script that runs off its end", "[CALL FILE=\"{BASE}sub.txt\"][END]",
         Utf8(u8"quiltor: script error at {GAME}/data/sub.txt:2: CALLした先のスクリプトが、ENDCALLで戻る前に終わりました。\n"), {}, {}, {},
         {{"data/sub.txt", "[TITLE BODY=\"本文\"]\r\n[SET VARIABLE=\"a\" ENTITY=\"1\"]"}}},
        {"the start script's end without END", "[TITLE BODY=\"本文\"]\r\n\r\n本文",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:3: ENDタグの前にスクリプトが終わりました。\n")},
        {"the same with a break after its last line", "[TITLE BODY=\"本文\"]\r\n\r\n本文\r\n",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:3: ENDタグの前にスクリプトが終わりました。\n")},
        {"a CALLed script named from the game folder runs off its last line", "[CALL FILE=\"data/sub.txt\"][END]",
         Utf8(u8"quiltor: script error at {GAME}/data/sub.txt:2: CALLした先のスクリプトが、ENDCALLで戻る前に終わりました。\n"), {}, {}, {},
         {{"data/sub.txt", "[TITLE BODY=\"本文\"]\r\n[SET VARIABLE=\"a\" ENTITY=\"1\"]\r\n"}}},
        {"the same script's end reached by a JUMP", "[JUMP FILE=\"{BASE}sub.txt\"][END]",
         Utf8(u8"quiltor: script error at {GAME}/data/sub.txt:2: ENDタグの前にスクリプトが終わりました。\n"), {}, {}, {},
         {{"data/sub.txt", "[TITLE BODY=\"本文\"]\r\n[SET VARIABLE=\"a\" ENTITY=\"1\"]"}}},
        {"a JUMP to a missing label: its own line only", "[TITLE BODY=\"本文\"]\r\n[JUMP LABEL=\"nolabel\"]",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:2: ラベル『nolabel』が見つかりません。 [JUMP LABEL=\"nolabel\"]\n")},
        {"an unclosed tag: its own line only", "[TITLE BODY=\"本文\"]\r\n[SET VARIABLE=\"a\"",
         Utf8(u8"quiltor: script error at {GAME}/data/index.txt:2: タグが閉じていません。 [SET VARIABLE=\"a\"\n")},
    };
    kivotasuGameKit::ErrorLog.SetDevice(kivotasuGameKit::CSmartPtr<kivotasuGameKit::IErrorLog>(new CStderrLogDevice));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", c.script);
        if (!c.gameFolderScript.empty()) game.Put("system/GameFolder.qsd", c.gameFolderScript);
        for (const auto& [name, bytes] : c.files) game.Put(name, bytes);
        for (const auto& [name, size] : c.holes) {
            game.Put(name, "");
            std::filesystem::resize_file(game.Host(name), size);
        }
        const std::string folder = game.Host().string();
        EngineRun run;
        if (c.input) c.input(run);
        testing::internal::CaptureStderr();
        run.Run(600); // the loops of transitions take some hundred frames
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
        EXPECT_EQ(OwnLines(said), InGame(c.said, folder));
        EXPECT_EQ(said.find_first_of(std::string("\0\x01\x02\x03\x04\x05\x06\a\b\t\v\f\r\x0e\x0f\x10\x11\x12\x13\x14\x15"
                                                 "\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f\x7f", 32)),
                  std::string::npos)
            << "no control byte but the breaks";
        if (!c.logged.empty()) {
            EXPECT_NE(said.find(InGame(c.logged, folder)), std::string::npos) << said;
        }
        // The box names a file by its host path, as stderr does.
        const auto& boxes = run.Boxes().History();
        ASSERT_EQ(boxes.size(), c.boxed.size());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_NE(boxes[i].textSjis.find(InGame(c.boxed[i], folder)), std::string::npos) << boxes[i].textSjis;
        }
    }
    kivotasuGameKit::ErrorLog.SetDevice(
        kivotasuGameKit::CSmartPtr<kivotasuGameKit::IErrorLog>(new kivotasuGameKit::CNullErrorLogDevice));
}

// Started from a file manager the player has no terminal: the window says it
// too, once per script however often the story comes back to it.
TEST(ScriptStderr, AUtf8ScriptIsShownInABoxOncePerScript)
{
    GameFolder game;
    game.Put("data/index.txt", Utf8(u8"[WAIT TIME=\"50\"][JUMP FILE=\"{BASE}b.txt\"][END]本文です。"));
    game.Put("data/b.txt", Utf8(u8"[WAIT TIME=\"50\"][JUMP FILE=\"{BASE}index.txt\"][END]次の本文です。"));
    EngineRun run;
    testing::internal::CaptureStderr();
    run.Run(60);
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_GE(run.Tags(TagId::Jump).size(), 4u);
    const auto boxes = run.Boxes().History();
    ASSERT_EQ(boxes.size(), 2u);
    for (const auto& [box, script] : {std::pair{boxes[0], "index.txt"}, std::pair{boxes[1], "b.txt"}}) {
        const std::string shown = platform::Cp932ToUtf8(box.textSjis);
        EXPECT_TRUE(shown.starts_with(game.Host("data").string() + "/" + script + " is UTF-8")) << shown;
        // The line stderr says, without the program's name.
        EXPECT_NE(said.find("quiltor: " + shown + "\n"), std::string::npos) << said;
    }
}

} // namespace

TEST(ScriptStderr, AStoryEndingWithoutEndIsSaidOnceHoweverOftenItIsPlayedAgain)
{
    GameFolder game;
    game.Put("data/index.txt", "[TITLE BODY=\"本文\"]\r\n[SET VARIABLE=\"a\" ENTITY=\"1\"]");
    EngineRun run;
    // Back to the title from the end screen's menu, four times after the first end.
    for (std::uint32_t frame : {20u, 120u, 220u, 320u}) {
        run.Dialogs().PushCommand(MenuCommand::ReturnToTitle);
        run.RightClick(frame);
    }
    testing::internal::CaptureStderr();
    run.Run(420);
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_EQ(run.Tags(TagId::Set).size(), 5u) << "played through five times";
    EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
    const std::string line = Utf8(u8"quiltor: script error at ") + game.Host().string() +
                             Utf8(u8"/data/index.txt:2: ENDタグの前にスクリプトが終わりました。\n");
    const std::size_t first = said.find(line);
    ASSERT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(line, first + 1), std::string::npos) << said;
}

// A JUMP that failed ended only the story it was in: the next one, opened
// from the menu or begun again by a return to the title, is said when it
// runs out without END.
TEST(ScriptStderr, AStoryAfterAFailedJumpIsSaidWhenItRunsOut)
{
    // The story begun again is the one the author mended.
    for (const auto& [next, command] : {std::pair{"data/next.txt", MenuCommand::OpenScript},
                                        std::pair{"data/index.txt", MenuCommand::ReturnToTitle}}) {
        SCOPED_TRACE(next);
        GameFolder game;
        game.Put("data/index.txt", "[JUMP LABEL=\"nolabel\"]");
        EngineRun run;
        run.Dialogs().PushFile(game.Name("data\\next.txt"));
        run.At(20, [&, next](EngineRun&) { game.Put(next, "[TITLE BODY=\"本文\"]\r\n[SET VARIABLE=\"a\" ENTITY=\"1\"]"); });
        run.Command(20, command);
        testing::internal::CaptureStderr();
        run.Run(120);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(run.Tags(TagId::Set).size(), 1u) << "the next story ran";
        EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
        EXPECT_NE(said.find(game.Host(next).string() + Utf8(u8":2: ENDタグの前にスクリプトが終わりました。\n")), std::string::npos) << said;
    }
}
