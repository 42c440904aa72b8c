// When a script is called UTF-8, and the command that converts it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "platform/HostPath.h"
#include "platform/MessageBox.h"
#include "platform/StderrLines.h"
#include "platform/TextCodec.h"
#include "script/lang/Utf8Script.h"
#include "tests/kit/TempFolder.h"
#include "tests/kit/WallSeconds.h"

namespace {

// Literals are Shift-JIS; this is the same text as an editor saving UTF-8 writes it.
std::string InUtf8(const std::string& sjis) { return platform::Cp932ToUtf8(sjis); }

TEST(Utf8Script, CalledUtf8OnlyOnJapaneseTextThatIsNoGoodShiftJis)
{
    struct Case {
        const char* what;
        std::string text;
        bool said;
    };
    const std::string line = InUtf8("本文です。");
    const Case cases[] = {
        {"Shift-JIS prose", "今日はいい天気ですね。[P]", false},
        {"an overlong form in Shift-JIS", "烙。", false},
        {"the same in brackets", "「烙。」", false},
        {"half-width katakana that are the bytes of a degree sign", "ﾂｰ", false},
        {"a half-width katakana line of Latin-looking pairs", "ﾘｰﾕｼﾓｷ", false},
        {"two characters, valid UTF-8 by chance", "譴ダ", false},
        {"three characters likewise", "ﾉるけ", false},
        {"a sentence of such pairs, kanji only in UTF-8", "譴ダ鮨叩謫…", false},
        {"two characters with a mark", "窶、", false},
        {"valid UTF-8 with a kana in it, but more kana as Shift-JIS", "髴ぶゅそ", false},
        {"plain ASCII", "[BACK FILE=\"bg.bmp\"]Hello.[P]", false},
        {"one kanji is too little", InUtf8("私"), false},
        {"kanji apart, each between ASCII", InUtf8("[SET VARIABLE=\"私\" ENTITY=\"僕\"]"), false},
        {"a Shift-JIS name read as two kanji Shift-JIS lacks", "[SET VARIABLE=\"邱榊侶\" ENTITY=\"3\"]", false},
        {"a Shift-JIS name read as two kanji, one Shift-JIS lacks", "[SET VARIABLE=\"魎る恣\" ENTITY=\"3\"]", false},
        {"a surrogate spoils the UTF-8", "\xED\xA0\x80" + line, false},
        {"an overlong slash spoils it", line + "\xE0\x80\xAF", false},
        {"beyond the last code point", line + "\xF4\x90\x80\x80", false},
        {"a cut character at the end", line + "\xE3\x81", false},
        {"a one-line UTF-8 script", InUtf8("[END]本文です。"), true},
        {"a greeting and a wait", InUtf8("こんにちは。[P]"), true},
        {"two kana", InUtf8("はい"), true},
        {"valid Shift-JIS too, of rare kanji and half-width katakana", InUtf8("日本は"), true},
        {"a speaker's name", InUtf8("名前：テスト"), true},
        {"a line under a tag", InUtf8("[BACK FILE=\"bg.bmp\"]今日は晴れ。"), true},
        {"behind a byte-order mark", "\xEF\xBB\xBF" + InUtf8("はい。"), true},
        {"two kanji side by side", InUtf8("漢字"), true},
        {"two kanji that read as Shift-JIS with a kana", InUtf8("時間"), true},
        {"a globals entry named in kanji", InUtf8("[SET VARIABLE=\"起動回数\" ENTITY=\"3\"]\n"), true},
        {"sixteen kanji runs, only the last with a Shift-JIS form", // fifteen of 丂丂, which Shift-JIS lacks
         [] { std::string runs; for (int i = 0; i < 15; ++i) runs += "\xE4\xB8\x82\xE4\xB8\x82 "; return runs + InUtf8("漢字"); }(), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsJapaneseUtf8(c.text), c.said) << c.what;
    }
}

char Pick(std::mt19937& random, unsigned low, unsigned high)
{
    return static_cast<char>(std::uniform_int_distribution<unsigned>(low, high)(random));
}

// 0x40 to 0xFC without 0x7F.
char Trail(std::mt19937& random)
{
    const char c = Pick(random, 0x40, 0xFB);
    return static_cast<unsigned char>(c) >= 0x7F ? static_cast<char>(c + 1) : c;
}

// Rows 0x89 to 0x97 hold a kanji at every trail.
std::string CommonKanji(std::mt19937& random) { return {Pick(random, 0x89, 0x97), Trail(random)}; }

// Random Shift-JIS text as a game's is drawn: mostly kana and common kanji,
// marks, now and then rare kanji, half-width katakana and ASCII. kana counts
// the kana drawn.
std::string ShiftJisText(std::mt19937& random, int count, int& kana)
{
    static const std::string marks[] = {"、", "。", "「", "」", "（", "）", "！", "？", "・", "ー", "…", "　"};
    std::string text;
    kana = 0;
    for (int i = 0; i < count; ++i) {
        const int kind = std::uniform_int_distribution<int>(0, 99)(random);
        if (kind < 40) text += {'\x82', Pick(random, 0x9F, 0xF1)}, ++kana;
        else if (kind < 55) text += {'\x83', Pick(random, 0x40, 0x7E)}, ++kana;
        else if (kind < 65) text += marks[static_cast<unsigned char>(Pick(random, 0, std::size(marks) - 1))];
        else if (kind < 85) text += CommonKanji(random);
        else if (kind < 90) text += {Pick(random, 0xE0, 0xE9), Trail(random)};
        else if (kind < 95) text += Pick(random, 0xA1, 0xDF);
        else text += Pick(random, 0x20, 0x7E);
    }
    return text;
}

// A variable named in common kanji, as a globals file holds it.
std::string KanjiEntry(std::mt19937& random, int count)
{
    std::string name;
    for (int i = 0; i < count; ++i) name += CommonKanji(random);
    return "[SET VARIABLE=\"" + name + "\" ENTITY=\"3\"]\n";
}

TEST(Utf8Script, GeneratedShiftJisIsNeverCalledUtf8AndItsUtf8FormIs)
{
    constexpr int EnoughKana = 2;
    for (int count = 1; count <= 12; ++count) {
        for (unsigned seed = 0; seed < 3000; ++seed) {
            std::mt19937 random(seed * 100 + count);
            int kana = 0;
            const std::string sjis = ShiftJisText(random, count, kana);
            ASSERT_FALSE(IsJapaneseUtf8(sjis)) << "seed " << seed << ": " << InUtf8(sjis);
            if (kana >= EnoughKana) {
                ASSERT_TRUE(IsJapaneseUtf8(InUtf8(sjis))) << "seed " << seed << ": " << InUtf8(sjis);
            }
            if (count >= 2 && count <= 6) {
                const std::string entry = InUtf8(KanjiEntry(random, count));
                ASSERT_TRUE(IsJapaneseUtf8(entry)) << "seed " << seed << ": " << entry;
            }
        }
    }
}

// Chinese text, or noise, is runs of kanji Shift-JIS lacks: after a few of
// them the rest go unconverted, so a large one costs a walk, as Japanese text
// of its size does, not a conversion a run (which took seconds).
TEST(Utf8Script, KanjiRunsWithoutAShiftJisFormAreNotAllConverted)
{
    const auto repeated = [](const std::string& run) {
        std::string text;
        while (text.size() < (std::size_t{32} << 20)) text += run;
        return text;
    };
    const std::string chinese = repeated("\xE4\xB8\x82\xE4\xB8\x82 "), japanese = repeated("\xE6\xBC\xA2\xE5\xAD\x97 ");
    bool taken = true;
    const double walk = testkit::ThreadSeconds([&] { EXPECT_TRUE(IsJapaneseUtf8(japanese)); });
    const double seconds = testkit::ThreadSeconds([&] { taken = IsJapaneseUtf8(chinese); }, 1);
    EXPECT_FALSE(taken);
    EXPECT_TRUE(testkit::CostsAtMost(4, seconds, walk));
}

// The command as a reader types it from stderr or from the box, run on a
// real file. A game folder's host path is kept as bytes, whatever they are.
TEST(Utf8Script, TheCommandConvertsTheScriptWhateverItsName)
{
    auto owned = std::make_unique<platform::HeadlessMessageBoxes>();
    platform::HeadlessMessageBoxes& boxes = *owned;
    platform::InstallMessageBoxes(std::move(owned));
    struct Case {
        const char* what;
        std::string folder; // the game folder inside the temporary one, empty for none
        std::string name;   // a host name inside the game folder
        bool byteOrderMark;
        std::string quoted; // the script's path in the command, {} for the temporary folder
    };
    const Case cases[] = {
        {"a quote", "", "it's.txt", false, "'{}/it'\\''s.txt'"},
        {"a blank", "", "two words.txt", false, "'{}/two words.txt'"},
        {"a byte-order mark", "", "bom.txt", true, "'{}/bom.txt'"},
        {"control bytes", "", "a\x1B]0;title\x07\x1B[2Jb's\n.txt", false, "$'{}/a\\x1B]0;title\\x07\\x1B[2Jb\\'s\\x0A.txt'"},
        {"control bytes and a byte-order mark", "", "t\x08\r.txt", true, "$'{}/t\\x08\\x0D.txt'"},
        {"a backslash beside a control byte", "my\\nest\x01", "index.txt", false, "$'{}/my\\\\nest\\x01/index.txt'"},
        {"a C1 control in UTF-8", "g\xC2\x9B" "2J", "index.txt", false, "$'{}/g\\xC2\\x9B2J/index.txt'"},
        {"bytes of no UTF-8 character", "g\x9B\xFF\xE3\x81", "index.txt", false, "$'{}/g\\x9B\\xFF\\xE3\\x81/index.txt'"},
        {"a Japanese folder", InUtf8("ゲーム"), "index.txt", false, "'{}/" + InUtf8("ゲーム") + "/index.txt'"},
        // A box shows "é" as "?" and "¥" as a backslash.
        {"characters without a Shift-JIS form", "Jos\xC3\xA9\xC2\xA5", "index.txt", false, "$'{}/Jos\\xC3\\xA9\\xC2\\xA5/index.txt'"},
        {"a kana whose last byte is 0x9B, raw beside a bell", "\xE3\x81\x9B\x07", "index.txt", false, "$'{}/\xE3\x81\x9B\\x07/index.txt'"},
    };
    const std::string body = InUtf8("[END]本文です。");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string relative = c.folder.empty() ? c.name : c.folder + "/" + c.name;
        const std::string text = (c.byteOrderMark ? "\xEF\xBB\xBF" : "") + body;
        folder.Put(relative, text);
        // Inside a game folder the script is named on its drive, as the player names it.
        platform::MapGameDrive(c.folder.empty() ? "" : folder.Host(c.folder).string());
        const std::string internal = c.folder.empty() ? folder.Internal(c.name) : "G:\\" + c.name;
        const std::string notice = Utf8ScriptNotice(internal, text);
        ShowUtf8Script(internal, text);
        platform::MapGameDrive("");
        EXPECT_EQ(platform::NamedControls(notice), notice) << "stderr shows it as it is";

        std::string quoted = c.quoted;
        quoted.replace(quoted.find("{}"), 2, folder.Host().string());
        const std::string source = c.byteOrderMark ? "tail -c +4 " + quoted + " | iconv -f UTF-8 -t CP932"
                                                   : "iconv -f UTF-8 -t CP932 " + quoted;
        const std::string converted = quoted.substr(0, quoted.size() - 1) + ".sjis'";
        const std::string command = source + " > " + converted + " && mv " + converted + " " + quoted;
        const std::string lead = "; convert it with: ";
        const std::string pasted = notice.substr(notice.find(lead) + lead.size());
        EXPECT_EQ(pasted, command);
        const std::string boxed = platform::Cp932ToUtf8(boxes.History().back().textSjis);
        EXPECT_EQ(boxed.substr(boxed.find(lead) + lead.size()), command);

        folder.Put("paste.sh", pasted + "\n");
        EXPECT_EQ(std::system(("bash " + folder.Host("paste.sh").string() + " 2>/dev/null").c_str()), 0);
        EXPECT_EQ(folder.Get(relative), "[END]本文です。");
        EXPECT_FALSE(folder.Has(relative + ".sjis"));
    }
}

} // namespace
