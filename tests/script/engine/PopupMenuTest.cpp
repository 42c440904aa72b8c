// The right-click menu as the engine builds it and the effect of each
// command, read from the headless menu service's records.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "frame/WindowApp.h"
#include "script/engine/KeyCodes.h"
#include "script/engine/MenuCommands.h"
#include "script/lang/Set.h"
#include "script/tag/FontList.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using kivotasuGameKit::CTextString;
using platform::Menu;
using platform::MenuItem;
using testkit::EngineRun;

namespace {

// A click wait from about frame 10 on; the SET after it marks a read-on.
const std::string ClickWaitScript = "あ[L][SET VARIABLE=\"after\" ENTITY=\"1\"][WAIT TIME=\"100000\"]";
constexpr std::uint32_t MenuFrame = 20;

const MenuItem& Item(const Menu& menu, std::uint32_t command)
{
    const MenuItem* item = platform::FindCommand(menu, command);
    EXPECT_NE(item, nullptr) << command;
    static const MenuItem none;
    return item ? *item : none;
}

std::vector<std::string> Texts(const std::vector<MenuItem>& items)
{
    std::vector<std::string> texts;
    for (const MenuItem& item : items) texts.push_back(item.kind == MenuItem::Kind::Separator ? "-" : item.textSjis);
    return texts;
}

// The menu shown by a right click in the click wait, setup run the frame before.
Menu MenuShown(const std::function<void(EngineRun&)>& setup = {}, const std::string& script = ClickWaitScript)
{
    GameFolder game;
    game.Put("data/index.txt", script);
    EngineRun run;
    if (setup) run.At(MenuFrame - 1, setup);
    run.RightClick(MenuFrame);
    run.Run(MenuFrame + 5);
    EXPECT_EQ(run.Dialogs().Menus().size(), 1u);
    return run.Dialogs().Menus().empty() ? Menu{} : run.Dialogs().Menus().front().menu;
}

CQuiltorEngine& Engine()
{
    return *CQuiltorEngine::GetInstance();
}

void UseFonts(std::size_t count)
{
    std::vector<std::string> families;
    for (std::size_t i = 0; i < count; ++i) families.push_back("書体" + std::to_string(i));
    platform::InstallFonts(std::make_unique<platform::PinnedFonts>(families));
    CFontList::GetInstance().Enumerate();
    CFontList::GetInstance().SetCurrent(0);
}

} // namespace

TEST(PopupMenu, ShowsTheResourceMenuWithEmptySlotsAtTheMouse)
{
    GameFolder game;
    game.Put("data/index.txt", ClickWaitScript);
    EngineRun run;
    run.At(1, [](EngineRun& r) { r.Windows().MoveCursor({123, 45}); });
    run.RightClick(MenuFrame);
    run.Run(MenuFrame + 5);

    ASSERT_EQ(run.Dialogs().Menus().size(), 1u);
    const auto& shown = run.Dialogs().Menus().front();
    EXPECT_EQ(shown.at.x, 123);
    EXPECT_EQ(shown.at.y, 45);
    const Menu& menu = shown.menu;
    const std::vector<std::string> top{"スキップ処理", "-", "クイックセーブ", "クイックロード", "セーブ", "ロード", "-",
                                       "ウィンドウを隠す", "-", "フルスクリーン表示", "フォント", "設定(&C)...", "-",
                                       "タイトルに戻る", "終了(&X)"};
    EXPECT_EQ(Texts(menu), top);
    EXPECT_EQ(Texts(menu[0].items),
              (std::vector<std::string>{"通常のテキスト送り", "高速スキップ", "自動閲覧", "-", "シーンスキップ機能を有効にする"}));
    for (int n = 0; n < 10; ++n) {
        char slot[32], ring[32];
        std::snprintf(slot, sizeof slot, "%03d: - NONE -", n);
        std::snprintf(ring, sizeof ring, "%02d: - NONE -", n);
        EXPECT_EQ(Item(menu, MenuCommand::SaveSlot + n).textSjis, slot);
        EXPECT_FALSE(Item(menu, MenuCommand::SaveSlot + n).greyed);
        EXPECT_EQ(Item(menu, MenuCommand::LoadSlot + n).textSjis, slot);
        EXPECT_TRUE(Item(menu, MenuCommand::LoadSlot + n).greyed) << "no save to load";
        EXPECT_EQ(Item(menu, MenuCommand::LoadAutoSave + n).textSjis, ring);
        EXPECT_TRUE(Item(menu, MenuCommand::LoadAutoSave + n).greyed);
    }
    EXPECT_TRUE(Item(menu, MenuCommand::QuickLoad).greyed);
    EXPECT_TRUE(Item(menu, MenuCommand::LoadResume).greyed);
    EXPECT_TRUE(Item(menu, MenuCommand::SkipNormal).checked);
    EXPECT_FALSE(Item(menu, MenuCommand::HideWindows).greyed) << "enabled in the click wait";
    EXPECT_FALSE(Item(menu, MenuCommand::FullScreen).checked);
    EXPECT_FALSE(menu[2].greyed);
    EXPECT_FALSE(menu[4].greyed);
}

TEST(PopupMenu, ChecksAndGreyingFollowTheGameState)
{
    struct Case {
        const char* what;
        std::function<void(EngineRun&)> setup;
        std::function<void(const Menu&)> check;
    };
    const Case cases[] = {
        {"auto-save off greys quick save and the save submenu",
         [](EngineRun&) { Engine().GetGameState().AutoSave = 0; },
         [](const Menu& menu) {
             EXPECT_TRUE(menu[2].greyed);
             EXPECT_TRUE(menu[4].greyed);
             EXPECT_FALSE(menu[5].greyed) << "loading stays";
         }},
        {"automatic reading carries the check", [](EngineRun&) { Engine().SetSkipPattern(2); },
         [](const Menu& menu) {
             EXPECT_TRUE(Item(menu, MenuCommand::SkipNormal + 2).checked);
             EXPECT_FALSE(Item(menu, MenuCommand::SkipNormal).checked);
         }},
        {"scene skip on", [](EngineRun&) { CSet::GetInstance().Set("スキップ機能", "1", true); },
         [](const Menu& menu) { EXPECT_TRUE(Item(menu, MenuCommand::SceneSkip).checked); }},
        {"scene skip unset is off and no script error", {},
         [](const Menu& menu) { EXPECT_FALSE(Item(menu, MenuCommand::SceneSkip).checked); }},
        {"full screen", [](EngineRun&) { Engine().Shown().ChangeDisplayMode(true); },
         [](const Menu& menu) { EXPECT_TRUE(Item(menu, MenuCommand::FullScreen).checked); }},
        {"the current font is checked", [](EngineRun&) { UseFonts(3); CFontList::GetInstance().SetCurrent(1); },
         [](const Menu& menu) {
             EXPECT_EQ(Texts(menu[10].items), (std::vector<std::string>{"書体0", "書体1", "書体2"}));
             EXPECT_TRUE(Item(menu, MenuCommand::Font + 1).checked);
             EXPECT_FALSE(Item(menu, MenuCommand::Font).checked);
         }},
        {"fonts beyond a hundred are left out so no font takes a window-frame command",
         [](EngineRun&) { UseFonts(150); },
         [](const Menu& menu) {
             ASSERT_EQ(menu[10].items.size(), 100u);
             EXPECT_EQ(menu[10].items.back().command, MenuCommand::WindowFrame - 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.check(MenuShown(c.setup));
    }
    UseFonts(0);
}

TEST(PopupMenu, HideAndFontsAreGreyedOutsideTheClickWait)
{
    // A choice-less timed wait is no click wait: a right click there opens the
    // menu with hiding and the fonts greyed.
    const Menu menu = MenuShown({}, "[WAIT TIME=\"100000\"]");
    EXPECT_TRUE(Item(menu, MenuCommand::HideWindows).greyed);
    EXPECT_TRUE(menu[10].greyed);
}

namespace {

struct CommandRun {
    std::size_t starts = 0; // the script's text read from its start
    std::uint32_t lastFrame = 0;
    EngineState lastState = EngineState::RunTags;
    std::size_t questions = 0;
};

// Chooses the command from the menu of a right click at MenuFrame, or sends it
// as the window's command message when the menu does not offer it.
void Send(EngineRun& run, std::uint32_t command, bool offered)
{
    if (!offered) return run.Command(MenuFrame, command);
    run.Dialogs().PushCommand(command);
    run.RightClick(MenuFrame);
}

// Sends the command in the click wait and answers the questions it asks;
// `after` runs three frames later.
CommandRun Choose(std::uint32_t command, std::vector<int> answers = {},
                  const std::function<void(EngineRun&)>& after = {}, bool offered = true)
{
    GameFolder game;
    game.Put("data/index.txt", ClickWaitScript);
    EngineRun run;
    for (int answer : answers) run.Dialogs().PushAnswer(answer);
    Send(run, command, offered);
    if (after) run.At(MenuFrame + 3, after);
    run.Run(MenuFrame + 40);
    CommandRun result;
    result.starts = run.Tags(TagId::Write).size();
    result.lastFrame = static_cast<std::uint32_t>(run.frames.size());
    result.lastState = run.frames.back().state;
    result.questions = run.Dialogs().Shown().size();
    return result;
}

} // namespace

// Each sets its pattern and acts at the click wait it is chosen at: fast skip
// reads on at once, automatic reading and a custom skip that reads on by
// itself two seconds after the choice, normal reading not at all. The custom
// skip is no item of the menu: its command comes as the window's.
TEST(PopupMenu, SkipCommandsSetTheirPatternsAndActAtTheWaitTheyAreChosenAt)
{
    struct Case {
        std::uint32_t command;
        std::uint32_t pattern;
        std::array<std::uint32_t, 4> modes;
        int readsOnAfterMs; // -1: waits on
        bool offered = true;
    };
    const Case cases[] = {Case{40052, 1, {1, 1, 3, 0}, 0}, Case{40053, 2, {0, 0, 2, 0}, 2000},
                          Case{40055, 4, {1, 0, 2, 0}, 2000, false}, Case{40051, 0, {0, 0, 0, 0}, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        GameFolder game;
        game.Put("data/index.txt", ClickWaitScript);
        game.Put("system/option.qsd", "[SYSTEM CONTROL=\"SKIPTEXT\" NAME=\"1\"][SYSTEM CONTROL=\"SKIPINPUT\" NAME=\"2\"]");
        EngineRun run;
        Send(run, c.command, c.offered);
        std::uint32_t chosen = 0;
        run.At(MenuFrame, [&](EngineRun& r) { chosen = r.Clock().Now(); });
        CGameState state;
        run.At(MenuFrame + 3, [&](EngineRun&) { state = Engine().GetGameState(); });
        // Three seconds.
        run.Run(MenuFrame + 90);
        EXPECT_EQ(state.SkipPattern, c.pattern);
        EXPECT_EQ(state.SkipModes, c.modes);
        const auto readOn = run.Tags(TagId::Set);
        if (c.readsOnAfterMs < 0) {
            EXPECT_TRUE(readOn.empty());
            continue;
        }
        EXPECT_EQ(readOn.size(), 1u);
        if (readOn.empty()) continue;
        EXPECT_GE(readOn[0]->time - chosen, std::uint32_t(c.readsOnAfterMs));
        EXPECT_LE(readOn[0]->time - chosen, std::uint32_t(c.readsOnAfterMs) + 3 * 34);
    }
}

TEST(PopupMenu, SceneSkipTogglesItsGlobalVariable)
{
    CTextString value;
    Choose(MenuCommand::SceneSkip, {}, [&](EngineRun&) {
        EXPECT_TRUE(Engine().IsSceneSkipOn());
        Engine().ToggleSceneSkip();
        EXPECT_FALSE(Engine().IsSceneSkipOn());
        value = "{スキップ機能}";
        CSet::GetInstance().Expand(value);
    });
    EXPECT_EQ(value, CTextString("0"));
}

TEST(PopupMenu, FullScreenAndHideWindowsAct)
{
    bool fullScreen = false;
    Choose(MenuCommand::FullScreen, {}, [&](EngineRun&) { fullScreen = Engine().Shown().IsFullScreen(); });
    EXPECT_TRUE(fullScreen);

    EngineState state = EngineState::RunTags;
    Choose(MenuCommand::HideWindows, {}, [&](EngineRun&) { state = Engine().GetGameState().State; });
    EXPECT_EQ(state, EngineState::WindowHidden);
}

TEST(PopupMenu, ExitAsksAndClosesOnlyOnYes)
{
    const CommandRun yes = Choose(MenuCommand::Exit, {1});
    EXPECT_EQ(yes.questions, 1u);
    EXPECT_LT(yes.lastFrame, MenuFrame + 10) << "closed at once";

    const CommandRun no = Choose(MenuCommand::Exit, {2});
    EXPECT_EQ(no.questions, 1u);
    EXPECT_GE(no.lastFrame, MenuFrame + 40) << "played on";
}

TEST(PopupMenu, ExitQuestionHasItsResourceTexts)
{
    GameFolder game;
    game.Put("data/index.txt", ClickWaitScript);
    EngineRun run;
    run.Dialogs().PushCommand(MenuCommand::Exit);
    run.RightClick(MenuFrame);
    run.Run(MenuFrame + 5);
    ASSERT_EQ(run.Dialogs().Shown().size(), 1u);
    const platform::Dialog& question = run.Dialogs().Shown().front();
    EXPECT_EQ(question.titleSjis, "終了確認");
    ASSERT_EQ(question.controls.size(), 1u);
    EXPECT_EQ(question.controls[0].textSjis, "終了しますか？");
    ASSERT_EQ(question.buttons.size(), 2u);
    EXPECT_EQ(question.buttons[0].textSjis, "はい(&Y)");
    EXPECT_EQ(question.buttons[1].textSjis, "いいえ(&N)");
}

TEST(PopupMenu, ReturnToTitleAndHistoryStartTheScriptAgain)
{
    EXPECT_EQ(Choose(MenuCommand::SkipNormal).starts, 1u);
    const CommandRun title = Choose(MenuCommand::ReturnToTitle);
    EXPECT_EQ(title.starts, 2u);
    // History entry 0 is the start script; entry 5 does not exist.
    EXPECT_EQ(Choose(MenuCommand::History, {}, {}, false).starts, 2u);
    EXPECT_EQ(Choose(MenuCommand::History + 5, {}, {}, false).starts, 1u);
}

TEST(PopupMenu, ClearHistoryAsksFirstAndKeepsTheCurrentScript)
{
    for (int answer : {1, 2}) {
        GameFolder game;
        game.Put("data/index.txt", ClickWaitScript);
        EngineRun run;
        run.Dialogs().PushAnswer(answer);
        run.At(MenuFrame - 1, [](EngineRun&) {
            Engine().GetGameState().AddHistory("Z:/a.txt");
            Engine().GetGameState().AddHistory("Z:/b.txt");
        });
        run.Command(MenuFrame, MenuCommand::ClearHistory);
        std::int32_t count = -1;
        run.At(MenuFrame + 3, [&](EngineRun&) { count = Engine().GetGameState().HistoryCount; });
        run.Run(MenuFrame + 5);
        ASSERT_EQ(run.Dialogs().Shown().size(), 1u);
        EXPECT_EQ(run.Dialogs().Shown()[0].titleSjis, "クリア確認");
        EXPECT_EQ(count, answer == 1 ? 1 : 3) << answer;
    }
}

TEST(PopupMenu, FontAndWindowFrameCommandsReachTheirOperations)
{
    UseFonts(3);
    std::int32_t font = -1;
    Choose(MenuCommand::Font + 2, {}, [&](EngineRun&) { font = CFontList::GetInstance().GetCurrent(); });
    EXPECT_EQ(font, 2);
    // Frame 3 of a game without window frames is refused without harm.
    const CommandRun frame = Choose(MenuCommand::WindowFrame + 3, {}, {}, false);
    EXPECT_EQ(frame.lastState, EngineState::ClickWait);
    UseFonts(0);
}

// Through the machine's fontconfig (the IPA fonts are a dependency of the
// build): the submenu offers IPA Gothic by its Japanese name. The story
// starts in IPA Gothic; choosing IPA P Gothic redraws its text in that face,
// choosing the current one changes nothing.
TEST(PopupMenu, FontSubmenuOffersTheInstalledJapaneseFacesAndAChoiceRedrawsTheText)
{
    const CTextString gothic("IPAゴシック"), proportional("IPA Pゴシック");
    for (const bool change : {true, false}) {
        GameFolder game;
        game.Put("system/option.qsd", testkit::InstantOptions);
        game.Put("data/index.txt", "あいう[L][WAIT TIME=\"100000\"]");
        EngineRun run;
        std::vector<CTextString> names;
        run.At(0, [&](EngineRun&) {
            platform::InstallFonts(std::make_unique<platform::FontconfigFonts>());
            CFontList& fonts = CFontList::GetInstance();
            fonts.Enumerate();
            names = fonts.GetNames();
            const auto at = [&](const CTextString& name) {
                return std::int32_t(std::find(names.begin(), names.end(), name) - names.begin());
            };
            fonts.SetCurrent(at(gothic));
            run.Dialogs().PushCommand(MenuCommand::Font + static_cast<std::uint32_t>(at(change ? proportional : gothic)));
        });
        run.RightClick(MenuFrame);
        run.DumpAt(MenuFrame - 1);
        run.DumpAt(MenuFrame + 5);
        run.Run(MenuFrame + 6);
        ASSERT_EQ(std::count(names.begin(), names.end(), gothic), 1);
        ASSERT_EQ(std::count(names.begin(), names.end(), proportional), 1);
        ASSERT_EQ(run.Dialogs().Menus().size(), 1u);
        const std::vector<std::string> offered = Texts(run.Dialogs().Menus()[0].menu[10].items);
        EXPECT_NE(std::find(offered.begin(), offered.end(), "IPAゴシック"), offered.end());
        EXPECT_EQ(run.dumps[MenuFrame - 1].screen != run.dumps[MenuFrame + 5].screen, change);
    }
    UseFonts(0);
}

TEST(PopupMenu, DismissedMenuLetsTheNextRightClickOpenItAgain)
{
    GameFolder game;
    game.Put("data/index.txt", ClickWaitScript);
    EngineRun run;
    run.RightClick(MenuFrame);
    run.RightClick(MenuFrame + 4);
    run.Run(MenuFrame + 10);
    EXPECT_EQ(run.Dialogs().Menus().size(), 2u);
    EXPECT_EQ(run.Tags(TagId::Set).size(), 0u) << "no click reached the wait";
}

namespace {

// A reader who, while the menu is open, does what `meanwhile` says and then
// dismisses it.
class BusyReader final : public platform::IDialogService {
public:
    explicit BusyReader(std::function<void(const std::function<void()>& idle)> meanwhile)
        : m_meanwhile(std::move(meanwhile))
    {
    }
    std::uint32_t TrackMenu(const Menu&, platform::Point) override
    {
        ++menus;
        m_meanwhile(m_idle);
        return 0;
    }
    int RunDialog(platform::Dialog& dialog) override { return dialog.cancelResult; }
    std::optional<std::string> RunFileDialog(const platform::FileDialog&) override { return std::nullopt; }
    void SetModalIdle(std::function<void()> idle) override { m_idle = std::move(idle); }

    int menus = 0;

private:
    std::function<void(const std::function<void()>&)> m_meanwhile;
    std::function<void()> m_idle;
};

} // namespace

TEST(PopupMenu, ReturnPressedInTheMenuAndStillHeldIsNoPush)
{
    GameFolder game;
    game.Put("data/index.txt", ClickWaitScript);
    EngineRun run;
    platform::ScriptedKeyboardSystem* keyboard = &run.Keyboard();
    auto owned = std::make_unique<BusyReader>([keyboard](const auto&) { keyboard->Hold(KeyCode::Enter); });
    BusyReader* reader = owned.get();
    platform::InstallDialogs(std::move(owned));
    run.RightClick(MenuFrame);
    run.Run(MenuFrame + 10);
    EXPECT_EQ(reader->menus, 1);
    EXPECT_TRUE(run.Tags(TagId::Set).empty()) << "the held Return read on";
}

TEST(PopupMenu, AppTimersRunWhileTheMenuIsOpen)
{
    GameFolder game;
    game.Put("data/index.txt", ClickWaitScript);
    EngineRun run;
    int ticks = 0;
    int ticksInMenu = 0;
    platform::VirtualClock* clock = &run.Clock();
    platform::InstallDialogs(std::make_unique<BusyReader>([&, clock](const std::function<void()>& idle) {
        const int before = ticks;
        for (int frame = 0; frame < 10; ++frame) {
            clock->Advance(20);
            idle();
        }
        ticksInMenu = ticks - before;
    }));
    run.At(MenuFrame - 1, [&](EngineRun&) {
        auto callback = kivotasuGameKit::CSmartPtr<kivotasuGameKit::function_callback>(
            new kivotasuGameKit::function_callback_v([&] { ++ticks; }));
        Engine().GetApp()->GetTimerList().Add(1, 0, 20, 0, callback);
    });
    run.RightClick(MenuFrame);
    run.Run(MenuFrame + 5);
    EXPECT_GE(ticksInMenu, 9);
}

TEST(PopupMenu, ScriptErrorBoxOkEndsTheGameAndCancelReadsOn)
{
    for (auto answer : {platform::MessageBoxAnswer::Ok, platform::MessageBoxAnswer::Cancel}) {
        GameFolder game;
        game.Put("system/option.qsd", "[SYSTEM CONTROL=\"ERROR\" NAME=\"1\"]\n");
        game.Put("data/index.txt", "[WAIT TIME=\"10\" NOSUCHKEY=\"1\"][SET VARIABLE=\"after\" ENTITY=\"1\"]あ[L]");
        EngineRun run;
        run.Answer(answer);
        run.Run(60);
        const auto shown = run.Boxes().History();
        ASSERT_FALSE(shown.empty());
        const std::string& text = shown[0].textSjis;
        EXPECT_NE(text.find("未知のキーが検出されました。"), std::string::npos);
        if (answer == platform::MessageBoxAnswer::Ok) {
            EXPECT_LT(run.frames.size(), 10u) << "the close ends the game";
        } else {
            EXPECT_EQ(run.Tags(TagId::Set).size(), 1u) << "read on after the tag";
            EXPECT_GE(run.frames.size(), 60u);
        }
    }
}

namespace {

bool IsTimeLabel(const std::string& text, const std::string& prefix)
{
    // "9" stands for a digit.
    const auto fits = [](char c, char shape) { return shape == '9' ? c >= '0' && c <= '9' : c == shape; };
    return text.starts_with(prefix) &&
           std::ranges::equal(std::string_view(text).substr(prefix.size()), std::string_view("9999/99/99 99:99:99"), fits);
}

} // namespace

TEST(PopupMenu, SavesAreLabelledWithTheirTimesAndLoadable)
{
    GameFolder game;
    game.Put("data/index.txt", ClickWaitScript);
    // A resume save and choice auto-save 2 from an earlier run.
    game.Put("Save/index.a", "[C]");
    game.Put("Save/index.s02", "[C]");
    EngineRun run;
    run.Dialogs().PushCommand(MenuCommand::SaveSlot + 3);
    run.Dialogs().PushCommand(MenuCommand::QuickSave);
    run.Dialogs().PushCommand(MenuCommand::LoadSlot + 3);
    run.RightClick(MenuFrame);
    run.RightClick(MenuFrame + 5);
    run.RightClick(MenuFrame + 10);
    run.Run(MenuFrame + 80); // loading wipes the screen for a second first

    EXPECT_TRUE(std::filesystem::exists(game.Host("Save/index.003")));
    EXPECT_TRUE(std::filesystem::exists(game.Host("Save/index.q")));
    ASSERT_EQ(run.Dialogs().Menus().size(), 3u);
    const Menu& before = run.Dialogs().Menus()[0].menu;
    const Menu& after = run.Dialogs().Menus()[2].menu;
    EXPECT_EQ(Item(before, MenuCommand::SaveSlot + 3).textSjis, "003: - NONE -");
    EXPECT_TRUE(Item(before, MenuCommand::QuickLoad).greyed);
    EXPECT_TRUE(IsTimeLabel(Item(before, MenuCommand::LoadResume).textSjis, "オートセーブデータ "));
    EXPECT_FALSE(Item(before, MenuCommand::LoadResume).greyed);
    EXPECT_TRUE(IsTimeLabel(Item(before, MenuCommand::LoadAutoSave + 2).textSjis, "02: "));
    EXPECT_FALSE(Item(before, MenuCommand::LoadAutoSave + 2).greyed);
    EXPECT_TRUE(Item(before, MenuCommand::LoadAutoSave + 1).greyed);

    EXPECT_TRUE(IsTimeLabel(Item(after, MenuCommand::SaveSlot + 3).textSjis, "003: "));
    EXPECT_TRUE(IsTimeLabel(Item(after, MenuCommand::LoadSlot + 3).textSjis, "003: "));
    EXPECT_FALSE(Item(after, MenuCommand::LoadSlot + 3).greyed);
    EXPECT_TRUE(Item(after, MenuCommand::LoadSlot + 4).greyed);
    EXPECT_FALSE(Item(after, MenuCommand::QuickLoad).greyed);

    // Loading slot 3 runs the save file: its SAVE tags bracket it.
    const auto saves = run.Tags(TagId::Save);
    ASSERT_GE(saves.size(), 2u);
    EXPECT_GT(saves.front()->frame, MenuFrame + 10);
}
