// The menu's file commands: opening a script through the open dialog, the
// screen picture through the save dialog, and the further items the popup
// offers for them (recent scripts, window frames); a script to restart with
// that cannot be read is said on stderr.
#include <gtest/gtest.h>

#include "platform/TextCodec.h"
#include "script/engine/MenuCommands.h"
#include "script/lang/Set.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using platform::Menu;
using platform::MenuItem;
using testkit::EngineRun;

namespace {

const std::string WaitingScript = "[SET VARIABLE=\"first\" ENTITY=\"1\"]あ[L][WAIT TIME=\"100000\"]";
constexpr std::uint32_t MenuFrame = 20;

CQuiltorEngine& Engine()
{
    return *CQuiltorEngine::GetInstance();
}

void Send(EngineRun& run, std::uint32_t command)
{
    run.Windows().PostMessage(run.Window(), platform::WM_COMMAND, command, 0);
}

const MenuItem* Submenu(const Menu& menu, const std::string& text)
{
    for (const MenuItem& item : menu)
        if (item.kind == MenuItem::Kind::Submenu && item.textSjis == text) return &item;
    return nullptr;
}

std::vector<std::string> Texts(const std::vector<MenuItem>& items)
{
    std::vector<std::string> texts;
    for (const MenuItem& item : items) texts.push_back(item.kind == MenuItem::Kind::Separator ? "-" : item.textSjis);
    return texts;
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
    run.At(MenuFrame, [](EngineRun& r) { Send(r, MenuCommand::OpenScript); });
    // Opened again: the dialog starts in the folder of the script opened before; cancelled.
    run.At(MenuFrame + 30, [](EngineRun& r) { Send(r, MenuCommand::OpenScript); });
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
        run.At(MenuFrame, [](EngineRun& r) { Send(r, MenuCommand::SaveScreenPicture); });
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

TEST(FileCommands, PopupOffersTheFileItemsTheRecentScriptsAndTheFrames)
{
    struct Case {
        const char* what;
        const char* windows;
        std::size_t frames; // 0: no frame submenu
    };
    const Case cases[] = {
        {"no frames", "", 0},
        {"one frame", "[WINDOW NAME=\"a\"]", 0},
        {"two frames",
         "[WINDOW NAME=\"a\"]"
         "[WINDOW NAME=\"b\"]",
         2},
    };
    for (const Case& c : cases) {
        GameFolder game;
        game.Put("data/index.txt", std::string(c.windows) + WaitingScript);
        EngineRun run;
        run.At(MenuFrame - 1, [](EngineRun&) { Engine().GetGameState().AddHistory("Z:/old/a&b.txt"); });
        run.RightClick(MenuFrame);
        run.Run(MenuFrame + 5);
        ASSERT_EQ(run.Dialogs().Menus().size(), 1u) << c.what;
        const Menu& menu = run.Dialogs().Menus()[0].menu;

        const MenuItem* file = Submenu(menu, "ファイル");
        ASSERT_NE(file, nullptr) << c.what;
        EXPECT_EQ(Texts(file->items), (std::vector<std::string>{"スクリプトを開く(&O)...", "最近のスクリプト", "履歴のクリア", "-",
                                                                "画面の保存(&P)..."}));
        const std::vector<MenuItem>& recent = file->items[1].items;
        ASSERT_EQ(recent.size(), 2u) << c.what;
        EXPECT_EQ(recent[0].textSjis, "1: /old/a&&b.txt") << "an \"&\" stays a character";
        EXPECT_EQ(recent[0].command, MenuCommand::History);
        EXPECT_EQ(recent[1].command, MenuCommand::History + 1);
        EXPECT_FALSE(file->items[2].greyed) << "a script before the current one can be forgotten";
        EXPECT_EQ(Texts(menu).back(), "終了(&X)");
        EXPECT_EQ(Texts(menu)[Texts(menu).size() - 3], "-") << "the file items stand apart from the return to the title";

        const MenuItem* frames = Submenu(menu, "ウィンドウ枠");
        if (c.frames == 0) {
            EXPECT_EQ(frames, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(frames, nullptr) << c.what;
        ASSERT_EQ(frames->items.size(), c.frames);
        for (std::size_t n = 0; n < c.frames; ++n) EXPECT_EQ(frames->items[n].command, MenuCommand::WindowFrame + n);
        EXPECT_TRUE(frames->items[0].checked) << "the first frame is current";
        EXPECT_FALSE(frames->items[1].checked);
    }
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
    run.Dialogs().PushCommand(MenuCommand::WindowFrame + 1);
    run.RightClick(MenuFrame);
    std::vector<bool> second;
    const auto look = [&](EngineRun&) { second.push_back(Engine().GetWindows().IsWindowCount(1)); };
    run.At(MenuFrame + 5, look);
    run.At(MenuFrame + 6, [](EngineRun&) { Engine().NewPage(); });
    run.At(MenuFrame + 7, look);
    run.At(MenuFrame + 8, [](EngineRun&) { Engine().QuickSave(); });
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
