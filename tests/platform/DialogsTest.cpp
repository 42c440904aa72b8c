#include "platform/Dialogs.h"
#include "platform/ImGuiDialog.h"
#include "platform/ImGuiFontAtlas.h"
#include "platform/ImGuiMenu.h"
#include "platform/ImGuiModal.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>

using platform::Dialog;
using platform::DialogControl;
using platform::HeadlessDialogs;
using platform::Menu;
using platform::MenuItem;

namespace {

Menu SampleMenu()
{
    MenuItem greyedMenu = MenuItem::Submenu("load", {MenuItem::Command(300, "slot")}, true);
    return {MenuItem::Command(100, "open"), MenuItem::Separator(),
            MenuItem::Submenu("save", {MenuItem::Command(200, "slot 0"), MenuItem::Command(201, "slot 1", true)}),
            greyedMenu};
}

Dialog SampleDialog()
{
    Dialog dialog;
    dialog.titleSjis = "設定";
    dialog.controls.push_back(DialogControl::Page(
        "speed", {DialogControl::Slider(10, 5, 0, 99, 20),
                  DialogControl::Group("group", {DialogControl::Radio(11, "radio", {"a", "b", "c"}, 0),
                                                 DialogControl::CheckBox(12, "check", false).OnSameLine()})}));
    dialog.buttons = {{"OK", 1}, {"ｷｬﾝｾﾙ", 2}};
    dialog.cancelResult = 2;
    return dialog;
}

} // namespace

TEST(Dialogs, FindCommandReachesIntoSubmenusAndSkipsSeparators)
{
    Menu menu = SampleMenu();
    ASSERT_NE(platform::FindCommand(menu, 201), nullptr);
    EXPECT_EQ(platform::FindCommand(menu, 201)->textSjis, "slot 1");
    EXPECT_EQ(platform::FindCommand(menu, 300)->textSjis, "slot");
    EXPECT_EQ(platform::FindCommand(menu, 0), nullptr); // the separator has no command
    EXPECT_EQ(platform::FindCommand(menu, 999), nullptr);
}

TEST(Dialogs, HeadlessMenuAnswersOnlyWhatAUserCouldChoose)
{
    HeadlessDialogs dialogs;
    const Menu menu = SampleMenu();
    struct Case {
        std::uint32_t pushed;
        std::uint32_t expected;
    };
    // An enabled item; a greyed item; an item in a greyed submenu; no item; a separator.
    for (Case c : {Case{200, 200}, Case{201, 0}, Case{300, 0}, Case{999, 0}, Case{0, 0}}) {
        dialogs.PushCommand(c.pushed);
        EXPECT_EQ(dialogs.TrackMenu(menu, {12, 34}), c.expected) << c.pushed;
    }
    EXPECT_EQ(dialogs.TrackMenu(menu, {0, 0}), 0u); // queue dry: dismissed
    ASSERT_EQ(dialogs.Menus().size(), 6u);
    EXPECT_EQ(dialogs.Menus()[0].at.x, 12);
    EXPECT_EQ(dialogs.Menus()[0].at.y, 34);
    EXPECT_EQ(dialogs.Menus()[0].menu.size(), menu.size());
}

TEST(Dialogs, HeadlessDialogAppliesChangesWithinRangeAndReportsEach)
{
    HeadlessDialogs dialogs;
    Dialog dialog = SampleDialog();
    std::vector<std::pair<int, int>> reported;
    dialog.onChange = [&](const DialogControl& control) { reported.emplace_back(control.id, control.value); };

    std::size_t reportedBeforeButton = 0;
    dialogs.PushAnswer({1, {{10, 40}, {10, 150}, {11, 7}, {12, 5}, {77, 1}}, [&] { reportedBeforeButton = reported.size(); }});
    EXPECT_EQ(dialogs.RunDialog(dialog), 1);
    EXPECT_EQ(reportedBeforeButton, 4u) << "the reader acts after the changes, with the dialog open";
    // Out-of-range values land at the ends, as a trackbar or a radio group
    // would hold them; an unknown id changes nothing.
    const std::vector<std::pair<int, int>> expected{{10, 40}, {10, 99}, {11, 2}, {12, 1}};
    EXPECT_EQ(reported, expected);
    EXPECT_EQ(platform::FindControl(dialog, 10)->value, 99);
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(platform::FindControl(dialogs.Shown()[0], 10)->value, 5); // recorded as opened

    EXPECT_EQ(dialogs.RunDialog(dialog), 2); // queue dry: cancelled
}

TEST(Dialogs, QuestionNumbersButtonsFromOneAndClosingChoosesTheLast)
{
    auto owned = std::make_unique<HeadlessDialogs>();
    HeadlessDialogs* dialogs = owned.get();
    platform::InstallDialogs(std::move(owned));
    int idles = 0;
    dialogs->SetModalIdle([&] { ++idles; });

    dialogs->PushAnswer(1);
    EXPECT_EQ(platform::Question("上書き確認", "データを上書きしてもよろしいですか？", {"はい", "いいえ"}), 1);
    EXPECT_EQ(platform::Question("終了確認", "終了しますか？", {"はい(&Y)", "いいえ(&N)"}), 2);
    ASSERT_EQ(dialogs->Shown().size(), 2u);
    const Dialog& shown = dialogs->Shown()[1];
    EXPECT_EQ(shown.titleSjis, "終了確認");
    ASSERT_EQ(shown.controls.size(), 1u);
    EXPECT_EQ(shown.controls[0].textSjis, "終了しますか？");
    ASSERT_EQ(shown.buttons.size(), 2u);
    EXPECT_EQ(shown.buttons[1].textSjis, "いいえ(&N)");
    EXPECT_EQ(idles, 2);
    platform::InstallDialogs(nullptr);
}

namespace {

// A key pressed for one frame: its index in ImGui's key table (an SDL scan
// code, a letter's or digit's as it types) and the modifiers held.
struct Key {
    int index;
    bool ctrl = false;
    bool shift = false;
};

// The frames of a drawn menu or dialog on a 640 x 480 client area without a
// window: each key goes down in a frame of its own and up in the next.
class Frames {
public:
    Frames()
    {
        m_fonts.Include({}, 16.0f);
        m_context = platform::NewModalContext(m_fonts.Atlas(), ImVec2(640, 480));
    }
    ~Frames() { ImGui::DestroyContext(m_context); }

    // Whether the view was done by the end of the keys.
    template <class View> bool Run(View& view, const std::vector<Key>& keys)
    {
        ImGuiIO& io = ImGui::GetIO();
        bool done = false;
        // Two frames to measure and place it, then a key every other frame.
        for (std::size_t frame = 0; !done && frame < 2 * keys.size() + 4; ++frame) {
            std::fill(std::begin(io.KeysDown), std::end(io.KeysDown), false);
            io.KeyCtrl = io.KeyShift = false;
            if (frame >= 2 && frame % 2 == 0 && frame / 2 - 1 < keys.size()) {
                const Key& key = keys[frame / 2 - 1];
                io.KeysDown[key.index] = true;
                io.KeyCtrl = key.ctrl;
                io.KeyShift = key.shift;
            }
            io.DeltaTime = 1.0f / 60;
            ImGui::NewFrame();
            done = view.Frame(frame == 0);
            ImGui::Render();
        }
        return done;
    }

private:
    platform::ImGuiFontAtlas m_fonts;
    ImGuiContext* m_context;
};

} // namespace

TEST(Dialogs, DrawnDialogIsWalkedByTheKeysAsADesktopsIs)
{
    const Key tab{SDL_SCANCODE_TAB}, back{SDL_SCANCODE_TAB, false, true}, nextPage{SDL_SCANCODE_TAB, true},
        previousPage{SDL_SCANCODE_TAB, true, true}, left{SDL_SCANCODE_LEFT}, right{SDL_SCANCODE_RIGHT},
        up{SDL_SCANCODE_UP}, home{SDL_SCANCODE_HOME}, end{SDL_SCANCODE_END}, pageUp{SDL_SCANCODE_PAGEUP},
        space{SDL_SCANCODE_SPACE}, enter{SDL_SCANCODE_RETURN}, escape{SDL_SCANCODE_ESCAPE};
    // A sheet of two pages (a slider at 50 and three choices; a slider at 20
    // and a check box), or a question; OK or yes the default.
    const auto made = [](bool isSheet) {
        Dialog dialog;
        dialog.controls = {DialogControl::Label("終了しますか？")};
        dialog.buttons = {{"はい(&Y)", 1}, {"いいえ(&N)", 2}};
        if (isSheet) {
            dialog.controls = {
                DialogControl::Page("表示速度(&S)", {DialogControl::Slider(10, 50, 0, 99, 20, 20),
                                                     DialogControl::Radio(11, "入力", {"通常(&A)", "お手軽(&B)", "手ぶら(&D)"}, 0)}),
                DialogControl::Page("ボリューム(&V)", {DialogControl::Slider(13, 20, 0, 99, 20, 20),
                                                       DialogControl::CheckBox(12, "有効(&E)", false)})};
            dialog.buttons = {{"OK", 1}, {"キャンセル", 2}};
        }
        dialog.defaultResult = 1;
        dialog.cancelResult = 2;
        return dialog;
    };
    const bool sheet = true, question = false;
    struct Case {
        const char* what;
        bool sheet;
        std::vector<Key> keys;
        int result;
        std::vector<std::pair<int, int>> values; // (control id, value) at the end
    };
    const Case cases[] = {
        {"the first control has the focus, Return is OK", sheet, {right, right, left, enter}, 1, {{10, 51}, {13, 20}}},
        {"End, Page Up, Home on the slider", sheet, {end, pageUp, up, enter}, 1, {{10, 78}}},
        {"Home at the end", sheet, {home, enter}, 1, {{10, 0}}},
        {"Tab to the choices, the arrows choose round the end", sheet, {tab, up, enter}, 1, {{10, 50}, {11, 2}}},
        {"Shift+Tab to the tabs, Right turns the page, Tab to its slider", sheet, {back, right, tab, right, enter}, 1,
         {{10, 50}, {13, 21}}},
        {"Ctrl+Tab from the choices turns the page, its first control focused", sheet, {tab, nextPage, right, tab, space, enter},
         1, {{11, 0}, {13, 21}, {12, 1}}},
        {"Ctrl+Shift+Tab round the end", sheet, {previousPage, left, enter}, 1, {{10, 50}, {13, 19}}},
        {"Tab past the controls to Cancel, Return presses it", sheet, {tab, tab, tab, right, enter}, 2, {{10, 50}}},
        {"Escape cancels", sheet, {right, escape}, 2, {{10, 51}}},
        {"access keys: a choice, a page, a check box", sheet, {{SDL_SCANCODE_D}, {SDL_SCANCODE_V}, {SDL_SCANCODE_E}, enter},
         1, {{11, 2}, {12, 1}}},
        {"Return is the default", question, {enter}, 1, {}},
        {"Tab to the other button, Return presses it", question, {tab, enter}, 2, {}},
        {"Space presses the focused button", question, {tab, tab, space}, 1, {}},
        {"the access key of yes", question, {{SDL_SCANCODE_Y}}, 1, {}},
        {"the access key of no", question, {{SDL_SCANCODE_N}}, 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Dialog dialog = made(c.sheet);
        const Dialog opened = made(c.sheet);
        std::map<int, int> reported;
        dialog.onChange = [&](const DialogControl& control) { reported[control.id] = control.value; };
        Frames frames;
        platform::DialogView view(dialog);
        ASSERT_TRUE(frames.Run(view, c.keys));
        EXPECT_EQ(view.Result(), c.result);
        // Each change reported as the keys make it, as a moving trackbar's is.
        for (const auto& [id, value] : c.values) {
            EXPECT_EQ(platform::FindControl(dialog, id)->value, value) << id;
            if (value != platform::FindControl(opened, id)->value) {
                EXPECT_EQ(reported[id], value) << id;
            }
        }
    }
}

TEST(Dialogs, DrawnMenuChoosesAnItemByItsAccessKey)
{
    const Menu menu{MenuItem::Submenu("スキップ処理", {MenuItem::Command(40051, "通常のテキスト送り")}),
                    MenuItem::Command(40056, "クイックセーブ"), MenuItem::Command(44000, "履歴(&H)", true),
                    MenuItem::Command(40026, "設定(&C)..."), MenuItem::Command(40001, "終了(&X)")};
    struct Case {
        int key;
        bool done;
        std::uint32_t chosen;
    };
    for (Case c : {Case{SDL_SCANCODE_C, true, 40026}, Case{SDL_SCANCODE_X, true, 40001}, Case{SDL_SCANCODE_H, false, 0},
                   Case{SDL_SCANCODE_Q, false, 0}}) {
        SCOPED_TRACE(c.key);
        Frames frames;
        platform::MenuView view(menu, ImVec2(200, 150));
        EXPECT_EQ(frames.Run(view, {{c.key}}), c.done);
        EXPECT_EQ(view.Result(), c.chosen);
    }
}
