#include "platform/ImGuiMenu.h"

#include "platform/DrawnText.h"
#include "platform/ImGuiModal.h"

#include <algorithm>

namespace platform {

namespace {

constexpr float PadX = 8.0f;
constexpr float PadY = 6.0f;
constexpr float SeparatorHeight = 5.0f;
// How long the pointer rests on another item before that item takes the
// place of the open submenu: time to cross the parent on the way into it.
constexpr double SwitchSeconds = 0.3;
// Rows a notch of the wheel scrolls a menu taller than the window.
constexpr float WheelRows = 3.0f;

bool Choosable(const MenuItem& item)
{
    return item.kind != MenuItem::Kind::Separator && !item.greyed;
}

float RowHeight()
{
    return ImGui::GetFontSize() + ImGui::GetStyle().ItemSpacing.y;
}

ImU32 Opaque(ImGuiCol colour)
{
    ImVec4 value = ImGui::GetStyleColorVec4(colour);
    value.w = 1.0f;
    return ImGui::ColorConvertFloat4ToU32(value);
}

// The start of a span of the length inside [0, limit]: the preferred start
// where it fits, else the other, else the preferred one shifted inside.
float Fit(float preferred, float other, float length, float limit)
{
    const auto fits = [&](float start) { return start >= 0 && start + length <= limit; };
    if (fits(preferred))
        return preferred;
    if (fits(other))
        return other;
    return std::clamp(preferred, 0.0f, std::max(0.0f, limit - length));
}

// How far the rows of a menu taller than the window can scroll.
float MostScroll(const ImRect& box, const std::vector<float>& tops)
{
    return std::max(0.0f, tops.back() - (box.GetHeight() - 2 * PadY));
}

} // namespace

MenuView::Level MenuView::Measured(const Menu& items, int from) const
{
    Level level;
    level.items = &items;
    level.from = from;
    float height = 0, widest = 0;
    for (const MenuItem& item : items) {
        level.labels.push_back(ShownLabel(item.textSjis));
        level.tops.push_back(height);
        const bool separator = item.kind == MenuItem::Kind::Separator;
        height += separator ? SeparatorHeight : RowHeight();
        // A check mark or a submenu's arrow stands half a character after the label.
        const bool marked = item.kind == MenuItem::Kind::Submenu || item.checked;
        if (!separator)
            widest = std::max(widest,
                ImGui::CalcTextSize(level.labels.back().c_str()).x + (marked ? 1.5f * ImGui::GetFontSize() : 0.0f));
    }
    level.tops.push_back(height);
    const ImVec2 screen = ImGui::GetIO().DisplaySize;
    const ImVec2 size(std::min(PadX + widest + PadX, screen.x), std::min(height + 2 * PadY, screen.y));
    level.box = ImRect(ImVec2(0, 0), size);
    return level;
}

float MenuView::ItemTop(const Level& level, int item) const
{
    return level.box.Min.y + PadY + level.tops[static_cast<std::size_t>(item)] - level.scroll;
}

// Beside the item, on the parent's side while there is room (a nested
// submenu does not turn back over its grandparent), else on the other; its
// first item level with the parent's, shifted up where the window ends.
// With room on neither side it covers part of its parent: a nested one
// stays on its parent's side, the popup's own on the side that leaves more
// of the parent's lit item (its label) in sight, else the one that covers
// less; and where it still covers that label it stands below or above the
// lit row, if it fits there.
void MenuView::Open(int parent, int item, bool highlightFirst)
{
    m_open.resize(static_cast<std::size_t>(parent) + 1);
    const Level& up = m_open.back();
    Level level = Measured((*up.items)[static_cast<std::size_t>(item)].items, item);
    const ImVec2 size = level.box.GetSize();
    const ImVec2 screen = ImGui::GetIO().DisplaySize;
    const float right = up.box.Max.x, left = up.box.Min.x - size.x;
    const bool rightFits = right + size.x <= screen.x, leftFits = left >= 0;
    const float rightAt = std::min(right, std::max(0.0f, screen.x - size.x)), leftAt = std::max(left, 0.0f);
    // The lit row's label, and how much of it a box from x hides.
    const float top = ItemTop(up, item);
    const ImRect label(up.box.Min.x + PadX, top,
        up.box.Min.x + PadX + ImGui::CalcTextSize(up.labels[static_cast<std::size_t>(item)].c_str()).x,
        top + RowHeight());
    const auto hidden = [&](float x) { return std::max(0.0f, std::min(x + size.x, label.Max.x) - std::max(x, label.Min.x)); };
    if (rightFits || leftFits)
        level.leftward = up.leftward ? leftFits : !rightFits;
    else if (parent > 0)
        level.leftward = up.leftward;
    else
        level.leftward = hidden(leftAt) != hidden(rightAt) ? hidden(leftAt) < hidden(rightAt)
                                                           : up.box.Min.x > screen.x - up.box.Max.x;
    const float x = level.leftward ? leftAt : rightAt;
    float y = std::clamp(top - PadY, 0.0f, std::max(0.0f, screen.y - size.y));
    if (hidden(x) > 0 && y < label.Max.y && y + size.y > label.Min.y) {
        if (label.Max.y + size.y <= screen.y)
            y = label.Max.y;
        else if (label.Min.y >= size.y)
            y = label.Min.y - size.y;
    }
    level.box.Translate(ImVec2(x, y));
    if (highlightFirst)
        Move(level, -1, 1);
    m_open.push_back(std::move(level));
    m_waiting = {};
}

// The next item a user can choose, from the one given on, round the end.
void MenuView::Move(Level& level, int from, int step)
{
    const int count = static_cast<int>(level.items->size());
    for (int k = 1; k <= count; ++k) {
        const int item = ((from + step * k) % count + count) % count;
        if (Choosable((*level.items)[static_cast<std::size_t>(item)])) {
            level.highlighted = item;
            ScrollTo(level, item);
            return;
        }
    }
}

void MenuView::ScrollTo(Level& level, int item)
{
    const auto index = static_cast<std::size_t>(item);
    const float inner = level.box.GetHeight() - 2 * PadY;
    level.scroll = std::min(std::max(level.scroll, level.tops[index + 1] - inner), level.tops[index]);
}

// The highlighted item of the innermost menu: a command is chosen, a submenu
// opens on its first item.
void MenuView::Activate(int item)
{
    const Level& inner = m_open.back();
    const MenuItem& chosen = (*inner.items)[static_cast<std::size_t>(item)];
    if (chosen.kind == MenuItem::Kind::Submenu) {
        Open(static_cast<int>(m_open.size()) - 1, item, true);
    } else {
        m_chosen = chosen.command;
        m_done = true;
    }
}

// The keys act on the innermost open menu. Escape closes it, Left closes a
// submenu; Right, Return and Space open the highlighted submenu, Return and
// Space choose the highlighted command; an item's access key does what
// Return does on it.
void MenuView::Keys()
{
    Level& inner = m_open.back();
    const int count = static_cast<int>(inner.items->size());
    for (int item = 0; item < count; ++item) {
        const MenuItem& shown = (*inner.items)[static_cast<std::size_t>(item)];
        if (Choosable(shown) && AccessKeyPressed(AccessKey(shown.textSjis))) {
            m_pointerIdle = true;
            m_waiting = {};
            inner.highlighted = item;
            Activate(item);
            return;
        }
    }
    const bool down = KeyPressed(ImGuiKey_DownArrow, true), up = KeyPressed(ImGuiKey_UpArrow, true);
    const bool home = KeyPressed(ImGuiKey_Home), end = KeyPressed(ImGuiKey_End);
    const bool right = KeyPressed(ImGuiKey_RightArrow, true), left = KeyPressed(ImGuiKey_LeftArrow, true);
    const bool enter = KeyPressed(ImGuiKey_Enter) || KeyPressed(ImGuiKey_KeyPadEnter) || KeyPressed(ImGuiKey_Space);
    const bool escape = KeyPressed(ImGuiKey_Escape);
    if (!(down || up || home || end || right || left || enter || escape))
        return;
    m_pointerIdle = true;
    m_waiting = {};
    if (down || home)
        Move(inner, down ? inner.highlighted : -1, 1);
    else if (up || end)
        Move(inner, up && inner.highlighted >= 0 ? inner.highlighted : count, -1);
    else if (enter && inner.highlighted >= 0)
        Activate(inner.highlighted);
    else if (right && inner.highlighted >= 0
        && (*inner.items)[static_cast<std::size_t>(inner.highlighted)].kind == MenuItem::Kind::Submenu)
        Activate(inner.highlighted);
    else if ((left || escape) && m_open.size() > 1)
        m_open.pop_back();
    else if (escape)
        m_done = true;
}

MenuView::Hit MenuView::HitAt(ImVec2 point) const
{
    for (int depth = static_cast<int>(m_open.size()) - 1; depth >= 0; --depth) {
        const Level& level = m_open[static_cast<std::size_t>(depth)];
        if (!level.box.Contains(point))
            continue;
        if (point.y < level.box.Min.y + PadY || point.y >= level.box.Max.y - PadY)
            return {depth, -1};
        for (std::size_t item = 0; item < level.items->size(); ++item) {
            const float top = ItemTop(level, static_cast<int>(item));
            if (point.y >= top && point.y < top + level.tops[item + 1] - level.tops[item])
                return {depth, Choosable((*level.items)[item]) ? static_cast<int>(item) : -1};
        }
        return {depth, -1};
    }
    return {};
}

// The pointer on an item highlights it and opens its submenu; one on another
// item than the open submenu's replaces that once it has rested there.
void MenuView::Hover(Hit hit)
{
    if (hit.level < 0)
        return;
    const auto depth = static_cast<std::size_t>(hit.level);
    Level& level = m_open[depth];
    const bool childOpen = depth + 1 < m_open.size();
    if (hit.item < 0) {
        if (!childOpen)
            level.highlighted = -1;
        m_waiting = {};
        return;
    }
    level.highlighted = hit.item;
    if (childOpen && m_open[depth + 1].from == hit.item) {
        m_waiting = {};
        return;
    }
    if (m_waiting.level != hit.level || m_waiting.item != hit.item) {
        m_waiting = hit;
        m_waitingSince = ImGui::GetTime();
    }
    if (childOpen && ImGui::GetTime() - m_waitingSince < SwitchSeconds)
        return;
    m_open.resize(depth + 1);
    m_waiting = {};
    if ((*level.items)[static_cast<std::size_t>(hit.item)].kind == MenuItem::Kind::Submenu)
        Open(hit.level, hit.item, false);
}

// A press outside every menu dismisses them, one on a submenu's item opens it
// at once; a release on a command chooses it. Either button does, as in a
// menu tracked with the right one.
void MenuView::Pointer()
{
    const ImGuiIO& io = ImGui::GetIO();
    const Hit hit = HitAt(io.MousePos);
    if (io.MousePos.x != m_pointer.x || io.MousePos.y != m_pointer.y) {
        m_pointer = io.MousePos;
        m_pointerIdle = false;
    }
    if (io.MouseWheel != 0 && hit.level >= 0) {
        Level& level = m_open[static_cast<std::size_t>(hit.level)];
        level.scroll = std::clamp(
            level.scroll - io.MouseWheel * WheelRows * RowHeight(), 0.0f, MostScroll(level.box, level.tops));
    }
    const MenuItem* item = hit.item >= 0
        ? &(*m_open[static_cast<std::size_t>(hit.level)].items)[static_cast<std::size_t>(hit.item)]
        : nullptr;
    if (ImGui::IsMouseClicked(0)) {
        if (hit.level < 0) {
            m_done = true;
            return;
        }
        m_pointerIdle = false;
        const auto depth = static_cast<std::size_t>(hit.level);
        if (item && item->kind == MenuItem::Kind::Submenu
            && (depth + 1 == m_open.size() || m_open[depth + 1].from != hit.item))
            Open(hit.level, hit.item, false);
    }
    if (ImGui::IsMouseReleased(0) && item && item->kind == MenuItem::Kind::Command) {
        m_chosen = item->command;
        m_done = true;
        return;
    }
    if (!m_pointerIdle)
        Hover(hit);
    // A parent's highlight is the item of its open submenu, but while the
    // pointer rests on another of its items.
    for (std::size_t depth = 0; depth + 1 < m_open.size(); ++depth) {
        if (m_pointerIdle || hit.level != static_cast<int>(depth) || hit.item < 0)
            m_open[depth].highlighted = m_open[depth + 1].from;
    }
}

// Each menu opaque over its parent, its rows clipped inside its padding;
// arrows in the padding where rows of a menu taller than the window are
// scrolled out.
void MenuView::Draw() const
{
    ImDrawList* draw = ImGui::GetForegroundDrawList();
    ImFont* font = ImGui::GetFont();
    const float size = ImGui::GetFontSize();
    const float row = RowHeight();
    const float textDown = ImGui::GetStyle().ItemSpacing.y / 2;
    const ImU32 text = ImGui::GetColorU32(ImGuiCol_Text);
    for (const Level& level : m_open) {
        const ImRect& box = level.box;
        draw->AddRectFilled(box.Min, box.Max, Opaque(ImGuiCol_PopupBg));
        draw->AddRect(box.Min, box.Max, ImGui::GetColorU32(ImGuiCol_Border));
        draw->PushClipRect(ImVec2(box.Min.x, box.Min.y + PadY), ImVec2(box.Max.x, box.Max.y - PadY), true);
        for (std::size_t index = 0; index < level.items->size(); ++index) {
            const MenuItem& item = (*level.items)[index];
            const float top = ItemTop(level, static_cast<int>(index));
            if (top + row < box.Min.y || top > box.Max.y)
                continue;
            if (item.kind == MenuItem::Kind::Separator) {
                const float y = top + SeparatorHeight / 2;
                draw->AddLine(
                    ImVec2(box.Min.x + 1, y), ImVec2(box.Max.x - 1, y), ImGui::GetColorU32(ImGuiCol_Separator));
                continue;
            }
            if (static_cast<int>(index) == level.highlighted)
                draw->AddRectFilled(ImVec2(box.Min.x + 3, top), ImVec2(box.Max.x - 3, top + row),
                    ImGui::GetColorU32(ImGuiCol_HeaderHovered));
            const ImU32 ink = item.greyed ? ImGui::GetColorU32(ImGuiCol_TextDisabled) : text;
            draw->AddText(font, size, ImVec2(box.Min.x + PadX, top + textDown), ink, level.labels[index].c_str());
            const ImVec2 mark(box.Max.x - PadX - size, top + textDown);
            if (item.kind == MenuItem::Kind::Submenu)
                ImGui::RenderArrow(draw, mark, ink, ImGuiDir_Right);
            else if (item.checked)
                ImGui::RenderCheckMark(draw, ImVec2(mark.x, mark.y + size * 0.067f), ink, size * 0.866f);
        }
        draw->PopClipRect();
        const float middle = box.GetCenter().x - size * 0.25f;
        if (level.scroll > 0)
            ImGui::RenderArrow(draw, ImVec2(middle, box.Min.y), text, ImGuiDir_Up, 0.5f);
        if (level.scroll < MostScroll(box, level.tops))
            ImGui::RenderArrow(draw, ImVec2(middle, box.Max.y - size * 0.5f), text, ImGuiDir_Down, 0.5f);
    }
}

bool MenuView::Frame(bool first)
{
    if (first) {
        Level root = Measured(m_menu, -1);
        const ImVec2 size = root.box.GetSize();
        const ImVec2 screen = ImGui::GetIO().DisplaySize;
        root.box.Translate(
            ImVec2(Fit(m_at.x, m_at.x - size.x, size.x, screen.x), Fit(m_at.y, m_at.y - size.y, size.y, screen.y)));
        m_open.push_back(std::move(root));
        m_pointer = ImGui::GetIO().MousePos;
    }
    Keys();
    if (!m_done)
        Pointer();
    if (!m_done)
        Draw();
    return m_done;
}

} // namespace platform
