// The window hook's further commands, which the popup does not offer: opening
// a script through the open dialog, the screen picture through the save
// dialog, the window frames; a script to restart with that cannot be read is
// said on stderr.
#include <gtest/gtest.h>

#include "platform/TextCodec.h"
#include "script/engine/MenuCommands.h"
#include "script/lang/Set.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using platform::Menu;
using testkit::EngineRun;

namespace {

const std::string WaitingScript = "[SET VARIABLE=\"first\" ENTITY=\"1\"]あ[L][WAIT TIME=\"100000\"]";
constexpr std::uint32_t MenuFrame = 20;

CQuiltorEngine& Engine()
{
    return *CQuiltorEngine::GetInstance();
}

} // namespace

TEST(FileCommands, OpenScriptRestartsWithTheChosenFileAndRemembersItsFolder)
{
    GameFolder game;
    game.Put("data/index.txt", WaitingScript);
    game.Put("data/other/next.txt", "[SET VARIABLE=\"opened\" ENTITY=\"1\"][WAIT TIME=\"100000\"]");
    const std::string chosen = game.Name("data\\other\\next.txt");
    EngineRun run;
    run.Dialogs().PushFile(chosen);
    run.Command(MenuFrame, MenuCommand::OpenScript);
    // Opened again: the dialog starts in the folder of the script opened before; cancelled.
    run.Command(MenuFrame + 30, MenuCommand::OpenScript);
    std::string folder, history;
    run.At(MenuFrame + 40, [&](EngineRun&) {
        folder = Engine().GetLastScriptFolder().GetStr();
        history = Engine().GetGameState().History[0].GetStr();
    });
    run.Run(MenuFrame + 45);

    ASSERT_EQ(run.Dialogs().ShownFiles().size(), 2u);
    const platform::FileDialog& dialog = run.Dialogs().ShownFiles()[0];
    EXPECT_EQ(dialog.kind, platform::FileDialog::Kind::Open);
    EXPECT_TRUE(dialog.mustExist);
    EXPECT_FALSE(dialog.overwritePrompt);
    ASSERT_EQ(dialog.filters.size(), 2u);
    EXPECT_EQ(dialog.filters[0].patterns, "*.txt;*.qlx");
    EXPECT_EQ(dialog.filters[1].patterns, "*.*");
    EXPECT_EQ(dialog.folder, "") << "nothing opened yet: the current folder";
    EXPECT_EQ(run.Dialogs().ShownFiles()[1].folder, game.Name("data\\other"));

    const auto sets = run.Tags(TagId::Set);
    ASSERT_EQ(sets.size(), 2u) << "the cancelled dialog restarted nothing";
    EXPECT_EQ(sets[1]->record.GetValue(TagAttributeKey::Variable).GetStr(), "opened");
    EXPECT_EQ(folder, game.Name("data\\other"));
    std::string slashed = chosen;
    for (char& c : slashed) if (c == '\\') c = '/';
    EXPECT_EQ(history, slashed);
}

TEST(FileCommands, ScreenPictureGoesWhereTheSaveDialogSays)
{
    struct Case {
        const char* what;
        std::vector<platform::HeadlessDialogs::Answer> answers;
        const char* written; // relative to the game folder; null for none
        bool oldKept;
    };
    const Case cases[] = {
        {"the proposed name", {{1}}, "Quiltor01.pdt", true},
        {"a name without extension", {{1, {}, {}, "shot"}}, "shot.pdt", true},
        {"overwrite: yes", {{1, {}, {}, "Quiltor00.pdt"}, {1}}, "Quiltor00.pdt", false},
        {"overwrite: no, then cancel", {{1, {}, {}, "Quiltor00.pdt"}, {2}}, nullptr, true},
        {"cancel", {{0}}, nullptr, true},
    };
    for (const Case& c : cases) {
        GameFolder game;
        game.Put("data/index.txt", WaitingScript);
        game.Put("Quiltor00.pdt", "old");
        EngineRun run;
        for (const auto& answer : c.answers) run.Dialogs().PushAnswer(answer);
        run.Command(MenuFrame, MenuCommand::SaveScreenPicture);
        run.Run(MenuFrame + 5);

        ASSERT_FALSE(run.Dialogs().ShownFiles().empty()) << c.what;
        const platform::FileDialog& dialog = run.Dialogs().ShownFiles()[0];
        EXPECT_EQ(dialog.kind, platform::FileDialog::Kind::Save);
        EXPECT_EQ(dialog.titleSjis, "画面の保存");
        EXPECT_EQ(dialog.fileNameSjis, "Quiltor01.pdt") << "the first free number";
        ASSERT_EQ(dialog.filters.size(), 1u);
        EXPECT_EQ(dialog.filters[0].textSjis, "PDT Files(*.pdt)");
        EXPECT_EQ(dialog.filters[0].patterns, "*.pdt");
        EXPECT_EQ(dialog.defaultExtension, "pdt");
        EXPECT_TRUE(dialog.overwritePrompt);
        EXPECT_EQ(dialog.folder, kivotasuGameKit::CFile::GetCurrentDir()) << c.what;

        EXPECT_EQ(game.Read("Quiltor00.pdt") == "old", c.oldKept) << c.what;
        if (c.written) {
            EXPECT_EQ(game.Read(c.written).substr(0, 5), "PDT10") << c.what;
        }
        std::size_t pictures = 0;
        for (const auto& entry : std::filesystem::directory_iterator(game.Host()))
            pictures += entry.path().extension() == ".pdt";
        EXPECT_EQ(pictures, c.written && c.oldKept ? 2u : 1u) << c.what;
    }
}

// A shipped game lets its player open no script: the popup is the resource
// menu whatever the history and the frames, and offers none of the further
// commands, which the window hook still carries out (the tests above and below).
TEST(FileCommands, PopupOffersNoneOfTheFurtherCommands)
{
    using namespace MenuCommand;
    GameFolder game;
    game.Put("data/index.txt", "[WINDOW NAME=\"a\"][WINDOW NAME=\"b\"]" + WaitingScript);
    EngineRun run;
    run.At(MenuFrame - 1, [](EngineRun&) { Engine().GetGameState().AddHistory("Z:/old/a.txt"); });
    run.RightClick(MenuFrame);
    run.Run(MenuFrame + 5);
    ASSERT_EQ(run.Dialogs().Menus().size(), 1u);
    const Menu& menu = run.Dialogs().Menus()[0].menu;

    EXPECT_EQ(menu.size(), 15u) << "the resource menu's items, no submenu added";
    for (std::uint32_t command : {OpenScript, SkipCustom, ClearHistory, SaveScreenPicture, Progress, CustomSkipSettings,
                                  History, History + 1, WindowFrame, WindowFrame + 1})
        EXPECT_EQ(platform::FindCommand(menu, command), nullptr) << command;
}

// The frame chosen stays through a page and a save. A load gives back the
// frame the save's WINDOW tags select, each of which makes the first current.
TEST(FileCommands, ChoosingTheSecondFrameSelectsIt)
{
    GameFolder game;
    game.Put("data/index.txt",
             "[WINDOW NAME=\"a\"]"
             "[WINDOW NAME=\"b\"]" + WaitingScript);
    game.Put("system/option.qsd", testkit::InstantOptions);
    EngineRun run;
    run.Command(MenuFrame, MenuCommand::WindowFrame + 1);
    std::vector<bool> second;
    const auto look = [&](EngineRun&) { second.push_back(Engine().GetWindows().IsWindowCount(1)); };
    run.At(MenuFrame + 5, look);
    run.At(MenuFrame + 6, [](EngineRun&) { Engine().NewPage(); });
    run.At(MenuFrame + 7, look);
    run.At(MenuFrame + 8, [](EngineRun&) { Engine().Files().QuickSave(); });
    run.At(MenuFrame + 9, look);
    run.At(MenuFrame + 10, [](EngineRun&) { Engine().LoadQuick(); });
    run.At(MenuFrame + 60, look);
    run.Run(MenuFrame + 61);
    EXPECT_EQ(second, (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(run.frames.back().state, EngineState::ClickWait);
}

TEST(FileCommands, AScriptThatCannotBeReadSaysSoAndShowsTheEndScreen)
{
    GameFolder game;
    game.Put("data/index.txt", WaitingScript);
    std::filesystem::create_directories(game.Host("data/chapter"));
    // Dropped on the window: a name (as a recent script since removed would
    // be) and a folder.
    for (const char* name : {"data\\gone.txt", "data\\chapter"}) {
        SCOPED_TRACE(name);
        EngineRun run;
        const std::string dropped = game.Name(name);
        run.At(MenuFrame, [&](EngineRun& r) { r.Windows().DropFile(r.Window(), dropped); });
        testing::internal::CaptureStderr();
        run.Run(MenuFrame + 45);
        const std::string said = testing::internal::GetCapturedStderr();

        EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
        std::string host = game.Host(name).string();
        for (char& c : host) if (c == '\\') c = '/';
        const std::string line = "quiltor: script error: " + platform::Cp932ToUtf8("スクリプト『") + host +
                                 platform::Cp932ToUtf8("』が開けません。") + "\n";
        EXPECT_NE(said.find(line), std::string::npos) << said;
    }
}
