#include "platform/Dialogs.h"

#include "platform/Keyboard.h"
#include "platform/ServiceSlot.h"

#include <algorithm>

namespace platform {

namespace {

ServiceSlot<IDialogService, HeadlessDialogs>& Slot()
{
    static ServiceSlot<IDialogService, HeadlessDialogs> slot;
    return slot;
}

// The first node of a tree of items or controls that matches, depth first.
template <class Node, class Match>
Node* FindIn(std::vector<Node>& nodes, std::vector<Node> Node::*children, const Match& match)
{
    for (Node& node : nodes) {
        if (match(node))
            return &node;
        if (Node* found = FindIn(node.*children, children, match))
            return found;
    }
    return nullptr;
}

// Whether a user could choose the command: an enabled item, not inside a
// greyed submenu.
bool Choosable(const Menu& menu, std::uint32_t command)
{
    for (const MenuItem& item : menu) {
        if (item.greyed)
            continue;
        if (item.kind == MenuItem::Kind::Command && item.command == command)
            return true;
        if (item.kind == MenuItem::Kind::Submenu && Choosable(item.items, command))
            return true;
    }
    return false;
}

} // namespace

int ClampedValue(const DialogControl& control, int value)
{
    switch (control.kind) {
    case DialogControl::Kind::CheckBox:
    case DialogControl::Kind::Link:
        return value != 0 ? 1 : 0;
    case DialogControl::Kind::Radio:
        return std::clamp(value, 0, std::max(0, static_cast<int>(control.choicesSjis.size()) - 1));
    case DialogControl::Kind::Slider:
    case DialogControl::Kind::Number:
        return std::clamp(value, control.minimum, std::max(control.minimum, control.maximum));
    default:
        return value;
    }
}

MenuItem MenuItem::Command(std::uint32_t command, std::string textSjis, bool greyed)
{
    MenuItem item;
    item.command = command;
    item.textSjis = std::move(textSjis);
    item.greyed = greyed;
    return item;
}

MenuItem MenuItem::Separator()
{
    MenuItem item;
    item.kind = Kind::Separator;
    return item;
}

MenuItem MenuItem::Submenu(std::string textSjis, std::vector<MenuItem> items, bool greyed)
{
    MenuItem item;
    item.kind = Kind::Submenu;
    item.textSjis = std::move(textSjis);
    item.items = std::move(items);
    item.greyed = greyed;
    return item;
}

MenuItem* FindCommand(Menu& menu, std::uint32_t command)
{
    return FindIn(menu, &MenuItem::items,
                  [command](const MenuItem& item) { return item.kind == MenuItem::Kind::Command && item.command == command; });
}

const MenuItem* FindCommand(const Menu& menu, std::uint32_t command)
{
    return FindCommand(const_cast<Menu&>(menu), command);
}

namespace {

DialogControl Control(DialogControl::Kind kind, int id, std::string textSjis, int value = 0)
{
    DialogControl control;
    control.kind = kind;
    control.id = id;
    control.textSjis = std::move(textSjis);
    control.value = value;
    return control;
}

DialogControl Ranged(DialogControl::Kind kind, int id, int value, int minimum, int maximum)
{
    DialogControl control = Control(kind, id, {}, value);
    control.minimum = minimum;
    control.maximum = maximum;
    return control;
}

DialogControl Parent(DialogControl::Kind kind, std::string titleSjis, std::vector<DialogControl> children)
{
    DialogControl control = Control(kind, 0, std::move(titleSjis));
    control.children = std::move(children);
    return control;
}

} // namespace

DialogControl DialogControl::Label(std::string textSjis)
{
    return Control(Kind::Label, 0, std::move(textSjis));
}

DialogControl DialogControl::Link(int id, std::string textSjis)
{
    return Control(Kind::Link, id, std::move(textSjis));
}

DialogControl DialogControl::CheckBox(int id, std::string textSjis, bool checked)
{
    return Control(Kind::CheckBox, id, std::move(textSjis), checked ? 1 : 0);
}

DialogControl DialogControl::Radio(int id, std::string titleSjis, std::vector<std::string> choicesSjis, int chosen)
{
    DialogControl control = Control(Kind::Radio, id, std::move(titleSjis), chosen);
    control.choicesSjis = std::move(choicesSjis);
    return control;
}

DialogControl DialogControl::Slider(int id, int value, int minimum, int maximum, int tick, int page)
{
    DialogControl control = Ranged(Kind::Slider, id, value, minimum, maximum);
    control.tick = tick;
    control.page = page;
    return control;
}

DialogControl DialogControl::Number(int id, int value, int minimum, int maximum)
{
    return Ranged(Kind::Number, id, value, minimum, maximum);
}

DialogControl DialogControl::Group(std::string titleSjis, std::vector<DialogControl> children)
{
    return Parent(Kind::Group, std::move(titleSjis), std::move(children));
}

DialogControl DialogControl::Page(std::string titleSjis, std::vector<DialogControl> children)
{
    return Parent(Kind::Page, std::move(titleSjis), std::move(children));
}

DialogControl* FindControl(Dialog& dialog, int id)
{
    if (id == 0)
        return nullptr;
    return FindIn(dialog.controls, &DialogControl::children, [id](const DialogControl& control) { return control.id == id; });
}

const DialogControl* FindControl(const Dialog& dialog, int id)
{
    return FindControl(const_cast<Dialog&>(dialog), id);
}

int Question(std::string_view titleSjis, std::string_view textSjis,
             std::initializer_list<std::string_view> buttonsSjis, DialogIcon icon)
{
    Dialog dialog;
    dialog.titleSjis = titleSjis;
    dialog.icon = icon;
    dialog.controls.push_back(DialogControl::Label(std::string(textSjis)));
    int number = 0;
    for (std::string_view text : buttonsSjis)
        dialog.buttons.push_back({std::string(text), ++number});
    dialog.defaultResult = 1;
    dialog.cancelResult = number;
    return Dialogs().RunDialog(dialog);
}

namespace {

// The installed service's menus, dialogs and boxes, each owning the keyboard
// while it is up: the game beneath reads none of their keys.
class KeyboardOwningDialogs final : public IDialogService {
public:
    std::uint32_t TrackMenu(const Menu& menu, Point at) override
    {
        ModalKeyboard owner;
        return Slot().Get().TrackMenu(menu, at);
    }
    int RunDialog(Dialog& dialog) override
    {
        ModalKeyboard owner;
        return Slot().Get().RunDialog(dialog);
    }
    std::optional<std::string> RunFileDialog(const FileDialog& dialog) override
    {
        ModalKeyboard owner;
        return Slot().Get().RunFileDialog(dialog);
    }
    void SetModalIdle(std::function<void()> idle) override { Slot().Get().SetModalIdle(std::move(idle)); }
};

} // namespace

IDialogService& Dialogs()
{
    static KeyboardOwningDialogs dialogs;
    return dialogs;
}

void InstallDialogs(std::unique_ptr<IDialogService> service)
{
    Slot().Install(std::move(service));
}

bool HeadlessDialogs::TakeClose()
{
    if (m_closing == 0)
        return false;
    Windows().PostMessage(m_closing, WM_CLOSE, 0, 0);
    m_closing = 0;
    return true;
}

std::uint32_t HeadlessDialogs::TrackMenu(const Menu& menu, Point at)
{
    m_menus.push_back({menu, at});
    if (m_idle)
        m_idle();
    if (TakeClose() || m_commands.empty())
        return 0;
    const std::uint32_t command = m_commands.front();
    m_commands.pop_front();
    return Choosable(menu, command) ? command : 0;
}

std::optional<HeadlessDialogs::Answer> HeadlessDialogs::NextAnswer()
{
    if (m_idle)
        m_idle();
    if (TakeClose() || m_answers.empty())
        return std::nullopt;
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

int HeadlessDialogs::RunDialog(Dialog& dialog)
{
    m_shown.push_back(dialog);
    const std::optional<Answer> answer = NextAnswer();
    if (!answer)
        return dialog.cancelResult;
    for (const auto& [id, value] : answer->changes) {
        DialogControl* control = FindControl(dialog, id);
        if (!control)
            continue;
        control->value = ClampedValue(*control, value);
        if (dialog.onChange)
            dialog.onChange(*control);
    }
    if (answer->meanwhile)
        answer->meanwhile();
    return answer->result;
}

std::optional<std::string> HeadlessDialogs::RunFileDialog(const FileDialog& dialog)
{
    m_files.push_back(dialog);
    const std::optional<Answer> answer = NextAnswer();
    if (!answer)
        return std::nullopt;
    if (answer->meanwhile)
        answer->meanwhile();
    if (answer->result == 0)
        return std::nullopt;
    return answer->path.empty() ? dialog.fileNameSjis : answer->path;
}

} // namespace platform
