// What reaches the engine through its window: dropped scripts, the full-screen
// and close keys, a close while a box, the menu or a dialog is up, and the
// global variables a game start reads.
#include <gtest/gtest.h>

#include "script/engine/KeyCodes.h"
#include "script/engine/MenuCommands.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"
#include "tests/script/ScriptTestKit.h"

#include <algorithm>

using testkit::EngineRun;

TEST(EngineWindow, DroppedScriptRestartsTheGameWithIt)
{
    GameFolder game;
    game.Put("data/index.txt", "[SET VARIABLE=\"first\" ENTITY=\"1\"][WAIT TIME=\"100000\"]");
    game.Put("data/other/next.txt", "[SET VARIABLE=\"dropped\" ENTITY=\"1\"][WAIT TIME=\"100000\"]");
    const std::string dropped = game.Name("data\\other\\next.txt");
    EngineRun run;
    std::string history, folder;
    bool firstForgotten = false;
    run.At(5, [&](EngineRun& r) { r.Windows().DropFile(r.Window(), dropped); });
    run.At(60, [&](EngineRun&) {
        CQuiltorEngine& engine = *CQuiltorEngine::GetInstance();
        history = engine.GetGameState().History[0].GetStr();
        folder = engine.GetLastScriptFolder().GetStr();
        kivotasuGameKit::CTextString first("{first}");
        try {
            CSet::GetInstance().Expand(first);
        } catch (const EScript&) {
            firstForgotten = true;
        }
    });
    // A path is cut after 260 bytes: this one names the script only when cut there.
    const std::string folderName = game.Name("data\\other\\");
    const std::string longName = std::string(256 - folderName.size(), 'n') + ".txt";
    game.Put("data/other/" + longName, "[SET VARIABLE=\"long\" ENTITY=\"1\"][WAIT TIME=\"100000\"]");
    run.At(61, [&](EngineRun& r) { r.Windows().DropFile(r.Window(), folderName + longName + "x"); });
    run.Run(100);

    auto sets = run.Tags(TagId::Set);
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[1]->record.GetValue(TagAttributeKey::Variable).GetStr(), "dropped");
    EXPECT_EQ(sets[2]->record.GetValue(TagAttributeKey::Variable).GetStr(), "long");
    // The reset cleared the variables of the first script.
    EXPECT_TRUE(firstForgotten);
    EXPECT_TRUE(run.errors.empty());
    std::string slashed = dropped;
    for (char& ch : slashed) if (ch == '\\') ch = '/';
    EXPECT_EQ(history, slashed);
    EXPECT_EQ(folder, game.Name("data\\other"));
    EXPECT_EQ(run.Windows().OpenDrops(), 0u);
}

TEST(EngineWindow, AltEnterSwitchesToFullScreenAndBackWithoutAdvancing)
{
    GameFolder game;
    // A click wait with the text window shown, where the buttons read Enter too.
    game.Put("system/option.qsd", testkit::InstantOptions);
    game.Put("data/index.txt", "ページ[P][SET VARIABLE=\"advanced\" ENTITY=\"1\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    bool full = false, window = true;
    run.Key(5, KeyCode::LeftAlt, 20);
    run.Key(6, KeyCode::Enter);
    run.At(10, [&](EngineRun&) { full = CQuiltorEngine::GetInstance()->Shown().IsFullScreen(); });
    run.Key(12, KeyCode::Enter);
    run.At(16, [&](EngineRun&) { window = !CQuiltorEngine::GetInstance()->Shown().IsFullScreen(); });
    run.Run(20);

    EXPECT_TRUE(full);
    EXPECT_TRUE(window);
    EXPECT_TRUE(run.Tags(TagId::Set).empty());
    EXPECT_EQ(run.frames.back().state, EngineState::ClickWait);
    // The options remember the mode of the end: a window.
    EXPECT_NE(game.Read("system/option.qsd").find("[SYSTEM CONTROL=\"DISPLAYMODE\" NAME=\"0\"]"), std::string::npos);
}

TEST(EngineWindow, FullScreenOptionStartsInFullScreenAndIsWrittenBack)
{
    GameFolder game;
    game.Put("system/option.qsd", "[SYSTEM CONTROL=\"DISPLAYMODE\" NAME=\"1\"]\n");
    game.Put("data/index.txt", "[WAIT TIME=\"100000\"]");
    EngineRun run;
    bool full = false;
    run.At(2, [&](EngineRun&) { full = CQuiltorEngine::GetInstance()->Shown().IsFullScreen(); });
    run.Run(5);

    EXPECT_TRUE(full);
    EXPECT_NE(game.Read("system/option.qsd").find("[SYSTEM CONTROL=\"DISPLAYMODE\" NAME=\"1\"]"), std::string::npos);
}

// The close box or Alt+F4 while a box, the menu or a dialog is up: that one
// ends as its close would, and the player closes from there as from anywhere,
// within a few frames, with the resume save and the options written and
// nothing said but what the script itself earned.
TEST(EngineWindow, ACloseWhileABoxTheMenuOrADialogIsUpClosesThePlayer)
{
    struct Case {
        const char* what;
        std::string script;
        std::function<void(EngineRun&)> open; // the menu or a dialog; else the box the script earns
        std::uint32_t lastFrame;
    };
    const std::string waiting = "あ[L][WAIT TIME=\"100000\"]";
    // The click wait comes at about frame 10.
    constexpr std::uint32_t Up = 20;
    const auto command = [](std::uint32_t id) { return [id](EngineRun& r) { r.Command(Up, id); }; };
    const Case cases[] = {
        {"the UTF-8 notice at start", Utf8(u8"こんにちは、世界です。[L]"), {}, 2},
        {"a script error under ERROR 1",
         "[SYSTEM CONTROL=\"ERROR\" NAME=\"1\"][WAIT TIME=\"100\"][WAIT TIME=\"10\" NOSUCHKEY=\"1\"]" + waiting, {}, 8},
        {"the menu", waiting, [](EngineRun& r) { r.RightClick(Up); }, Up + 3},
        {"the exit question", waiting, command(MenuCommand::Exit), Up + 3},
        {"the settings", waiting, command(MenuCommand::Settings), Up + 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", c.script);
        EngineRun run;
        const bool box = !c.open;
        run.At(0, [box](EngineRun& r) { box ? r.Boxes().CloseWhileUp(r.Window()) : r.Dialogs().CloseWhileUp(r.Window()); });
        if (!box) c.open(run);
        testing::internal::CaptureStderr();
        run.Run(100);
        const std::string said = testing::internal::GetCapturedStderr();

        EXPECT_EQ(box ? run.Boxes().History().size() : run.Dialogs().Menus().size() + run.Dialogs().Shown().size(), 1u);
        EXPECT_LE(run.frames.size(), c.lastFrame);
        // A box's line on stderr, and nothing more.
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), box ? 1 : 0) << said;
        EXPECT_FALSE(game.Read("Save/index.a").empty()) << "the resume save";
        EXPECT_TRUE(game.Exists("system/option.qsd"));
    }
}

TEST(EngineWindow, GlobalVariablesOfTheSaveFolderAreReadAtGameStart)
{
    GameFolder game;
    // The start script data/index.txt keeps its globals in Save/index.g.
    game.Put("Save/index.g", "[SET VARIABLE=\"cleared\" ENTITY=\"3\"]\n");
    game.Put("data/index.txt", "[TITLE BODY=\"{cleared}\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(5);

    EXPECT_EQ(run.Windows().State(run.Window())->captionSjis, "3");
    EXPECT_TRUE(run.errors.empty());
}
