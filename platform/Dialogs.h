#pragma once
// Popup menus and modal dialogs as plain data: the engine builds them, a
// service shows them over the game's last frame and answers with the chosen
// command or button. Texts are Shift-JIS; in the captions of menu items,
// buttons, check boxes, choices, groups and pages "&" before a letter marks
// its access key, as in the resources; a title, a label and a link are shown
// as they are. Every call belongs to the application thread.

#include "platform/FileDialogs.h"
#include "platform/WindowSystem.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct MenuItem {
    enum class Kind : std::uint8_t { Command, Separator, Submenu };

    Kind kind = Kind::Command;
    std::uint32_t command = 0; // Command only
    std::string textSjis;
    bool checked = false;
    bool greyed = false;
    std::vector<MenuItem> items; // Submenu only

    static MenuItem Command(std::uint32_t command, std::string textSjis, bool greyed = false);
    static MenuItem Separator();
    static MenuItem Submenu(std::string textSjis, std::vector<MenuItem> items, bool greyed = false);
};

using Menu = std::vector<MenuItem>;

// The item of a command anywhere in the menu, or null.
MenuItem* FindCommand(Menu& menu, std::uint32_t command);
const MenuItem* FindCommand(const Menu& menu, std::uint32_t command);

struct DialogControl {
    enum class Kind : std::uint8_t {
        Label,    // text
        Link,     // text that acts when clicked (onChange with value 1)
        CheckBox, // value 0 or 1
        Radio,    // a titled group of choices; value the chosen index
        Slider,   // a trackbar; value from minimum to maximum
        Number,   // a number field; value from minimum to maximum
        Group,    // a titled frame around children
        Page,     // a page of a property sheet; the top-level pages become tabs
    };

    Kind kind = Kind::Label;
    int id = 0; // the caller's control id; 0 for controls nobody reads
    std::string textSjis;
    int value = 0;
    int minimum = 0;
    int maximum = 0;
    int tick = 0; // a slider's tick frequency; 0 none
    int page = 0; // a slider's step for Page Up and Page Down; 0 a tenth of its range
    int scale = 1;        // a slider shows its value times this, in its unit
    std::string unitSjis; // a slider's unit, after the value it shows
    bool sameLine = false; // on the line of the control before it
    std::vector<std::string> choicesSjis; // Radio only
    std::vector<DialogControl> children;  // Group and Page only

    static DialogControl Label(std::string textSjis);
    static DialogControl Link(int id, std::string textSjis);
    static DialogControl CheckBox(int id, std::string textSjis, bool checked);
    static DialogControl Radio(int id, std::string titleSjis, std::vector<std::string> choicesSjis, int chosen);
    static DialogControl Slider(int id, int value, int minimum, int maximum, int tick = 0, int page = 0);
    static DialogControl Number(int id, int value, int minimum, int maximum);
    static DialogControl Group(std::string titleSjis, std::vector<DialogControl> children);
    static DialogControl Page(std::string titleSjis, std::vector<DialogControl> children);
    // This control on the line of the one before it.
    DialogControl&& OnSameLine() && { sameLine = true; return std::move(*this); }
    // This slider shown as its value times the scale, in the unit.
    DialogControl&& Showing(int shownScale, std::string shownUnitSjis) &&
    {
        scale = shownScale;
        unitSjis = std::move(shownUnitSjis);
        return std::move(*this);
    }
};

struct DialogButton {
    std::string textSjis;
    int result = 0;
};

enum class DialogIcon : std::uint8_t { None, Information, Question, Warning };

struct Dialog {
    std::string titleSjis;
    DialogIcon icon = DialogIcon::None;
    std::vector<DialogControl> controls;
    std::vector<DialogButton> buttons;
    // Results are best numbered from 1, as the resources' OK and Cancel are:
    // a default of 0 makes Return do nothing.
    int defaultResult = 0; // Return
    int cancelResult = 0;  // Escape or the close box
    // A control's value changed while the dialog is open (a trackbar moves,
    // a link is clicked); the dialog is still open.
    std::function<void(const DialogControl&)> onChange;
};

// The control with this id anywhere in the dialog, or null.
DialogControl* FindControl(Dialog& dialog, int id);
const DialogControl* FindControl(const Dialog& dialog, int id);

// The value a user can give the control: a check 0 or 1, a choice's index, a
// slider or number within its range.
int ClampedValue(const DialogControl& control, int value);

// The window's close (its close box, Alt+F4, a termination signal) while a
// menu or dialog is up ends it as dismissed or cancelled, and the close then
// reaches the window's queue: the player ends from there as from anywhere.
class IDialogService {
public:
    virtual ~IDialogService() = default;

    // Shows the menu with its top-left corner at the client point and returns
    // the chosen command, 0 when the menu is dismissed.
    virtual std::uint32_t TrackMenu(const Menu& menu, Point at) = 0;
    // Runs the dialog until a button ends it and returns that button's result
    // (cancelResult when it is closed). Control values are changed in place.
    virtual int RunDialog(Dialog& dialog) = 0;
    // Lets the user pick or name a file and returns the name as given: an
    // internal path, absolute or inside the dialog's folder; nothing when
    // cancelled. ChooseFile (FileDialogs.h) adds the extension and the checks.
    virtual std::optional<std::string> RunFileDialog(const FileDialog& dialog) = 0;
    // Called once per frame while a menu or dialog is open, so that the
    // application's timers go on; empty for none.
    virtual void SetModalIdle(std::function<void()> idle) = 0;
};

// A question of the dialog resources: the text and the buttons; the number of
// the chosen button from 1, closing it chooses the last one.
int Question(std::string_view titleSjis, std::string_view textSjis,
             std::initializer_list<std::string_view> buttonsSjis, DialogIcon icon = DialogIcon::Question);

// The installed service, the headless twin until the executable installs the
// drawn one; each of its menus, dialogs and boxes owns the keyboard while it
// is up (ModalKeyboard, Keyboard.h).
IDialogService& Dialogs();
void InstallDialogs(std::unique_ptr<IDialogService> service);

// Drawn with Dear ImGui inside the window the SDL display presents to, in a
// nested loop over the last frame; with no such window a menu is dismissed
// and a dialog cancelled at once.
std::unique_ptr<IDialogService> MakeImGuiDialogs();

// Records every menu and dialog as shown and answers from queues fed by tests
// (dialogs and file dialogs from one queue, in the order they open): a menu
// is dismissed and a dialog cancelled when its queue runs dry, and a
// command the menu greys or lacks dismisses it as a click on it would. The
// idle hook runs once per menu or dialog.
class HeadlessDialogs final : public IDialogService {
public:
    struct ShownMenu {
        Menu menu;
        Point at;
    };
    struct Answer {
        int result = 0;
        // (control id, value) set in order before the button, each reported
        // to onChange as a user's change would be.
        std::vector<std::pair<int, int>> changes = {};
        // What the reader does after the changes, with the dialog still open
        // (listens to a preview while the clock goes on, say).
        std::function<void()> meanwhile = {};
        // A file dialog: 0 cancels, any other result takes the path (empty
        // for the proposed name; relative names lie in the dialog's folder).
        std::string path = {};
    };

    std::uint32_t TrackMenu(const Menu& menu, Point at) override;
    int RunDialog(Dialog& dialog) override;
    std::optional<std::string> RunFileDialog(const FileDialog& dialog) override;
    void SetModalIdle(std::function<void()> idle) override { m_idle = std::move(idle); }

    void PushCommand(std::uint32_t command) { m_commands.push_back(command); }
    void PushAnswer(Answer answer) { m_answers.push_back(std::move(answer)); }
    void PushAnswer(int result) { m_answers.push_back({result}); }
    // A file dialog answered with OK on this name.
    void PushFile(std::string path) { m_answers.push_back({1, {}, {}, std::move(path)}); }
    // The window's close comes while the next menu or dialog is up: that one
    // ends as closed, its queued answer left for the next, and the close
    // waits in the window's queue.
    void CloseWhileUp(WindowHandle window) { m_closing = window; }

    const std::vector<ShownMenu>& Menus() const { return m_menus; }
    // Each dialog as it was opened (before the answer's changes).
    const std::vector<Dialog>& Shown() const { return m_shown; }
    const std::vector<FileDialog>& ShownFiles() const { return m_files; }

private:
    // The next answer once the idle hook ran; nothing when the queue is dry
    // or the window's close came.
    std::optional<Answer> NextAnswer();
    // Whether the window's close came while this one was up; it is queued.
    bool TakeClose();

    std::deque<std::uint32_t> m_commands;
    std::deque<Answer> m_answers;
    std::vector<ShownMenu> m_menus;
    std::vector<Dialog> m_shown;
    std::vector<FileDialog> m_files;
    std::function<void()> m_idle;
    WindowHandle m_closing = 0;
};

} // namespace platform
