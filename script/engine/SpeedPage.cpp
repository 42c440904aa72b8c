#include "script/engine/SettingPages.h"

#include "script/engine/GlobalSettings.h"

using platform::DialogControl;

namespace {

constexpr int EffectUnitMs = 10;
constexpr TrackbarScale TextScale{100, 1, "ms"};
constexpr TrackbarScale EffectScale{100, EffectUnitMs, "ms"};

std::vector<DialogControl> Section(const char* explanationSjis, std::vector<DialogControl> trackbar)
{
    trackbar.insert(trackbar.begin(), DialogControl::Label(explanationSjis));
    return trackbar;
}

} // namespace

// A TEXT time above 100 ms shows at the trackbar's end, and OK stores that end.
DialogControl CSpeedPage::Initialize()
{
    using namespace SettingControl;
    return DialogControl::Page(
        "表示速度",
        {DialogControl::Group("テキスト", Section("１文字表示あたりの待ち時間", Trackbar(Text, GetTextTime(), "0ms", "100ms", TextScale))),
         DialogControl::Group("グラフィック", Section("表示１回あたりの単位時間",
                                                      Trackbar(Effect, GetEffectTime() / EffectUnitMs, "0ms", "1000ms", EffectScale)))});
}

void CSpeedPage::OnNotify(const platform::Dialog& sheet, bool apply)
{
    if (!apply) return;
    SetTextTime(TrackbarPosition(sheet, SettingControl::Text));
    SetEffectTime(TrackbarPosition(sheet, SettingControl::Effect) * EffectUnitMs);
}
