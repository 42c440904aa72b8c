// Story text through the running engine: timed display, the message window's
// frames and name, the back-log view, and layout errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include <fstream>

#include "platform/HostPath.h"
#include "platform/TextCodec.h"
#include "script/engine/KeyCodes.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

namespace {

std::uint32_t Count(const std::vector<std::uint32_t>& frames, std::uint32_t from, std::uint32_t to)
{
    return std::uint32_t(std::count_if(frames.begin(), frames.end(), [&](std::uint32_t f) { return f >= from && f <= to; }));
}

// A 640 x 480 24-bit BMP of a colour gradient, so darkening shows.
std::string GradientBmp()
{
    const int width = 640, height = 480, row = width * 3, size = 54 + row * height;
    std::string file(std::size_t(size), '\0');
    auto put = [&](int at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file[std::size_t(at + i)] = char((value >> (8 * i)) & 0xFF);
    };
    file[0] = 'B', file[1] = 'M';
    put(2, std::uint32_t(size), 4), put(10, 54, 4), put(14, 40, 4), put(18, width, 4), put(22, height, 4);
    put(26, 1, 2), put(28, 24, 2), put(34, std::uint32_t(row * height), 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int at = 54 + (height - 1 - y) * row + x * 3;
            put(at, 0x60 | (y * 255 / 479) << 8 | (x * 255 / 639) << 16, 3);
        }
    return file;
}

void DumpIfAsked(EngineRun& run)
{
    if (const char* folder = std::getenv("QUILTOR_DUMP_DIR")) run.SetDumpFolder(platform::ToInternalPath(folder));
}

} // namespace

TEST(StoryText, TextOverflowIsAScriptErrorNotACrash)
{
    for (const char* script : {"[DEFAULTTEXT BEAM=\"3\" LINE=\"1\"]あいうえお[C]",
                               "[DEFAULTTEXT BEAM=\"3\" LINE=\"1\"][TEXT BODY=\"あいうえお\"][C]"}) {
        SCOPED_TRACE(script);
        GameFolder game;
        game.Put("data/index.txt", script);
        EngineRun run;
        run.Run(30);
        // Reported once; the end screen may report its own missing pictures after it.
        ASSERT_FALSE(run.errors.empty());
        EXPECT_EQ(run.errors[0], "テキスト領域をはみ出ました。");
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), run.errors[0]), 1);
        EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
        EXPECT_TRUE(run.FramesIn(EngineState::ClickWait).empty());
    }
}

TEST(StoryText, CharactersAppearOneByOneAtTheTextSpeed)
{
    GameFolder game;
    // 100 ms a character: a frame is 33 1/3 ms and a character needs more
    // than 100 ms, so each of the five takes four frames, and the display
    // learns that none is left at a sixth timed step: about 24 frames.
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"100\"]あいうえお[C]");
    EngineRun run;
    for (std::uint32_t frame = 1; frame <= 30; ++frame) run.DumpAt(frame);
    run.Run(30);
    const auto shown = run.FramesIn(EngineState::TextDisplay);
    ASSERT_FALSE(shown.empty());
    EXPECT_GE(shown.size(), 22u);
    EXPECT_LE(shown.size(), 26u);
    // The back plane changes once per character while the text runs.
    std::vector<std::uint64_t> backs;
    for (std::uint32_t frame : shown) backs.push_back(run.dumps.at(frame).back);
    backs.erase(std::unique(backs.begin(), backs.end()), backs.end());
    EXPECT_GE(backs.size(), 4u);
    EXPECT_LE(backs.size(), 6u);
    EXPECT_FALSE(run.FramesIn(EngineState::ClickWait).empty());
}

TEST(StoryText, AClickShowsTheRestOfItsOwnPageAtOnceAndTheNextTypes)
{
    // A click at frame 3 shows the question whole, and the lines a TL joins
    // to it; the page after it types at 100 ms a character again, some four
    // frames each. A right click while text types is a click there.
    const struct {
        const char* name;
        const char* between;
        std::function<void(EngineRun&)> input;
        bool types; // what follows between
    } rows[] = {
        {"after a TP", "[TP]", [](EngineRun& r) { r.Click(3); }, true},
        {"after a choice", "[SELECT][WRITE BODY=\"はい\" LABEL=\"yes\"][ENDSELECT][LABEL LABEL=\"yes\"]",
         [](EngineRun& r) { r.Click(3), r.Key(10, KeyCode::Down), r.Key(13, KeyCode::Enter); }, true},
        {"after a TL", "[TL]", [](EngineRun& r) { r.Click(3); }, false},
        {"after a TL, a right click", "[TL]", [](EngineRun& r) { r.RightClick(3); }, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        GameFolder game;
        game.Put("data/index.txt", std::string("[SYSTEM CONTROL=\"TEXT\" TIME=\"100\"]あいうえお") + row.between +
                                       "かきくけこ[C][END]");
        EngineRun run;
        row.input(run);
        run.Run(80);
        const auto shown = run.FramesIn(EngineState::TextDisplay);
        ASSERT_FALSE(shown.empty());
        if (row.types)
            EXPECT_GE(Count(shown, 8, 80), 18u);
        else
            EXPECT_EQ(Count(shown, 8, 80), 0u);
        EXPECT_FALSE(run.FramesIn(EngineState::ClickWait).empty());
        EXPECT_TRUE(run.Dialogs().Menus().empty());
    }
}

TEST(StoryText, FramedWindowWithTheSpeakersName)
{
    GameFolder game;
    game.Put("data/bg.bmp", GradientBmp());
    game.Put("data/index.txt",
             "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][BACK FILE=\"data/bg.bmp\" EFFECT=\"NONE\"]"
             "[DEFAULTWINDOW CONTROL=\"TRH\"][WINDOW NAME=\"main\"]"
             "[FADEWINDOW NAME=\"main\" X=\"8\" Y=\"320\" WIDTH=\"624\" HEIGHT=\"152\"]"
             "[DEFAULTTEXT X=\"24\" Y=\"340\" HEIGHT=\"28\" LINE=\"4\"][NAMETEXT X=\"20\" Y=\"326\"]"
             "語り手：「こんにちは。」[C]");
    EngineRun run;
    DumpIfAsked(run);
    run.DumpAt(10);
    run.Run(12);
    ASSERT_EQ(run.frames.at(9).state, EngineState::ClickWait);
    // The gradient, the window's rectangle darkened, the name and, a line
    // lower (TRH starts a new line for the name), the message in it (checked
    // by eye); the back plane shows the same in its own format.
    const auto& dump = run.dumps.at(10);
    EXPECT_EQ(dump.screen, 0xb1870bd92b0b1b00u) << std::hex << dump.screen;
    EXPECT_EQ(dump.back, 0x2348a836fd2d02f8u) << std::hex << dump.back;
    EXPECT_TRUE(run.errors.empty());
}

TEST(StoryText, TheTextTagShowsTheWindows)
{
    GameFolder game;
    game.Put("data/bg.bmp", GradientBmp());
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][BACK FILE=\"data/bg.bmp\" EFFECT=\"NONE\"]"
                               "[WINDOW NAME=\"main\"][FADEWINDOW NAME=\"main\" X=\"8\" Y=\"320\" WIDTH=\"624\" HEIGHT=\"152\"]"
                               "[WAIT TIME=\"200\"][TEXT BODY=\"あ\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    // Blue of a corner of the window, outside the text: before and after TEXT.
    std::vector<int> blue;
    for (std::uint32_t frame : {2u, 12u})
        run.At(frame, [&](EngineRun&) {
            kivotasuGameKit::CSurfaceInfo& screen = *CQuiltorEngine::GetInstance()->Shown().GetScreenPlane().GetSurfaceInfo();
            blue.push_back(screen.GetPixelBytes()[470 * screen.GetPitch() + 600 * 4]);
        });
    run.Run(12);
    ASSERT_EQ(blue.size(), 2u);
    EXPECT_NEAR(blue[1], blue[0] / 2, 1);
}

TEST(StoryText, WheelAndPageUpOpenTheBackLog)
{
    GameFolder game;
    // Eight pages of one line: the log holds more than a page, the window one line.
    std::string script = "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]";
    for (int i = 0; i < 8; ++i) script += "第" + std::to_string(i) + "頁の一行です。[P]";
    script += "最後の頁です。[C]";
    game.Put("data/index.txt", script);
    EngineRun run;
    for (int i = 0; i < 8; ++i) run.Click(3 + 4 * i);
    run.DumpAt(60);
    run.Wheel(61, 120);
    run.DumpAt(64);
    run.Click(66);
    run.Key(72, KeyCode::PageUp);
    run.DumpAt(76);
    run.Key(78, KeyCode::PageUp);
    run.DumpAt(82);
    run.Run(90);

    ASSERT_EQ(run.frames.at(59).state, EngineState::ClickWait);
    EXPECT_GT(Count(run.FramesIn(EngineState::BackLog), 62, 66), 0u) << "the wheel opens the view";
    EXPECT_GT(Count(run.FramesIn(EngineState::ClickWait), 68, 72), 0u) << "a click closes it";
    EXPECT_GT(Count(run.FramesIn(EngineState::BackLog), 74, 76), 0u) << "Page Up opens it";
    // The view is on the back plane only, over the screen without the text.
    EXPECT_NE(run.dumps.at(64).back, run.dumps.at(60).back);
    EXPECT_EQ(run.dumps.at(76).back, run.dumps.at(64).back) << "both open on the last page";
    EXPECT_NE(run.dumps.at(82).back, run.dumps.at(76).back) << "Page Up in the view pages back";
    EXPECT_TRUE(run.errors.empty());
}

TEST(StoryText, DemoChapterOfTheMessageWindowRunsThrough)
{
    // The demo's own script, as the build converts it.
    const std::string source = QUILTOR_SOURCE_DIR "/demo/data/message.txt";
    std::ifstream in(source, std::ios::binary);
    ASSERT_TRUE(in) << source;
    const std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    GameFolder game;
    // The background it shows, which is also what the end screen shows, and
    // its window frames.
    for (const char* name : {"data/Element/Quiltor01.jpg", "data/Element/Quiltor02.jpg", "data/Element/Quiltor03.jpg",
                             "data/pictures/frame1.bmp", "data/pictures/frame2.bmp"})
        game.Put(name, GradientBmp());
    game.Put("data/message.txt", platform::Utf8ToCp932(utf8));
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTJUMP PATH=\"{BASE}\"]"
                               "[SET VARIABLE=\"QUILTOR\" ENTITY=\"{KARUTEMI}data/\"]"
                               "[CALL FILE=\"message.txt\" LABEL=\"文章ウィンドウ\"]"
                               "[SET VARIABLE=\"done\" ENTITY=\"1\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    for (std::uint32_t frame = 5; frame < 150; frame += 5) run.Click(frame);
    DumpIfAsked(run);
    if (std::getenv("QUILTOR_DUMP_DIR"))
        for (std::uint32_t frame = 4; frame < 150; frame += 5) run.DumpAt(frame);
    run.Run(160);
    EXPECT_TRUE(run.errors.empty()) << (run.errors.empty() ? "" : run.errors[0]);
    EXPECT_EQ(run.Tags(TagId::Set).size(), 2u) << "the chapter returned";
    EXPECT_EQ(run.Tags(TagId::P).size(), 9u);
}
