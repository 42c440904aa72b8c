// Choices and buttons through the engine: SELECT items chosen by the mouse and
// the arrow keys, function and picture buttons, their errors and save lines.
#include <gtest/gtest.h>

#include "frame/file/FileWriter.h"
#include "platform/StderrLines.h"
#include "script/engine/KeyCodes.h"
#include "script/engine/MenuCommands.h"
#include "tests/draw/PictureFiles.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"
#include "tests/script/ScriptTestKit.h"

using testkit::EngineRun;

namespace {

// Two items on the text's first two lines: (32, 300) to (32 + 4 x 24, 330), and 30 lower.
const std::string Choice =
    "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTTEXT X=\"32\" Y=\"300\"]"
    "[SELECT][WRITE BODY=\"北へ行く\" LABEL=\"north\"][WRITE BODY=\"南へ行く\" LABEL=\"south\"][ENDSELECT]"
    "[LABEL LABEL=\"north\"][SET VARIABLE=\"way\" ENTITY=\"north\"][WAIT TIME=\"100000\"]"
    "[LABEL LABEL=\"south\"][SET VARIABLE=\"way\" ENTITY=\"south\"][WAIT TIME=\"100000\"]";
constexpr int FirstItemY = 310, SecondItemY = 340, ItemX = 60;

// The ENTITY of every SET that ran: the ways taken.
std::vector<std::string> Ways(const EngineRun& run)
{
    std::vector<std::string> ways;
    for (const auto* entry : run.Tags(TagId::Set)) ways.push_back(entry->record.GetValue(TagAttributeKey::Entity).GetStr());
    return ways;
}

// Pixels of the back plane of exactly that colour in the rectangle.
int Count(int left, int top, int right, int bottom, std::uint32_t colour)
{
    auto& surface = *CQuiltorEngine::GetInstance()->Shown().GetBackPlane().GetSurfaceInfo();
    int found = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            std::uint32_t pixel = 0;
            surface.GetPixel(x, y, &pixel);
            found += (pixel & 0xFFFFFF) == colour;
        }
    return found;
}

std::string SolidBmp(int width, int height, std::uint32_t colour)
{
    const picturekit::Bytes file = picturekit::MakeBmp(picturekit::Bmp24(width, height, [colour](int, int) { return colour; }));
    return std::string(file.begin(), file.end());
}

} // namespace

TEST(Choice, ClickAndKeysChooseTheirItem)
{
    using namespace KeyCode;
    struct Case {
        const char* what;
        std::function<void(EngineRun&)> input;
        const char* way;
    };
    const Case cases[] = {
        {"click on the first", [](EngineRun& r) { r.Click(5, ItemX, FirstItemY); }, "north"},
        {"click on the second", [](EngineRun& r) { r.Click(5, ItemX, SecondItemY); }, "south"},
        {"a tap: press and release in one frame", [](EngineRun& r) { r.Click(5, ItemX, SecondItemY, 0); }, "south"},
        {"down from no focus is the first", [](EngineRun& r) { r.Key(5, Down), r.Key(8, Enter); }, "north"},
        {"down twice", [](EngineRun& r) { r.Key(5, Down), r.Key(8, Down), r.Key(11, Enter); }, "south"},
        {"down held moves once", [](EngineRun& r) { r.Key(5, Down, 20), r.Key(30, Enter); }, "north"},
        {"down past the last wraps", [](EngineRun& r) { r.Key(5, Down), r.Key(8, Down), r.Key(11, Down), r.Key(14, Enter); }, "north"},
        {"up from the first wraps", [](EngineRun& r) { r.Key(5, Down), r.Key(8, Up), r.Key(11, Enter); }, "south"},
        {"right is the last, left the first", [](EngineRun& r) { r.Key(5, Right), r.Key(8, Left), r.Key(11, PadEnter); }, "north"},
        {"Alt+Enter on the focused item only switches the screen mode",
         [](EngineRun& r) { r.Key(5, Down), r.Key(8, LeftAlt, 4), r.Key(9, Enter), r.Key(15, Down), r.Key(18, Enter); },
         "south"},
        {"a key pressed and released between two reads", [](EngineRun& r) { r.Key(5, Right, 0), r.Key(8, Enter, 0); }, "south"},
        {"the keys move the cursor, a tap there chooses", [](EngineRun& r) { r.Key(5, Right), r.At(8, [](EngineRun& run) {
             const platform::Point at = platform::Windows().GetCursorPos(run.Window());
             run.Windows().Feed(run.Window(), platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::MakePointParam(at.x, at.y));
             run.Windows().Feed(run.Window(), platform::WM_LBUTTONUP, 0, platform::MakePointParam(at.x, at.y));
         }); }, "south"},
        // The settings opened from the menu: Right pressed in it, Return
        // closing it and still held; then the keys are the choice's again.
        {"keys pressed in a dialog stay there", [](EngineRun& r) {
             r.Dialogs().PushCommand(MenuCommand::Settings);
             r.Dialogs().PushAnswer({1, {}, [&r] {
                 r.Keyboard().Hold(Right), r.Keyboard().Release(Right), r.Keyboard().Hold(Enter);
             }});
             r.RightClick(5), r.At(12, [](EngineRun& run) { run.Keyboard().Release(Enter); });
             r.Key(15, Down), r.Key(18, Enter);
         }, "north"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", Choice);
        EngineRun run;
        c.input(run);
        run.Run(60);
        EXPECT_EQ(Ways(run), std::vector<std::string>{c.way});
        for (const auto& error : run.errors) ADD_FAILURE() << error;
    }
}

TEST(Choice, NothingIsChosenBesideTheItemsOrByPressingOnOneAndReleasingOnAnother)
{
    GameFolder game;
    game.Put("data/index.txt", Choice);
    EngineRun run;
    run.Click(5, 400, 100);
    run.Key(10, KeyCode::Enter);
    // Down on the first, up on the second.
    run.MoveCursor(15, ItemX, FirstItemY);
    run.At(15, [](EngineRun& r) { r.Windows().Feed(r.Window(), platform::WM_LBUTTONDOWN, platform::MK_LBUTTON); });
    run.MoveCursor(17, ItemX, SecondItemY);
    run.At(18, [](EngineRun& r) { r.Windows().Feed(r.Window(), platform::WM_LBUTTONUP); });
    run.Run(40);
    EXPECT_TRUE(Ways(run).empty());
    EXPECT_EQ(run.frames.back().state, EngineState::ChoiceWait);
}

// Also on the clean page a choice starts on under a LOCK, where the page
// before (white text on the same lines) has not left the window yet.
TEST(Choice, TheFocusedItemIsWhiteAndTheOthersGrey)
{
    const std::size_t select = Choice.find("[SELECT]");
    const struct {
        const char* what;
        std::string script;
        std::uint32_t from; // the frame the choice waits by
    } cases[] = {
        {"a choice", Choice, 0},
        {"a choice under a LOCK after a page",
         Choice.substr(0, select) + "前の頁の文章です。[P][LOCK][BACK COLOR=\"#FF0000\"]" + Choice.substr(select), 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", c.script);
        EngineRun run;
        if (c.from != 0) run.Click(3);
        run.Key(c.from + 5, KeyCode::Down);
        run.Key(c.from + 8, KeyCode::Down);
        int firstWhite = -1, firstGrey = -1, secondWhite = -1, secondGrey = -1, beyond = -1;
        run.At(c.from + 12, [&](EngineRun&) {
            firstWhite = Count(32, 300, 128, 330, 0xFFFFFF), firstGrey = Count(32, 300, 128, 330, 0x808080);
            secondWhite = Count(32, 330, 128, 360, 0xFFFFFF), secondGrey = Count(32, 330, 128, 360, 0x808080);
            beyond = Count(128, 300, 320, 360, 0xFFFFFF);
        });
        run.Run(c.from + 14);
        EXPECT_EQ(beyond, 0) << "text beside the items";
        EXPECT_EQ(firstWhite, 0);
        EXPECT_GT(firstGrey, 50);
        EXPECT_GT(secondWhite, 50);
        EXPECT_EQ(secondGrey, 0);
        // The keys put the mouse on the focused item's lower left.
        const platform::Point at = platform::Windows().GetCursorPos(run.Window());
        EXPECT_EQ(at.x, 32);
        EXPECT_EQ(at.y, 359);
        EXPECT_EQ(run.frames.back().state, EngineState::ChoiceWait);
    }
}

// The buttons of a choice stand on the shown screen alone: they leave it with
// the choice, also where no text is shown a character at a time to bring the
// whole screen back.
TEST(Choice, PictureButtonsLeaveTheScreenWithTheChoice)
{
    const std::pair<const char*, const char*> modes[] = {
        {"normal", "[SYSTEM CONTROL=\"TEXT\" TIME=\"20\"]"},
        {"custom skip: text without waits, reading on by itself",
         "[SYSTEM CONTROL=\"SKIPTEXT\" NAME=\"1\"][SYSTEM CONTROL=\"SKIPINPUT\" NAME=\"2\"][SYSTEM CONTROL=\"SKIPPATTERN\" NAME=\"4\"]"},
    };
    for (const auto& [what, options] : modes) {
        SCOPED_TRACE(what);
        GameFolder game;
        game.Put("data/sun.bmp", SolidBmp(40, 30, 0xFFC020));
        game.Put("data/moon.bmp", SolidBmp(40, 30, 0x2040A0));
        game.Put("system/option.qsd", options);
        game.Put("data/index.txt",
                 "[DEFAULTTEXT X=\"32\" Y=\"300\" LINE=\"5\"][SELECT][BEGINBUTTON X=\"100\" Y=\"80\" WIDTH=\"40\" HEIGHT=\"30\" LABEL=\"day\"][BUTTON NAME=\"OFF\"]"
                 "[PAINT FILE=\"data/sun.bmp\"][ENDBUTTON][BEGINBUTTON X=\"300\" Y=\"80\" WIDTH=\"40\" HEIGHT=\"30\" LABEL=\"day\"]"
                 "[BUTTON NAME=\"OFF\"][PAINT FILE=\"data/moon.bmp\"][ENDBUTTON][ENDSELECT]"
                 "[LABEL LABEL=\"day\"]お昼を選びました。[P]次のページです。[P]");
        EngineRun run;
        run.Click(10, 120, 95);
        int shown = 0, sun = -1, moon = -1;
        run.At(8, [&](EngineRun&) { shown = Count(100, 80, 140, 110, 0xFFC020); });
        run.At(30, [&](EngineRun&) { sun = Count(100, 80, 140, 110, 0xFFC020), moon = Count(300, 80, 340, 110, 0x2040A0); });
        run.Run(31);
        EXPECT_TRUE(run.errors.empty());
        EXPECT_EQ(run.frames.back().state, EngineState::ClickWait);
        EXPECT_EQ(shown, 40 * 30);
        EXPECT_EQ(sun, 0);
        EXPECT_EQ(moon, 0);
    }
}

TEST(Choice, ScriptErrorsOfChoicesAndButtons)
{
    const std::pair<const char*, const char*> cases[] = {
        {"[SELECT][SELECT]", "SELECTがネストしています。"},
        {"[ENDSELECT]", "対応するSELECTのないENDSELECTが現れました。"},
        {"[SELECT][ENDSELECT]", "選択すべき項目がひとつもありません。"},
        {"[ENDBUTTON]", "BEGINBUTTONがないのにENDBUTTONがきました。"},
        {"[BEGINBUTTON X=\"0\"]", "機能ボタンは名前を省略できません。"},
        {"[BEGINBUTTON NAME=\"b\"][BUTTON NAME=\"DOWN\"]",
         "ボタンの種類が正しく指定されていません。OFF,ON,PUSHのいずれかを指定して下さい。"},
    };
    for (const auto& [script, message] : cases) {
        SCOPED_TRACE(script);
        GameFolder game;
        game.Put("data/index.txt", std::string(script) + "[WAIT TIME=\"100000\"]");
        EngineRun run;
        run.Run(10);
        // The end screen that follows reports its own missing picture folder.
        ASSERT_FALSE(run.errors.empty());
        EXPECT_EQ(run.errors.front(), kivotasuGameKit::CTextString(message).GetStr());
    }
}

TEST(Choice, NestedLocksNeedAsManyUnlocks)
{
    GameFolder game;
    game.Put("data/index.txt", "[LOCK][LOCK][UNLOCK EFFECT=\"NONE\"][UNLOCK EFFECT=\"NONE\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(10);
    const auto unlocks = run.Tags(TagId::Unlock);
    ASSERT_EQ(unlocks.size(), 2u);
    EXPECT_EQ(unlocks[0]->after, EngineState::RunTags); // still locked
    EXPECT_EQ(unlocks[1]->after, EngineState::Transition);
}

// A button's rectangle from its BEGINBUTTON: an absent HEIGHT takes the width,
// and an edge past the int range stops at its end.
TEST(Choice, ButtonRectanglesFromBeginButton)
{
    const struct {
        const char* attributes;
        kivotasuGameKit::RECT rect;
    } cases[] = {
        {"X=\"10\" Y=\"20\" WIDTH=\"30\" HEIGHT=\"5\"", {10, 20, 40, 25}},
        {"X=\"10\" Y=\"20\" WIDTH=\"30\"", {10, 20, 40, 50}},
        {"X=\"10\" Y=\"2147483600\" WIDTH=\"100\"", {10, 2147483600, 110, 2147483647}},
        {"X=\"10\" Y=\"20\" HEIGHT=\"7\"", {10, 20, 10, 27}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        GameFolder game;
        game.Put("data/index.txt", "[BEGINBUTTON NAME=\"b\" " + std::string(c.attributes) + "][ENDBUTTON][WAIT TIME=\"100000\"]");
        EngineRun run;
        kivotasuGameKit::RECT rect{};
        run.At(3, [&](EngineRun&) {
            const auto& elements = CQuiltorEngine::GetInstance()->GetButtons().GetElements();
            if (!elements.empty()) rect = static_cast<const TAG::CButtonElement&>(*elements.front()).GetRect();
        });
        run.Run(4);
        EXPECT_EQ((std::array{rect.left, rect.top, rect.right, rect.bottom}),
                  (std::array{c.rect.left, c.rect.top, c.rect.right, c.rect.bottom}));
        EXPECT_TRUE(run.errors.empty());
    }
}

// An item's button is as wide as the cells its text shows: a digit takes a
// whole one, other single bytes none.
TEST(Choice, ItemButtonsTakeTheCellsTheirTextShows)
{
    GameFolder game;
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTTEXT X=\"32\" Y=\"300\"]"
                               "[SELECT][WRITE BODY=\"北へ1\" LABEL=\"a\"][WRITE BODY=\"南x12\" LABEL=\"a\"][ENDSELECT]"
                               "[LABEL LABEL=\"a\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    std::vector<int> widths;
    run.At(3, [&](EngineRun&) {
        for (const auto& element : CQuiltorEngine::GetInstance()->GetButtons().GetElements()) {
            const auto& rect = static_cast<const TAG::CButtonElement&>(*element).GetRect();
            widths.push_back(rect.right - rect.left);
        }
    });
    run.Run(4);
    EXPECT_EQ(widths, (std::vector<int>{3 * 24, 3 * 24}));
    EXPECT_TRUE(run.errors.empty());
}

// A bar of two function buttons in the text window: a jump and "_GAME_END".
const std::string Bar =
    "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTWINDOW CONTROL=\"TRH\"][WINDOW NAME=\"w\"]"
    "[FADEWINDOW NAME=\"w\" X=\"0\" Y=\"280\" WIDTH=\"640\" HEIGHT=\"200\"][DEFAULTTEXT X=\"32\" Y=\"300\"]"
    "[BEGINBUTTON NAME=\"go\" X=\"500\" Y=\"440\" WIDTH=\"40\" HEIGHT=\"20\" LABEL=\"there\"]"
    "[BUTTON NAME=\"OFF\"][PAINT FILE=\"data/off.bmp\"][BUTTON NAME=\"ON\"][PAINT FILE=\"data/on.bmp\"][ENDBUTTON]"
    "[BEGINBUTTON NAME=\"end\" X=\"560\" Y=\"440\" WIDTH=\"40\" HEIGHT=\"20\" LABEL=\"_GAME_END\"]"
    "[BUTTON NAME=\"OFF\"][PAINT FILE=\"data/off.bmp\"][ENDBUTTON]"
    "はじめ[P]"
    "[LABEL LABEL=\"there\"][SET VARIABLE=\"way\" ENTITY=\"there\"]つぎ[P]";

TEST(Choice, FunctionButtonsInTheClickWait)
{
    GameFolder game;
    game.Put("data/off.bmp", SolidBmp(40, 20, 0x0000FF));
    game.Put("data/on.bmp", SolidBmp(40, 20, 0xFF0000));
    game.Put("data/index.txt", Bar);
    {
        // The jump button: blue while off, red under the mouse; its click
        // jumps to its label, where the next page waits.
        EngineRun run;
        int offBlue = 0, onRed = 0;
        run.At(4, [&](EngineRun&) { offBlue = Count(500, 440, 540, 460, 0x0000FF); });
        run.MoveCursor(5, 510, 450);
        run.At(8, [&](EngineRun&) { onRed = Count(500, 440, 540, 460, 0xFF0000); });
        run.Click(10, 510, 450);
        run.Run(30);
        EXPECT_EQ(offBlue, 40 * 20);
        EXPECT_EQ(onRed, 40 * 20);
        EXPECT_EQ(Ways(run), std::vector<std::string>{"there"});
        EXPECT_EQ(run.frames.back().state, EngineState::ClickWait);
        EXPECT_TRUE(run.errors.empty());
    }
    {
        // "_GAME_END" closes the player.
        EngineRun run;
        run.Click(5, 570, 450);
        run.Run(1000);
        EXPECT_LT(run.frames.size(), 20u);
        EXPECT_TRUE(Ways(run).empty());
    }
}

// A choice acts on a jump, closing, the back-log and hiding the windows only.
// A quick save or load there, as a "continue" item or a bar's button, is
// chosen to no effect: the choice stays open, nothing is written or loaded,
// and stderr says so at the item and at the click.
TEST(Choice, QuickSaveAndLoadInAChoiceAreSaidAndDoNothing)
{
    const std::string head = "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTTEXT X=\"32\" Y=\"300\"]"
                             "[BEGINBUTTON NAME=\"qs\" X=\"500\" Y=\"440\" WIDTH=\"40\" HEIGHT=\"20\" LABEL=\"_QUICKSAVE\"][ENDBUTTON]"
                             "[SELECT]\r\n[WRITE BODY=\"北へ行く\" LABEL=\"north\"]";
    const std::string tail = "\r\n[ENDSELECT][LABEL LABEL=\"north\"][SET VARIABLE=\"way\" ENTITY=\"north\"][WAIT TIME=\"100000\"]";
    const std::string at = "quiltor: script warning at {GAME}/data/index.txt:";
    const std::string idle = Utf8(u8"は選択肢の中では働かないので、選んでも何もせず、選択肢は開いたままです。 ");
    struct Case {
        const char* what;
        std::string items; // on line 2, after the first
        int x, y;          // clicked
        std::string said;  // UTF-8
    };
    const Case cases[] = {
        {"a \"continue\" item", "[WRITE BODY=\"続きから\" LABEL=\"_QUICKLOAD\"]", ItemX, SecondItemY,
         at + Utf8(u8"2: LABEL『_QUICKLOAD』") + idle + Utf8(u8"[WRITE BODY=\"続きから\" LABEL=\"_QUICKLOAD\"]\n") + at +
             Utf8(u8"3: 選択肢が開いている間は、クイックロードしません。 [ENDSELECT]\n")},
        {"a picture button of the choice",
         "[BEGINBUTTON X=\"32\" Y=\"400\" WIDTH=\"40\" HEIGHT=\"20\" LABEL=\"_QUICKSAVE\"][ENDBUTTON]", 40, 410,
         at + Utf8(u8"2: LABEL『_QUICKSAVE』") + idle +
             "[BEGINBUTTON X=\"32\" Y=\"400\" WIDTH=\"40\" HEIGHT=\"20\" LABEL=\"_QUICKSAVE\"]\n" + at +
             Utf8(u8"3: 選択肢が開いている間は、クイックセーブしません。 [ENDSELECT]\n")},
        {"the bar's quick-save button", "", 510, 450, at + Utf8(u8"3: 選択肢が開いている間は、クイックセーブしません。 [ENDSELECT]\n")},
        {"an item that opens the back-log, which a choice does", "[WRITE BODY=\"履歴\" LABEL=\"_LOG_BACK\"]", 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", head + c.items + tail);
        game.Put("Save/index.q", "[JUMP LABEL=\"north\"]");
        EngineRun run;
        if (c.x != 0) run.Click(5, c.x, c.y);
        testing::internal::CaptureStderr();
        run.Run(30);
        // Out of the fold: a notice said each frame would show as repeated.
        platform::Stderr().Flush();
        const std::string said = testing::internal::GetCapturedStderr();
        std::string own;
        for (std::size_t start = 0, end; (end = said.find('\n', start)) != std::string::npos; start = end + 1) {
            if (said.compare(start, 9, "quiltor: ") == 0) own += said.substr(start, end + 1 - start);
        }
        std::string expected = c.said;
        for (std::size_t found; (found = expected.find("{GAME}")) != std::string::npos;) expected.replace(found, 6, game.Host().string());
        EXPECT_EQ(own, expected);
        EXPECT_EQ(run.frames.back().state, EngineState::ChoiceWait);
        EXPECT_TRUE(Ways(run).empty()) << "nothing loaded";
        EXPECT_EQ(game.Read("Save/index.q"), "[JUMP LABEL=\"north\"]") << "nothing saved";
        EXPECT_TRUE(run.errors.empty());
    }
}

TEST(Choice, SavesWriteFunctionButtonsOnly)
{
    GameFolder game;
    game.Put("data/off.bmp", SolidBmp(40, 20, 0x0000FF));
    game.Put("data/on.bmp", SolidBmp(40, 20, 0xFF0000));
    game.Put("data/index.txt", Bar.substr(0, Bar.find("はじめ")) +
                                   "[SELECT][WRITE BODY=\"北へ行く\" LABEL=\"north\"][ENDSELECT]");
    EngineRun run;
    run.At(5, [&](EngineRun&) {
        kivotasuGameKit::CTextFileWriter writer(game.Internal("buttons.txt"));
        CQuiltorEngine::GetInstance()->GetButtons().WriteAll(writer);
    });
    run.Run(6);
    EXPECT_EQ(game.Read("buttons.txt"),
              "\n[DEFAULTBUTTON EFFECT=\"BLEND\"]\n"
              "[BEGINBUTTON NAME=\"go\" X=\"500\" Y=\"440\" WIDTH=\"40\" HEIGHT=\"20\" FILE=\"\" LABEL=\"there\"]\n"
              "[BUTTON NAME=\"OFF\"]\n\t[PAINT WIDTH=\"40\" HEIGHT=\"20\" NAME=\"OFF\" FILE=\"data/off.bmp\" ERASE=\"NONE\"]\n"
              "[BUTTON NAME=\"ON\"]\n\t[PAINT WIDTH=\"40\" HEIGHT=\"20\" NAME=\"ON\" FILE=\"data/on.bmp\" ERASE=\"NONE\"]\n"
              "[ENDBUTTON]\n"
              "[BEGINBUTTON NAME=\"end\" X=\"560\" Y=\"440\" WIDTH=\"40\" HEIGHT=\"20\" FILE=\"\" LABEL=\"_GAME_END\"]\n"
              "[BUTTON NAME=\"OFF\"]\n\t[PAINT WIDTH=\"40\" HEIGHT=\"20\" NAME=\"OFF\" FILE=\"data/off.bmp\" ERASE=\"NONE\"]\n"
              "[ENDBUTTON]\n");
}

TEST(Choice, EveryLabelKeywordNamesItsCode)
{
    const char* keywords[] = {"_NULL", "_DECIDE", "_DECIDE_AUTO", "_GAME_END", "_LOG_HEAD", "_LOG_TAIL", "_LOG_BACK",
                              "_LOG_BACK_ZERO", "_LOG_FORWARD", "_LOG_FORWARD_ZERO", "_QUICKSAVE", "_QUICKLOAD",
                              "_SKIP_FAST", "_SELECT", "_WINDOW_HIDE"};
    for (std::int32_t code = 0; code < 15; ++code) EXPECT_EQ(TAG::ButtonCode(keywords[code]), code) << keywords[code];
    for (const char* other : {"start", "_quicksave", "_QUICKSAVE ", ""}) EXPECT_EQ(TAG::ButtonCode(other), TAG::JumpCode) << other;
}
