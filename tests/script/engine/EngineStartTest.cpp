// Starting a game: the options file, the game-folder script, the start script.
#include <gtest/gtest.h>

#include "platform/TextCodec.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

} // namespace

TEST(EngineStart, FirstRunWritesTheSixteenOptionLinesInOrder)
{
    GameFolder game;
    game.Put("data/index.txt", "[END]");
    EngineRun run;
    run.Run(5);

    ASSERT_TRUE(game.Exists("system/option.qsd"));
    const std::vector<std::string> lines = Lines(game.Read("system/option.qsd"));
    const std::vector<std::string> expected = {
        "[SYSTEM CONTROL=\"DISPLAYMODE\" NAME=\"0\"]",
        "[SYSTEM CONTROL=\"MIDIDEVICE\" NAME=\"1\"]",
        "[SYSTEM CONTROL=\"CDDRIVE\" NAME=\"1\"]",
        "[SYSTEM CONTROL=\"FONT\" NAME=\"0\"]",
        "[SYSTEM CONTROL=\"EFFECT\" TIME=\"800\"]",
        "[SYSTEM CONTROL=\"TEXT\" TIME=\"200\"]",
        "[SYSTEM CONTROL=\"SKIPTEXT\" NAME=\"0\"]",
        "[SYSTEM CONTROL=\"SKIPGRAPHIC\" NAME=\"0\"]",
        "[SYSTEM CONTROL=\"SKIPINPUT\" NAME=\"0\"]",
        "[SYSTEM CONTROL=\"SKIPCOND\" NAME=\"0\"]",
        "[SYSTEM CONTROL=\"SKIPPATTERN\" NAME=\"0\"]",
        "[SYSTEM CONTROL=\"ERROR\" NAME=\"0\"]",
        "[SYSTEM CONTROL=\"OVERWRITE\" NAME=\"0\"]",
        // 80, 112, 160 as one hexadecimal colour.
        "[SYSTEM CONTROL=\"WINDOW_RGB\" COLOR=\"#5070A0\"]",
        "[SYSTEM CONTROL=\"ANMCURSOR\" NAME=\"0\"]",
    };
    ASSERT_EQ(lines.size(), 16u);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(lines[15].rfind("[SYSTEM CONTROL=\"ANTIALIAS\" NAME=\"", 0), 0u);
}

TEST(EngineStart, PartialOptionsFileSetsOnlyWhatItHolds)
{
    GameFolder game;
    game.Put("data/index.txt", "[END]");
    // Out of order, with a control in lower case that matches nothing.
    game.Put("system/option.qsd", "[SYSTEM CONTROL=\"WINDOW_RGB\" COLOR=\"#102030\"]\n"
                                  "[SYSTEM CONTROL=\"text\" TIME=\"7\"]\n"
                                  "[SYSTEM CONTROL=\"SKIPINPUT\" NAME=\"3\"]\n"
                                  "[SYSTEM CONTROL=\"TEXT\" TIME=\"50\"]\n");
    EngineRun run;
    run.Run(5);

    EXPECT_EQ(GetTextTime(), 50);
    EXPECT_EQ(GetEffectTime(), 800);
    EXPECT_EQ(GetWindowRGB(), 0x102030u);
    const std::vector<std::string> lines = Lines(game.Read("system/option.qsd"));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[4], "[SYSTEM CONTROL=\"EFFECT\" TIME=\"800\"]");
    EXPECT_EQ(lines[5], "[SYSTEM CONTROL=\"TEXT\" TIME=\"50\"]");
    EXPECT_EQ(lines[8], "[SYSTEM CONTROL=\"SKIPINPUT\" NAME=\"3\"]");
    EXPECT_EQ(lines[10], "[SYSTEM CONTROL=\"SKIPPATTERN\" NAME=\"0\"]");
    EXPECT_EQ(lines[13], "[SYSTEM CONTROL=\"WINDOW_RGB\" COLOR=\"#102030\"]");
}

TEST(EngineStart, StoredFilesAreReadThroughBeforeTheStartScript)
{
    // More tags than a script reads on before the window has its turn: a
    // stored file is read to its end in one go all the same, with no turn
    // whose input could take the reader elsewhere.
    std::string manySets;
    for (int i = 0; i < 5000; ++i) manySets += "[SET VARIABLE=\"n\" ENTITY=\"1\"]";
    struct Case {
        const char* what;
        std::string options;
        std::string gameFolder;
        std::size_t sets;
    };
    const Case cases[] = {
        {"a game-folder script of one default", "", "[SET VARIABLE=\"folder\" ENTITY=\"seen\"]", 1},
        {"a game-folder script whose last default follows thousands of tags", "",
         manySets + "[SET VARIABLE=\"folder\" ENTITY=\"seen\"]", 5001},
        {"an options file whose last line follows thousands of tags", manySets,
         "[SET VARIABLE=\"folder\" ENTITY=\"seen\"]", 5001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        if (!c.options.empty()) game.Put("system/option.qsd", c.options + "[SYSTEM CONTROL=\"TEXT\" TIME=\"7\"]");
        game.Put("system/GameFolder.qsd", c.gameFolder);
        game.Put("data/index.txt", "[TITLE BODY=\"{folder}\"][WAIT TIME=\"1000\"]");
        EngineRun run;
        run.Run(5);

        EXPECT_EQ(run.Tags(TagId::Set).size(), c.sets);
        EXPECT_EQ(run.turns, 0u);
        EXPECT_EQ(run.Windows().State(run.Window())->captionSjis, "seen");
        EXPECT_TRUE(run.errors.empty());
        if (!c.options.empty()) {
            EXPECT_EQ(GetTextTime(), 7);
        }
    }
}

TEST(EngineStart, GameFolderScriptStopsAtItsFirstReturningTag)
{
    GameFolder game;
    game.Put("system/GameFolder.qsd", "[WAIT][SET VARIABLE=\"late\" ENTITY=\"1\"]");
    game.Put("data/index.txt", "[SET VARIABLE=\"start\" ENTITY=\"1\"][WAIT TIME=\"100\"][END]");
    EngineRun run;
    run.Run(20);

    // The WAIT of the game-folder script leaves no timed wait behind: the
    // start script runs from state 0.
    auto sets = run.Tags(TagId::Set);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0]->record.GetValue(TagAttributeKey::Variable).GetStr(), "start");
    EXPECT_EQ(sets[0]->before, EngineState::RunTags);
}

TEST(EngineStart, MissingStartScriptEndsInTheEndScreen)
{
    GameFolder game;
    EngineRun run;
    testing::internal::CaptureStderr();
    run.Run(5);
    const std::string said = testing::internal::GetCapturedStderr();

    ASSERT_FALSE(run.frames.empty());
    EXPECT_EQ(run.frames.front().state, EngineState::ScriptEnd);
    EXPECT_TRUE(run.trace.empty());
    // Said once on stderr and in a box, naming the host path, though ERROR is
    // 0; the end screen of a game that defines no {QUILTOR} says nothing more.
    const std::string path = game.Host("data/index.txt").string();
    const std::string first = said.substr(0, said.find('\n') + 1);
    EXPECT_EQ(said, "quiltor: No game to start: the start script " + path + " cannot be opened.\n");
    const auto boxes = run.Boxes().History();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(platform::Cp932ToUtf8(boxes[0].textSjis), first.substr(9, first.size() - 10));
}
