#include "platform/Dialogs.h"

#include <gtest/gtest.h>

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
