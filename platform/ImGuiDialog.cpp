#include "platform/ImGuiDialog.h"

#include "platform/DrawnText.h"
#include "platform/ImGuiModal.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <array>

namespace platform {

namespace {

constexpr float WrapWidth = 520.0f;
constexpr float ButtonWidth = 88.0f;

bool ReturnPressed()
{
    return KeyPressed(ImGuiKey_Enter) || KeyPressed(ImGuiKey_KeyPadEnter);
}

// -1 for Left or Up, 1 for Right or Down (each repeating while held), else 0.
int ArrowStep()
{
    if (KeyPressed(ImGuiKey_LeftArrow, true) || KeyPressed(ImGuiKey_UpArrow, true))
        return -1;
    if (KeyPressed(ImGuiKey_RightArrow, true) || KeyPressed(ImGuiKey_DownArrow, true))
        return 1;
    return 0;
}

bool Accessed(const std::string& captionSjis)
{
    const char key = AccessKey(captionSjis);
    return key != 0 && AccessKeyPressed(key);
}

// A titled frame around what body draws, as a Windows group box; one item
// with its frame, so that the next control can stand on its line.
template <class Body> void GroupBox(const std::string& title, Body body)
{
    ImGui::BeginGroup();
    ImGui::BeginGroup();
    ImGui::TextUnformatted(title.c_str());
    ImGui::Indent();
    body();
    ImGui::Unindent();
    ImGui::EndGroup();
    const ImVec2 padding = ImGui::GetStyle().FramePadding;
    const ImVec2 low = ImGui::GetItemRectMin();
    const ImVec2 high = ImGui::GetItemRectMax();
    // The top edge stops short of the title and goes on after it.
    const float left = low.x - padding.x, right = high.x + padding.x;
    const float top = low.y + ImGui::GetTextLineHeight() * 0.5f, bottom = high.y + padding.y;
    const float titleEnd = std::min(right, low.x + ImGui::CalcTextSize(title.c_str()).x + 2);
    const ImU32 colour = ImGui::GetColorU32(ImGuiCol_Border);
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddPolyline(std::array{ImVec2(std::max(left, low.x - 2), top), ImVec2(left, top), ImVec2(left, bottom), ImVec2(right, bottom),
                                 ImVec2(right, top), ImVec2(titleEnd, top)}.data(),
                      6, colour, ImDrawFlags_None, 1.0f);
    ImGui::Dummy(ImVec2(padding.x, padding.y));
    ImGui::EndGroup();
}

// The value of the slider just drawn, inside it on the side its thumb is
// not, so that the thumb never covers it.
void SliderValue(const DialogControl& control)
{
    const ImVec2 low = ImGui::GetItemRectMin();
    const ImVec2 high = ImGui::GetItemRectMax();
    const std::string value = ShownSliderValue(control);
    const ImVec2 size = ImGui::CalcTextSize(value.c_str());
    const float inset = ImGui::GetStyle().GrabMinSize + ImGui::GetStyle().FramePadding.x * 2;
    const int span = std::max(1, control.maximum - control.minimum);
    const bool thumbRight = 2 * (control.value - control.minimum) > span;
    const float x = thumbRight ? low.x + inset : high.x - inset - size.x;
    ImGui::GetWindowDrawList()->AddText(ImVec2(x, (low.y + high.y - size.y) * 0.5f), ImGui::GetColorU32(ImGuiCol_Text),
                                        value.c_str());
}

// Tick marks under the slider just drawn.
void SliderTicks(const DialogControl& control)
{
    const int span = control.maximum - control.minimum;
    if (control.tick <= 0 || span <= 0)
        return;
    const ImVec2 low = ImGui::GetItemRectMin();
    const ImVec2 high = ImGui::GetItemRectMax();
    const float grab = ImGui::GetStyle().GrabMinSize * 0.5f + ImGui::GetStyle().FramePadding.x * 0.5f;
    ImDrawList* draw = ImGui::GetWindowDrawList();
    // Both ends carry a tick, as a trackbar's do.
    for (int value = control.minimum; value <= control.maximum;
         value = value < control.maximum ? std::min(value + control.tick, control.maximum) : value + 1) {
        const float x = low.x + grab + (high.x - low.x - 2 * grab) * static_cast<float>(value - control.minimum) / span;
        draw->AddLine(ImVec2(x, high.y + 1), ImVec2(x, high.y + 5), ImGui::GetColorU32(ImGuiCol_Text));
    }
    ImGui::Dummy(ImVec2(0, 4));
}

} // namespace

bool DialogView::Frame(bool first)
{
    if (!first)
        Keys();
    if (m_done)
        return true;
    m_stops.clear();
    m_focusFrame.reset();
    bool open = true;
    // The keys are the dialog's own, not ImGui's navigation.
    BeginCentredDialog(Cp932ToUtf8(m_dialog.titleSjis) + "###dialog", first, &open, ImGuiWindowFlags_NoNavInputs, m_corner);
    Icon();
    ImGui::BeginGroup();
    TopLevel();
    ImGui::EndGroup();
    Buttons();
    if (m_focusFrame) {
        m_focusFrame->Expand(2.0f);
        ImGui::GetWindowDrawList()->AddRect(m_focusFrame->Min, m_focusFrame->Max, ImGui::GetColorU32(ImGuiCol_Text));
    }
    ImGui::End();
    m_focusMoved = false;
    // At first the focus is on the first control, else on the default button.
    if (first) {
        const auto control = std::find_if(m_stops.begin(), m_stops.end(), [](const Stop& stop) { return stop.control; });
        const auto button = std::find_if(m_stops.begin(), m_stops.end(), [&](const Stop& stop) {
            return stop.button >= 0 && m_dialog.buttons[static_cast<std::size_t>(stop.button)].result == m_dialog.defaultResult;
        });
        m_focus = static_cast<int>((control != m_stops.end() ? control : button) - m_stops.begin());
        m_focusMoved = true;
    }
    if (!open)
        End(m_dialog.cancelResult);
    return m_done;
}

void DialogView::End(int result)
{
    if (m_done)
        return;
    m_done = true;
    m_result = result;
}

void DialogView::Changed(DialogControl& control, int value)
{
    control.value = ClampedValue(control, value);
    if (m_dialog.onChange)
        m_dialog.onChange(control);
}

void DialogView::Keys()
{
    const ImGuiIO& io = ImGui::GetIO();
    if (KeyPressed(ImGuiKey_Escape)) {
        End(m_dialog.cancelResult);
        return;
    }
    if (io.KeyCtrl) {
        // Ctrl+Tab and Ctrl+Page Down turn to the next page, Ctrl+Shift+Tab
        // and Ctrl+Page Up back, round the ends.
        const bool tab = KeyPressed(ImGuiKey_Tab, true), back = KeyPressed(ImGuiKey_PageUp, true);
        const int pages = static_cast<int>(m_dialog.controls.size());
        if (m_sheet && (tab || back || KeyPressed(ImGuiKey_PageDown, true)))
            TurnPage((m_page + ((tab && io.KeyShift) || back ? pages - 1 : 1)) % pages);
        return;
    }
    if (KeyPressed(ImGuiKey_Tab, true)) {
        MoveFocus(io.KeyShift ? -1 : 1);
        return;
    }
    if (m_focus >= 0 && m_focus < static_cast<int>(m_stops.size()) && FocusKeys(m_stops[static_cast<std::size_t>(m_focus)]))
        return;
    if (ReturnPressed() && m_dialog.defaultResult != 0) {
        End(m_dialog.defaultResult);
        return;
    }
    AccessKeys();
}

bool DialogView::FocusKeys(const Stop& stop)
{
    const int step = ArrowStep();
    const bool space = KeyPressed(ImGuiKey_Space);
    if (stop.button >= 0) {
        if (space || ReturnPressed())
            End(m_dialog.buttons[static_cast<std::size_t>(stop.button)].result);
        return m_done;
    }
    if (!stop.control) {
        const int last = static_cast<int>(m_dialog.controls.size()) - 1;
        if (step != 0 || KeyPressed(ImGuiKey_Home) || KeyPressed(ImGuiKey_End))
            TurnPage(step != 0 ? std::clamp(m_page + step, 0, last) : KeyPressed(ImGuiKey_Home) ? 0 : last);
        return false;
    }
    DialogControl& control = *stop.control;
    const auto set = [&](int value) {
        if (ClampedValue(control, value) != control.value)
            Changed(control, value);
    };
    const int page = control.page > 0 ? control.page : std::max(1, (control.maximum - control.minimum) / 10);
    const int choices = static_cast<int>(control.choicesSjis.size());
    switch (control.kind) {
    case DialogControl::Kind::Slider:
        if (step != 0)
            set(control.value + step);
        else if (KeyPressed(ImGuiKey_PageUp, true) || KeyPressed(ImGuiKey_PageDown, true))
            set(control.value + (KeyPressed(ImGuiKey_PageUp, true) ? -page : page));
        else if (KeyPressed(ImGuiKey_Home) || KeyPressed(ImGuiKey_End))
            set(KeyPressed(ImGuiKey_Home) ? control.minimum : control.maximum);
        return false;
    case DialogControl::Kind::Radio:
        if (step != 0 && choices > 0)
            set((control.value + step + choices) % choices);
        return false;
    case DialogControl::Kind::CheckBox:
        if (space)
            set(control.value != 0 ? 0 : 1);
        return false;
    case DialogControl::Kind::Link:
        if (!space && !ReturnPressed())
            return false;
        Changed(control, 1);
        control.value = 0;
        return true;
    default:
        return false;
    }
}

// A caption's access key acts on its control: a button is pressed, a page
// turned to, a check box toggled, a choice made; the focus goes there.
void DialogView::AccessKeys()
{
    const ImGuiIO& io = ImGui::GetIO();
    // A number field typed into takes the letters, but with Alt.
    if (io.WantTextInput && !io.KeyAlt)
        return;
    for (const DialogButton& button : m_dialog.buttons) {
        if (Accessed(button.textSjis)) {
            End(button.result);
            return;
        }
    }
    for (std::size_t page = 0; m_sheet && page < m_dialog.controls.size(); ++page) {
        if (Accessed(m_dialog.controls[page].textSjis)) {
            TurnPage(static_cast<int>(page));
            Focus(nullptr);
            return;
        }
    }
    for (const Stop& stop : m_stops) {
        if (!stop.control)
            continue;
        DialogControl& control = *stop.control;
        if (control.kind == DialogControl::Kind::CheckBox && Accessed(control.textSjis)) {
            Focus(&control);
            Changed(control, control.value != 0 ? 0 : 1);
            return;
        }
        for (std::size_t choice = 0; control.kind == DialogControl::Kind::Radio && choice < control.choicesSjis.size(); ++choice) {
            if (Accessed(control.choicesSjis[choice])) {
                Focus(&control);
                Changed(control, static_cast<int>(choice));
                return;
            }
        }
    }
}

void DialogView::MoveFocus(int step)
{
    const int stops = static_cast<int>(m_stops.size());
    if (stops == 0)
        return;
    m_focus = ((m_focus + step) % stops + stops) % stops;
    m_focusMoved = true;
    // A number field typed into gives the typing up with the focus.
    if (ImGui::GetIO().WantTextInput)
        ImGui::ClearActiveID();
}

// The focus on the control's stop (null: the row of tabs).
void DialogView::Focus(const DialogControl* control)
{
    const auto found = std::find_if(m_stops.begin(), m_stops.end(),
                                    [&](const Stop& stop) { return stop.control == control && stop.button < 0; });
    if (found != m_stops.end())
        MoveFocus(static_cast<int>(found - m_stops.begin()) - m_focus);
}

// The tab of the page shows from the next frame on, as ImGui turns pages.
void DialogView::TurnPage(int page)
{
    if (page != m_page)
        m_turnTo = page;
}

int DialogView::AddStop(DialogControl* control, int button)
{
    m_stops.push_back({control, button});
    return static_cast<int>(m_stops.size()) - 1;
}

void DialogView::Track(int stop, bool shows)
{
    if (ImGui::IsItemActivated() || ImGui::IsItemClicked())
        m_focus = stop;
    if (stop == m_focus && shows)
        m_focusFrame = ImRect(ImGui::GetItemRectMin(), ImGui::GetItemRectMax());
}

void DialogView::Icon()
{
    const char* mark = m_dialog.icon == DialogIcon::Warning ? "!"
                       : m_dialog.icon == DialogIcon::Question ? "?"
                       : m_dialog.icon == DialogIcon::Information ? "i"
                                                                  : nullptr;
    if (!mark)
        return;
    const float size = ImGui::GetTextLineHeight() * 2;
    const ImVec2 at = ImGui::GetCursorScreenPos();
    const ImU32 colour = m_dialog.icon == DialogIcon::Warning ? IM_COL32(230, 170, 0, 255) : IM_COL32(30, 90, 200, 255);
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddCircleFilled(ImVec2(at.x + size / 2, at.y + size / 2), size / 2, colour);
    const ImVec2 text = ImGui::CalcTextSize(mark);
    draw->AddText(ImVec2(at.x + (size - text.x) / 2, at.y + (size - text.y) / 2), IM_COL32_WHITE, mark);
    ImGui::Dummy(ImVec2(size, size));
    ImGui::SameLine(0, size / 2);
}

// A sheet's pages as tabs, the row of them one stop before the page's controls.
void DialogView::TopLevel()
{
    std::vector<DialogControl>& controls = m_dialog.controls;
    m_sheet = !controls.empty() && std::all_of(controls.begin(), controls.end(), [](const DialogControl& c) {
        return c.kind == DialogControl::Kind::Page;
    });
    if (!m_sheet) {
        Controls(controls);
        return;
    }
    if (!ImGui::BeginTabBar("pages"))
        return;
    const int tabs = AddStop(nullptr);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const int page = static_cast<int>(i);
        ImGui::PushID(page);
        const bool shown = ImGui::BeginTabItem(ShownLabel(controls[i].textSjis).c_str(), nullptr,
                                               page == m_turnTo ? ImGuiTabItemFlags_SetSelected : 0);
        Track(tabs, shown);
        if (shown) {
            // Turned by a click or by the keys: a focus on the old page's
            // controls goes to the new page's first.
            if (page != m_page && m_focus > tabs) {
                m_focus = tabs + 1;
                m_focusMoved = true;
            }
            m_page = page;
            if (m_turnTo == page)
                m_turnTo = -1;
            Controls(controls[i].children);
            ImGui::EndTabItem();
        }
        ImGui::PopID();
    }
    ImGui::EndTabBar();
}

void DialogView::Controls(std::vector<DialogControl>& controls)
{
    for (std::size_t i = 0; i < controls.size(); ++i) {
        ImGui::PushID(static_cast<int>(i));
        // Room for a group box's frame, which stands out of its item.
        if (controls[i].sameLine)
            ImGui::SameLine(0, ImGui::GetStyle().ItemSpacing.x + 2 * ImGui::GetStyle().FramePadding.x);
        Control(controls[i]);
        ImGui::PopID();
    }
}

void DialogView::Control(DialogControl& control)
{
    const std::string text = ShownControlText(control);
    switch (control.kind) {
    case DialogControl::Kind::Label:
        // ImGui wraps only at blanks: a long path would break inside a name.
        ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + WrapWidth);
        ImGui::TextUnformatted(BrokenLines(text, WrapWidth, [](std::string_view line) {
                                   return ImGui::CalcTextSize(line.data(), line.data() + line.size()).x;
                               }).c_str());
        ImGui::PopTextWrapPos();
        break;
    case DialogControl::Kind::Link: {
        const int stop = AddStop(&control);
        ImGui::TextColored(ImVec4(0.1f, 0.3f, 0.9f, 1.0f), "%s", text.c_str());
        if (ImGui::IsItemHovered())
            ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
        if (ImGui::IsItemClicked()) {
            Changed(control, 1);
            control.value = 0;
        }
        Track(stop);
        break;
    }
    case DialogControl::Kind::CheckBox: {
        const int stop = AddStop(&control);
        bool checked = control.value != 0;
        if (ImGui::Checkbox(text.c_str(), &checked))
            Changed(control, checked ? 1 : 0);
        Track(stop);
        break;
    }
    case DialogControl::Kind::Radio: {
        const int stop = AddStop(&control);
        GroupBox(text, [&] {
            for (std::size_t i = 0; i < control.choicesSjis.size(); ++i) {
                const int index = static_cast<int>(i);
                ImGui::PushID(index);
                if (ImGui::RadioButton(ShownLabel(control.choicesSjis[i]).c_str(), control.value == index))
                    Changed(control, index);
                Track(stop, control.value == index);
                ImGui::PopID();
            }
        });
        break;
    }
    case DialogControl::Kind::Slider: {
        const int stop = AddStop(&control);
        // One group, so that a label can stand on the slider's line.
        ImGui::BeginGroup();
        int value = control.value;
        ImGui::SetNextItemWidth(240);
        if (ImGui::SliderInt("##slider", &value, control.minimum, control.maximum, "", ImGuiSliderFlags_NoInput))
            Changed(control, value);
        Track(stop);
        SliderValue(control);
        SliderTicks(control);
        ImGui::EndGroup();
        break;
    }
    case DialogControl::Kind::Number: {
        const int stop = AddStop(&control);
        if (stop == m_focus && m_focusMoved)
            ImGui::SetKeyboardFocusHere();
        int value = control.value;
        ImGui::SetNextItemWidth(64);
        if (ImGui::InputInt("##number", &value, 0, 0))
            Changed(control, value);
        Track(stop);
        break;
    }
    case DialogControl::Kind::Group:
    case DialogControl::Kind::Page:
        GroupBox(text, [&] { Controls(control.children); });
        break;
    }
}

// The default button, drawn as such, is the focused one, else the dialog's.
void DialogView::Buttons()
{
    const float spacing = ImGui::GetStyle().ItemSpacing.x;
    const float row = static_cast<float>(m_dialog.buttons.size()) * (ButtonWidth + spacing) - spacing;
    ImGui::Dummy(ImVec2(0, 4));
    ImGui::SetCursorPosX(std::max(ImGui::GetCursorPosX(), ImGui::GetWindowContentRegionMax().x - row));
    const int first = static_cast<int>(m_stops.size());
    const int focused = m_focus - first;
    const bool buttonFocused = focused >= 0 && focused < static_cast<int>(m_dialog.buttons.size());
    for (std::size_t i = 0; i < m_dialog.buttons.size(); ++i) {
        const DialogButton& button = m_dialog.buttons[i];
        const int stop = AddStop(nullptr, static_cast<int>(i));
        const bool isDefault = buttonFocused ? stop == m_focus : button.result == m_dialog.defaultResult;
        ImGui::PushID(static_cast<int>(i));
        if (i > 0)
            ImGui::SameLine();
        if (isDefault) {
            ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
            ImGui::PushStyleColor(ImGuiCol_Border, ImGui::GetColorU32(ImGuiCol_NavHighlight));
        }
        if (ImGui::Button(ShownLabel(button.textSjis).c_str(), ImVec2(ButtonWidth, 0)))
            End(button.result);
        if (isDefault) {
            ImGui::PopStyleColor();
            ImGui::PopStyleVar();
        }
        Track(stop);
        ImGui::PopID();
    }
}

} // namespace platform
