#include "platform/Dialogs.h"

#include "platform/DrawnText.h"
#include "platform/ImGuiDialog.h"
#include "platform/ImGuiFileDialog.h"
#include "platform/ImGuiMenu.h"
#include "platform/ImGuiModal.h"
#include "platform/TextCodec.h"

#include <imgui.h>

namespace platform {

namespace {

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
