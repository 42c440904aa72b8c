#pragma once
// Inside platform/ only: one frame of a drawn popup menu, between ImGui's
// NewFrame and Render. It behaves as a desktop's menu does: opaque panels,
// each submenu beside the item that opened it on the side with room, and the
// pointer and the keys reach the same items.

#include "platform/Dialogs.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class MenuView {
public:
    // The menu's top-left corner at the point, or its other corners where the
    // window has no room.
    MenuView(const Menu& menu, ImVec2 at) : m_menu(menu), m_at(at) {}

    // True once an item was chosen or the menu dismissed.
    bool Frame(bool first);
    // The chosen command; 0 when dismissed.
    std::uint32_t Result() const { return m_chosen; }

private:
    // An open menu: the popup itself or a submenu.
    struct Level {
        const Menu* items = nullptr;
        std::vector<std::string> labels; // UTF-8, as shown
        std::vector<float> tops;         // each item's top below the first's, then the end
        int from = -1;                   // the parent's item that opened it
        int highlighted = -1;
        bool leftward = false;           // opened to the left of its parent
        ImRect box;
        float scroll = 0;                // when taller than the window
    };
    struct Hit {
        int level = -1; // none: the pointer is outside every panel
        int item = -1;  // none: a separator, the padding, or a greyed item
    };

    Level Measured(const Menu& items, int from) const;
    void Open(int parent, int item, bool highlightFirst);
    void Keys();
    void Pointer();
    void Hover(Hit hit);
    Hit HitAt(ImVec2 point) const;
    void Move(Level& level, int from, int step);
    void Activate(int item);
    void ScrollTo(Level& level, int item);
    void Draw() const;
    float ItemTop(const Level& level, int item) const;

    const Menu& m_menu;
    ImVec2 m_at;
    std::vector<Level> m_open;
    ImVec2 m_pointer;
    // The pointer has not moved since the menu opened or a key was pressed:
    // resting on an item, it highlights and opens nothing.
    bool m_pointerIdle = true;
    Hit m_waiting; // the item the pointer rests on, to open in place of the open submenu
    double m_waitingSince = 0;
    std::uint32_t m_chosen = 0;
    bool m_done = false;
};

} // namespace platform
