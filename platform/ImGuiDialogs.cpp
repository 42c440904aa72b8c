#include "platform/Dialogs.h"

#include "platform/DrawnText.h"
#include "platform/ImGuiFileDialog.h"
#include "platform/ImGuiMenu.h"
#include "platform/ImGuiModal.h"
#include "platform/TextCodec.h"

#include <imgui.h>

#include <algorithm>
#include <array>

namespace platform {

namespace {

constexpr float WrapWidth = 520.0f;
constexpr float ButtonWidth = 88.0f;

void CollectMenu(const Menu& menu, std::set<std::uint16_t>& glyphs)
{
    for (const MenuItem& item : menu) {
        CollectCodepoints(ShownLabel(item.textSjis), glyphs);
        CollectMenu(item.items, glyphs);
    }
}

void CollectControls(const std::vector<DialogControl>& controls, std::set<std::uint16_t>& glyphs)
{
    for (const DialogControl& control : controls) {
        CollectCodepoints(ShownControlText(control), glyphs);
        CollectCodepoints(Cp932ToUtf8(control.unitSjis), glyphs);
        for (const std::string& choice : control.choicesSjis)
            CollectCodepoints(ShownLabel(choice), glyphs);
        CollectControls(control.children, glyphs);
    }
}

std::set<std::uint16_t> GlyphsOf(const Dialog& dialog)
{
    std::set<std::uint16_t> glyphs;
    CollectCodepoints(Cp932ToUtf8(dialog.titleSjis), glyphs);
    CollectControls(dialog.controls, glyphs);
    for (const DialogButton& button : dialog.buttons)
        CollectCodepoints(ShownLabel(button.textSjis), glyphs);
    CollectCodepoints("!?i", glyphs);
    return glyphs;
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

// Page Up and Page Down on the slider just drawn move it by its page, as
// they move a trackbar; 0 when neither is pressed.
int PageStep(const DialogControl& control)
{
    if (!ImGui::IsItemFocused() && !ImGui::IsItemHovered())
        return 0;
    const int page = control.page > 0 ? control.page : std::max(1, (control.maximum - control.minimum) / 10);
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_PageUp)))
        return -page;
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_PageDown)))
        return page;
    return 0;
}

class DialogView {
public:
    explicit DialogView(Dialog& dialog) : m_dialog(dialog) {}

    // True once a button, Return, Escape or the close box has ended it.
    bool Frame(bool first)
    {
        bool open = true;
        BeginCentredDialog(Cp932ToUtf8(m_dialog.titleSjis) + "###dialog", first, &open, 0, m_corner);
        Icon();
        ImGui::BeginGroup();
        TopLevel();
        ImGui::EndGroup();
        Buttons();
        ImGui::End();
        if (!open)
            End(m_dialog.cancelResult);
        else if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false))
            End(m_dialog.cancelResult);
        else if (m_dialog.defaultResult != 0 && !ImGui::GetIO().WantTextInput
                 && (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false)
                     || ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_KeyPadEnter), false)))
            End(m_dialog.defaultResult);
        return m_done;
    }

    int Result() const { return m_result; }

private:
    void End(int result)
    {
        if (m_done)
            return;
        m_done = true;
        m_result = result;
    }

    void Icon()
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

    void TopLevel()
    {
        std::vector<DialogControl>& controls = m_dialog.controls;
        const bool sheet = !controls.empty() && std::all_of(controls.begin(), controls.end(), [](const DialogControl& c) {
            return c.kind == DialogControl::Kind::Page;
        });
        if (!sheet) {
            Controls(controls);
            return;
        }
        if (ImGui::BeginTabBar("pages")) {
            for (std::size_t i = 0; i < controls.size(); ++i) {
                ImGui::PushID(static_cast<int>(i));
                if (ImGui::BeginTabItem(ShownLabel(controls[i].textSjis).c_str())) {
                    Controls(controls[i].children);
                    ImGui::EndTabItem();
                }
                ImGui::PopID();
            }
            ImGui::EndTabBar();
        }
    }

    void Controls(std::vector<DialogControl>& controls)
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

    void Changed(DialogControl& control, int value)
    {
        control.value = ClampedValue(control, value);
        if (m_dialog.onChange)
            m_dialog.onChange(control);
    }

    void Control(DialogControl& control)
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
        case DialogControl::Kind::Link:
            ImGui::TextColored(ImVec4(0.1f, 0.3f, 0.9f, 1.0f), "%s", text.c_str());
            if (ImGui::IsItemHovered())
                ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
            if (ImGui::IsItemClicked()) {
                Changed(control, 1);
                control.value = 0;
            }
            break;
        case DialogControl::Kind::CheckBox: {
            bool checked = control.value != 0;
            if (ImGui::Checkbox(text.c_str(), &checked))
                Changed(control, checked ? 1 : 0);
            break;
        }
        case DialogControl::Kind::Radio:
            GroupBox(text, [&] {
                for (std::size_t i = 0; i < control.choicesSjis.size(); ++i) {
                    const int index = static_cast<int>(i);
                    ImGui::PushID(index);
                    if (ImGui::RadioButton(ShownLabel(control.choicesSjis[i]).c_str(), control.value == index))
                        Changed(control, index);
                    ImGui::PopID();
                }
            });
            break;
        case DialogControl::Kind::Slider: {
            // One group, so that a label can stand on the slider's line.
            ImGui::BeginGroup();
            int value = control.value;
            ImGui::SetNextItemWidth(240);
            if (ImGui::SliderInt("##slider", &value, control.minimum, control.maximum, ""))
                Changed(control, value);
            else if (const int step = PageStep(control); step != 0)
                Changed(control, control.value + step);
            SliderValue(control);
            SliderTicks(control);
            ImGui::EndGroup();
            break;
        }
        case DialogControl::Kind::Number: {
            int value = control.value;
            ImGui::SetNextItemWidth(64);
            if (ImGui::InputInt("##number", &value, 0, 0))
                Changed(control, value);
            break;
        }
        case DialogControl::Kind::Group:
        case DialogControl::Kind::Page:
            GroupBox(text, [&] { Controls(control.children); });
            break;
        }
    }

    void Buttons()
    {
        const float spacing = ImGui::GetStyle().ItemSpacing.x;
        const float row = static_cast<float>(m_dialog.buttons.size()) * (ButtonWidth + spacing) - spacing;
        ImGui::Dummy(ImVec2(0, 4));
        ImGui::SetCursorPosX(std::max(ImGui::GetCursorPosX(), ImGui::GetWindowContentRegionMax().x - row));
        for (std::size_t i = 0; i < m_dialog.buttons.size(); ++i) {
            const DialogButton& button = m_dialog.buttons[i];
            ImGui::PushID(static_cast<int>(i));
            if (i > 0)
                ImGui::SameLine();
            if (ImGui::Button(ShownLabel(button.textSjis).c_str(), ImVec2(ButtonWidth, 0)))
                End(button.result);
            ImGui::PopID();
        }
    }

    Dialog& m_dialog;
    std::optional<ImVec2> m_corner;
    bool m_done = false;
    int m_result = 0;
};

class ImGuiDialogs final : public IDialogService {
public:
    std::uint32_t TrackMenu(const Menu& menu, Point at) override
    {
        std::set<std::uint16_t> glyphs;
        CollectMenu(menu, glyphs);
        MenuView view(menu, ImVec2(static_cast<float>(at.x), static_cast<float>(at.y)));
        return RunView(view, std::move(glyphs)) ? view.Result() : 0;
    }

    int RunDialog(Dialog& dialog) override
    {
        DialogView view(dialog);
        return RunView(view, GlyphsOf(dialog)) ? view.Result() : dialog.cancelResult;
    }

    std::optional<std::string> RunFileDialog(const FileDialog& dialog) override
    {
        FileDialogView view(dialog);
        return RunView(view, view.Glyphs()) ? view.Result() : std::nullopt;
    }

    void SetModalIdle(std::function<void()> idle) override { m_idle = std::move(idle); }

private:
    // Runs the view's frames in the nested loop until it is done; false
    // when there is no window to draw in or the loop ended without it. The
    // glyphs the view shows are wanted anew each frame, as a file list changes.
    template <class View> bool RunView(View& view, std::set<std::uint16_t> glyphs)
    {
        SdlFrame frame;
        if (!CurrentSdlFrame(frame))
            return false;
        ImGuiModal modal(frame, m_fonts, std::move(glyphs), m_idle);
        bool first = true;
        return modal.Run([&] {
            const bool done = view.Frame(first);
            first = false;
            if constexpr (requires { view.Glyphs(); })
                modal.Want(view.Glyphs());
            return done;
        });
    }

    ImGuiFontAtlas m_fonts;
    std::function<void()> m_idle;
};

} // namespace

std::unique_ptr<IDialogService> MakeImGuiDialogs()
{
    return std::make_unique<ImGuiDialogs>();
}

} // namespace platform
