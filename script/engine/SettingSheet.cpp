#include "script/engine/QuiltorEngine.h"

#include <algorithm>
#include <memory>

#include "script/engine/SettingPages.h"

using platform::DialogControl;

namespace {

constexpr int TrackbarTicks = 20;
constexpr int TrackbarPage = 20;
constexpr int Ok = 1;
constexpr int Cancel = 2;

} // namespace

std::vector<DialogControl> Trackbar(int id, int position, const char* lowSjis, const char* highSjis, TrackbarScale scale)
{
    return {DialogControl::Label(lowSjis),
            DialogControl::Slider(id, std::clamp(position, 0, scale.maximum), 0, scale.maximum, TrackbarTicks, TrackbarPage)
                .Showing(scale.scale, scale.unitSjis)
                .OnSameLine(),
            DialogControl::Label(highSjis).OnSameLine()};
}

int TrackbarPosition(const platform::Dialog& sheet, int id)
{
    const DialogControl* control = platform::FindControl(sheet, id);
    return control ? control->value : 0;
}

// The modal sheet with OK and Cancel, no Apply: every page stores what it
// shows on OK, none on Cancel.
void CQuiltorEngine::ShowSettingDialog()
{
    std::unique_ptr<CSettingPage> pages[] = {std::make_unique<CSpeedPage>(), std::make_unique<CVolumeDialog>(*this),
                                             std::make_unique<CVersionPage>()};
    platform::Dialog sheet;
    sheet.titleSjis = "設定";
    for (auto& page : pages) sheet.controls.push_back(page->Initialize());
    sheet.buttons = {{"OK", Ok}, {"キャンセル", Cancel}};
    sheet.defaultResult = Ok;
    sheet.cancelResult = Cancel;
    sheet.onChange = [&pages](const DialogControl& control) {
        for (auto& page : pages) page->OnChange(control);
    };
    const bool apply = platform::Dialogs().RunDialog(sheet) == Ok;
    for (auto& page : pages) page->OnNotify(sheet, apply);
}
