#include "script/engine/QuiltorEngine.h"

#include <array>
#include <string_view>

#include "frame/SoundFactoryHolder.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/ScriptError.h"
#include "sound/SoundFactory.h"

namespace {

constexpr std::array<std::string_view, 4> SkipSettingNames = {"SKIPTEXT", "SKIPGRAPHIC", "SKIPINPUT", "SKIPCOND"};

// The skip modes of the presets 0 to 3: text, graphic, input, condition.
constexpr std::array<std::array<std::uint32_t, 4>, 4> SkipPresets = {{
    {0, 0, 0, 0},
    {1, 1, 3, 0},
    {0, 0, 2, 0},
    {2, 2, 3, 1},
}};

} // namespace

void CQuiltorEngine::SetSkipPattern(std::uint32_t pattern)
{
    m_state.SkipPattern = pattern;
    if (pattern < SkipPresets.size()) m_state.SkipModes = SkipPresets[pattern];
    else if (pattern == SkipPresets.size()) m_state.SkipModes = m_state.SkipSettings;
}

// A TIME or COLOR that is absent or not usable keeps the setting as it is.
void CQuiltorEngine::OnSystemTag(CTagAttributes& record)
{
    const std::string& control = record.GetValue(TagAttributeKey::Control).GetStr();
    std::int32_t value = 0;
    if (control == "LEGEND") {
        m_state.AddHistory(record.GetFile());
    } else if (control == "DISPLAYMODE") {
        m_state.DisplayMode = static_cast<std::uint8_t>(record.GetNameFlag());
    } else if (control == "FONT") {
        m_text.SelectFont(record.GetNameNumber());
    } else if (control == "EFFECT") {
        if (record.GetTime(value)) SetEffectTime(value);
    } else if (control == "TEXT") {
        if (record.GetTime(value)) SetTextTime(value);
    } else if (control == "SKIPPATTERN") {
        SetSkipPattern(static_cast<std::uint32_t>(record.GetNameNumber()));
    } else if (control == "ERROR") {
        CScriptError::GetInstance().SetMode(record.GetNameNumber());
    } else if (control == "OVERWRITE") {
        m_state.OverwriteCheck = static_cast<std::uint8_t>(record.GetNameFlag());
    } else if (control == "WINDOW_RGB") {
        if (record.GetColor(value)) SetWindowRGB(static_cast<std::uint32_t>(value));
    } else if (control == "ANMCURSOR") {
        m_state.AnimatedCursor = static_cast<std::uint8_t>(record.GetNameFlag());
    } else if (control == "ANTIALIAS") {
        m_text.SetAntialias(record.GetNameFlag() != 0);
    } else if (control == "STREAM") {
        // Wave sounds made from here on stream from their file through a
        // ring instead of being decoded whole.
        auto* factory = dynamic_cast<kivotasuGameKit::CSoundFactory*>(kivotasuGameKit::SoundFactoryHolder.Get().Get());
        if (factory) factory->SetStreamDefault(record.GetNameFlag() != 0);
    } else {
        for (std::size_t i = 0; i < SkipSettingNames.size(); ++i) {
            if (control == SkipSettingNames[i]) m_state.SkipSettings[i] = static_cast<std::uint32_t>(record.GetNameNumber());
        }
    }
}
