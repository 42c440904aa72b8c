#include "platform/Dialogs.h"
#include "platform/ImGuiDialog.h"
#include "platform/ImGuiFontAtlas.h"
#include "platform/ImGuiMenu.h"
#include "platform/ImGuiModal.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <utility>

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
// code, a letter's or digit's as it types) and the modifiers held; or held
// on for frames of a second each, the system repeating it in the first ones.
struct Key {
    int index;
    bool ctrl = false;
    bool shift = false;
    int heldSeconds = 0;
    int repeats = 0;
};

// The frames of a drawn menu or dialog on a 640 x 480 client area without a
// window: each key goes down in a frame of its own (and stays down in those
// it is held) and up in the next.
class Frames {
public:
    Frames()
    {
        m_fonts.Include({}, 16.0f);
        m_context = platform::NewModalContext(m_fonts.Atlas(), ImVec2(640, 480), m_repeat);
    }
    ~Frames() { ImGui::DestroyContext(m_context); }

    // Whether the view was done by the end of the keys.
    template <class View> bool Run(View& view, const std::vector<Key>& keys)
    {
        struct Input {
            const Key* key = nullptr;
            float seconds = 1.0f / 60;
            bool repeat = false;
        };
        // Two frames to measure and place it, then the keys, then two more.
        std::vector<Input> inputs(2);
        for (const Key& key : keys) {
            inputs.push_back({&key});
            for (int second = 0; second < key.heldSeconds; ++second)
                inputs.push_back({&key, 1.0f, second < key.repeats});
            inputs.emplace_back();
        }
        inputs.resize(inputs.size() + 2);
        ImGuiIO& io = ImGui::GetIO();
        bool done = false;
        for (std::size_t frame = 0; !done && frame < inputs.size(); ++frame) {
            const Input& input = inputs[frame];
            std::fill(std::begin(io.KeysDown), std::end(io.KeysDown), false);
            io.KeyCtrl = io.KeyShift = false;
            if (input.key) {
                io.KeysDown[input.key->index] = true;
                io.KeyCtrl = input.key->ctrl;
                io.KeyShift = input.key->shift;
            }
            if (input.repeat)
                platform::RepeatKey(input.key->index);
            io.DeltaTime = input.seconds;
            ImGui::NewFrame();
            done = view.Frame(frame == 0);
            ImGui::Render();
        }
        return done;
    }

private:
    platform::ImGuiFontAtlas m_fonts;
    platform::KeyRepeat m_repeat;
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
        {"a held Right moves the slider once, however long", sheet, {{.index = SDL_SCANCODE_RIGHT, .heldSeconds = 5}, enter},
         1, {{10, 51}}},
        {"and once more at each of the system's repeats", sheet,
         {{.index = SDL_SCANCODE_RIGHT, .heldSeconds = 5, .repeats = 2}, enter}, 1, {{10, 53}}},
        {"a held Space switches the check box once, repeated or not", sheet,
         {nextPage, tab, {.index = SDL_SCANCODE_SPACE, .heldSeconds = 3, .repeats = 1}, enter}, 1, {{12, 1}}},
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

// The nested loop on SDL's dummy video driver, fed the window's key events
// once the dialog stands: a held Right, repeated twice by the system, then
// Escape. Each repeat moves the slider in a frame of its own.
TEST(Dialogs, DrawnDialogTakesEachOfTheWindowsRepeats)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("KARUTEMI", 0, 0, 640, 480, 0);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    ASSERT_NE(renderer, nullptr) << SDL_GetError();
    const auto send = [&](SDL_Scancode code, Uint32 type, Uint8 repeat) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(window);
        event.key.repeat = repeat;
        event.key.keysym.scancode = code;
        SDL_PushEvent(&event);
    };
    int frames = 0;
    const std::function<void()> idle = [&] {
        if (++frames != 2)
            return;
        send(SDL_SCANCODE_RIGHT, SDL_KEYDOWN, 0);
        send(SDL_SCANCODE_RIGHT, SDL_KEYDOWN, 1);
        send(SDL_SCANCODE_RIGHT, SDL_KEYDOWN, 1);
        send(SDL_SCANCODE_RIGHT, SDL_KEYUP, 0);
        send(SDL_SCANCODE_ESCAPE, SDL_KEYDOWN, 0);
        send(SDL_SCANCODE_ESCAPE, SDL_KEYUP, 0);
    };
    Dialog dialog = SampleDialog();
    {
        platform::ImGuiFontAtlas fonts;
        platform::ImGuiModal modal({window, renderer, nullptr, {640, 480}}, fonts, {}, idle);
        platform::DialogView view(dialog);
        bool first = true;
        EXPECT_TRUE(modal.Run([&] { return view.Frame(std::exchange(first, false)); }));
        EXPECT_EQ(view.Result(), 2);
    }
    EXPECT_EQ(platform::FindControl(dialog, 10)->value, 8);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(Dialogs, DrawnMenuChoosesAnItemByItsAccessKeyOrTheArrows)
{
    const Menu menu{MenuItem::Submenu("スキップ処理", {MenuItem::Command(40051, "通常のテキスト送り")}),
                    MenuItem::Command(40056, "クイックセーブ"), MenuItem::Command(44000, "履歴(&H)", true),
                    MenuItem::Command(40026, "設定(&C)..."), MenuItem::Command(40001, "終了(&X)")};
    const Key down{SDL_SCANCODE_DOWN}, enter{SDL_SCANCODE_RETURN};
    struct Case {
        const char* what;
        std::vector<Key> keys;
        bool done;
        std::uint32_t chosen;
    };
    const Case cases[] = {
        {"C", {{SDL_SCANCODE_C}}, true, 40026},
        {"X", {{SDL_SCANCODE_X}}, true, 40001},
        {"the greyed item's H", {{SDL_SCANCODE_H}}, false, 0},
        {"no item's Q", {{SDL_SCANCODE_Q}}, false, 0},
        {"a held Down moves once, however long", {{.index = SDL_SCANCODE_DOWN, .heldSeconds = 5}, down, enter}, true, 40056},
        {"and once more at each of the system's repeats, past the greyed item",
         {{.index = SDL_SCANCODE_DOWN, .heldSeconds = 5, .repeats = 2}, enter}, true, 40026},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Frames frames;
        platform::MenuView view(menu, ImVec2(200, 150));
        EXPECT_EQ(frames.Run(view, c.keys), c.done);
        EXPECT_EQ(view.Result(), c.chosen);
    }
}

namespace {

// ImGui's own widgets, as the file dialog uses them: a text field, focused
// first, above a list its navigation walks.
struct Widgets {
    std::array<char, 8> text{"abcd"};
    bool field = true;
    int focused = -1;

    bool Frame(bool first)
    {
        if (first)
            ImGui::GetIO().ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
        ImGui::Begin("widgets");
        if (first && field)
            ImGui::SetKeyboardFocusHere();
        ImGui::InputText("##text", text.data(), text.size());
        for (int item = 0; item < 8; ++item) {
            ImGui::PushID(item);
            ImGui::Selectable("item");
            if (ImGui::IsItemFocused())
                focused = item;
            ImGui::PopID();
        }
        ImGui::End();
        return false;
    }
};

} // namespace

TEST(Dialogs, ImGuisOwnWidgetsTakeEachOfTheSystemsRepeatsAsAPress)
{
    for (int repeats : {0, 2}) {
        SCOPED_TRACE(repeats);
        Widgets inField;
        Frames().Run(inField, {{SDL_SCANCODE_END}, {.index = SDL_SCANCODE_BACKSPACE, .heldSeconds = 4, .repeats = repeats}});
        EXPECT_EQ(std::string(inField.text.data()), std::string("abcd", 3 - repeats));
        Widgets inList{.field = false};
        Frames().Run(inList, {{SDL_SCANCODE_DOWN}, {.index = SDL_SCANCODE_DOWN, .heldSeconds = 4, .repeats = repeats}});
        EXPECT_EQ(inList.focused, 1 + repeats);
    }
}
