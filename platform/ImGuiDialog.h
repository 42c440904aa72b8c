#pragma once
// Inside platform/ only: one frame of a drawn dialog, between ImGui's
// NewFrame and Render. It is walked by the keys as a desktop's dialog is:
// one control has the focus, shown by a frame; Tab and Shift+Tab move it
// (the row of a sheet's tabs is one stop, a group of choices another); the
// arrows act on the focused slider (Page Up, Page Down, Home and End too),
// choice group or row of tabs (Home and End too); Ctrl+Tab turns a sheet's
// page; Space presses the focused button or check box; a caption's access
// key acts on its control; Return presses the focused button, else the
// default one, which is drawn as the default; Escape cancels.

#include "platform/Dialogs.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <optional>
#include <vector>

namespace platform {

class DialogView {
public:
    explicit DialogView(Dialog& dialog) : m_dialog(dialog) {}

    // True once a button, Return, Escape or the close box has ended it.
    bool Frame(bool first);
    int Result() const { return m_result; }

private:
    // A place the focus can stand: a control, a button, or the row of tabs
    // (neither).
    struct Stop {
        DialogControl* control = nullptr;
        int button = -1;
    };

    void End(int result);
    void Keys();
    // The keys that act on the focused stop; true when one ended the dialog
    // or took Return (a link).
    bool FocusKeys(const Stop& stop);
    void AccessKeys();
    void MoveFocus(int step);
    void Focus(const DialogControl* control);
    void TurnPage(int page);
    void Changed(DialogControl& control, int value);
    // Registers the stop drawn next; its index.
    int AddStop(DialogControl* control, int button = -1);
    // The item just drawn belongs to the stop: a click on it focuses it, and
    // when it shows the stop (a group's chosen choice, the shown tab) its
    // frame shows the focus.
    void Track(int stop, bool shows = true);

    void Icon();
    void TopLevel();
    void Controls(std::vector<DialogControl>& controls);
    void Control(DialogControl& control);
    void Buttons();

    Dialog& m_dialog;
    std::optional<ImVec2> m_corner;
    std::vector<Stop> m_stops; // as the last frame drew them
    int m_focus = -1;
    bool m_focusMoved = false; // by the keys, this frame: a number field takes the typing
    std::optional<ImRect> m_focusFrame;
    bool m_sheet = false;
    int m_page = 0;
    int m_turnTo = -1; // the page asked for, until its tab shows
    bool m_done = false;
    int m_result = 0;
};

} // namespace platform
