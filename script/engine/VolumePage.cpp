#include "script/engine/SettingPages.h"

#include <algorithm>

#include "script/engine/GlobalSettings.h"
#include "script/engine/QuiltorEngine.h"

using platform::DialogControl;

namespace {

// Hundredths of a decibel per trackbar step; the top step is full volume.
constexpr std::int32_t VolumeStep = 50;
constexpr int FullVolumePosition = 99;

// A volume below the lowest step stands at the bottom, as a trackbar holds it.
int Position(std::int32_t volume)
{
    return std::clamp(volume / VolumeStep + FullVolumePosition, 0, FullVolumePosition);
}

std::int32_t Volume(int position)
{
    return (position - FullVolumePosition) * VolumeStep;
}

} // namespace

DialogControl CVolumeDialog::Initialize()
{
    using namespace SettingControl;
    m_bgm = Position(GetBgmVolume());
    m_sound = Position(GetSoundVolume());
    return DialogControl::Page("ボリューム", {DialogControl::Group("BGM", Trackbar(Bgm, m_bgm, "小", "大")),
                                              DialogControl::Group("ボイス・効果音", Trackbar(Sound, m_sound, "小", "大"))});
}

// The music and the sound settings follow the trackbars at once, and the
// sample sounds at the new sound volume unless it is still sounding.
void CVolumeDialog::OnChange(const DialogControl& control)
{
    if (control.id == SettingControl::Bgm) m_bgm = control.value;
    else if (control.id == SettingControl::Sound) m_sound = control.value;
    else return;
    m_engine.GetBgm().SetVolume(Volume(m_bgm));
    m_engine.GetSound().SetVolume(Volume(m_sound));
    m_engine.PlayVolumeSample(Volume(m_sound));
}

// Cancel puts back the volumes heard before the trackbars moved.
void CVolumeDialog::OnNotify(const platform::Dialog& sheet, bool apply)
{
    if (apply) {
        SetBgmVolume(Volume(TrackbarPosition(sheet, SettingControl::Bgm)));
        SetSoundVolume(Volume(TrackbarPosition(sheet, SettingControl::Sound)));
    }
    m_engine.GetBgm().SetVolume(GetBgmVolume());
    m_engine.GetSound().SetVolume(GetSoundVolume());
}

// The preview is heard from its start, once at a time.
void CQuiltorEngine::PlayVolumeSample(std::int32_t volume)
{
    if (m_sampleSound.IsNull()) return;
    m_sampleSound->SetVolume(volume);
    if (m_sampleSound->IsPlay()) return;
    m_sampleSound->SetCurrentPos(0);
    m_sampleSound->Play();
}
