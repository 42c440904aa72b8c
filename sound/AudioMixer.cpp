#include "sound/AudioMixer.h"

#include "frame/ErrorLog.h"
#include "platform/AudioMixer.h"
#include "platform/AudioOutput.h"

#include <algorithm>

namespace kivotasuGameKit {
namespace {

bool IsLine(std::int32_t line) { return line >= 0 && line < MixerLineCount; }

std::int32_t LineOfSource(std::uint32_t component)
{
    switch (component) {
    case platform::MixerComponent::WaveOut: return Wave;
    case platform::MixerComponent::Synthesizer: return Synth;
    case platform::MixerComponent::CompactDisc: return CD;
    default: return -1;
    }
}

} // namespace

CAudioMixer::CAudioMixer()
{
    Open();
}

CAudioMixer::~CAudioMixer()
{
    Close();
}

int CAudioMixer::Open()
{
    m_open = false;
    if (Close() != 0) return 1;
    m_mixer = platform::Audio().Mixer();
    if (!m_mixer) {
        ErrorLog.Out("CAudioMixer::Open ミキサデバイス数が 0か、エラーが発生しました");
        return 2;
    }
    if (GetDevInfo() != 0) return 4;
    for (std::int32_t line = 0; line < MixerLineCount; ++line)
        if (ReadLineValues(line) == 0) m_lines[line].saved = m_values;
    m_open = true;
    return 0;
}

int CAudioMixer::GetDevInfo()
{
    for (const platform::MixerLineInfo& destination : platform::MixerDestinations()) {
        if (destination.component != platform::MixerComponent::Speakers || GetLineControl(destination) != 0) continue;
        m_lines[Master].record = &destination;
        m_lines[Master].available = true;
        for (const platform::MixerLineInfo& source : destination.sources) {
            const std::int32_t line = LineOfSource(source.component);
            if (line < 0 || m_lines[line].available || GetLineControl(source) != 0) continue;
            m_lines[line].record = &source;
            m_lines[line].available = true;
        }
    }
    return 0;
}

int CAudioMixer::GetLineControl(const platform::MixerLineInfo& record)
{
    const platform::MixerLineValues values = m_mixer->GetLineValues(record.line);
    m_values.assign(values.begin(), values.end());
    return 0;
}

int CAudioMixer::ReadLineValues(std::int32_t line)
{
    if (!m_mixer) {
        ErrorLog.Out("CAudioMixer::ReadLineValues ミキサデバイスのハンドルがありませんでした");
        return 1;
    }
    if (!IsLine(line) || !m_lines[line].available) {
        ErrorLog.Out("CAudioMixer::ReadLineValues %dのIDのオーディオ コンポーネントは、このサウンドボードにはサポートされていませんでした",
                     line);
        return 1;
    }
    return GetLineControl(*m_lines[line].record);
}

int CAudioMixer::SetControlValue(std::int32_t line)
{
    if (!m_mixer) {
        ErrorLog.Out("CAudioMixer::SetControlValue ミキサデバイスのハンドルがありませんでした");
        return 1;
    }
    if (!IsLine(line) || !m_lines[line].available || m_values.empty()) return 1;
    platform::MixerLineValues values{};
    std::copy_n(m_values.begin(), std::min(m_values.size(), values.size()), values.begin());
    m_mixer->SetLineValues(m_lines[line].record->line, values);
    return 0;
}

int CAudioMixer::SetValues(std::int32_t line, const std::vector<std::uint32_t>& values)
{
    if (!m_open || ReadLineValues(line) != 0) return -1;
    for (std::size_t i = 0; i < m_values.size(); ++i)
        m_values[i] = i < values.size() ? std::min<std::uint32_t>(values[i], platform::MixerLineFull) : 0;
    SetControlValue(line);
    return 0;
}

int CAudioMixer::GetValues(std::int32_t line, std::vector<std::uint32_t>& values)
{
    if (!m_open || ReadLineValues(line) != 0) return -1;
    values = m_values;
    return 0;
}

int CAudioMixer::GetSavedValues(std::int32_t line, std::vector<std::uint32_t>& values)
{
    if (!m_open || !IsLine(line)) return -1;
    values = m_lines[line].saved;
    return 0;
}

int CAudioMixer::SaveValues(std::int32_t line)
{
    std::vector<std::uint32_t> values;
    if (GetValues(line, values) != 0) return 1;
    m_lines[line].saved = values;
    return 0;
}

int CAudioMixer::RestoreLine(std::int32_t line)
{
    if (!m_open) return -1;
    if (!m_mixer) return 1;
    if (ReadLineValues(line) != 0) return 2;
    const std::vector<std::uint32_t>& saved = m_lines[line].saved;
    std::copy_n(saved.begin(), std::min(saved.size(), m_values.size()), m_values.begin());
    return SetControlValue(line);
}

int CAudioMixer::SetVolumeRatio(std::int32_t line, double ratio)
{
    if (!m_open || !IsLine(line)) return -1;
    std::vector<std::uint32_t> values = m_lines[line].saved;
    // Within the values' range before the cast, so no ratio is undefined.
    for (std::uint32_t& value : values) {
        const double scaled = value * ratio;
        value = scaled > 0 ? static_cast<std::uint32_t>(std::min(scaled, double(platform::MixerLineFull))) : 0;
    }
    return SetValues(line, values);
}

int CAudioMixer::GetVolumeRatio(std::int32_t line, double& ratio)
{
    if (!m_open || !IsLine(line)) return -1;
    std::vector<std::uint32_t> values;
    if (GetValues(line, values) != 0) return 1;
    std::uint32_t current = 0;
    std::uint32_t saved = 0;
    for (std::uint32_t value : values) current += value;
    for (std::uint32_t value : m_lines[line].saved) saved += value;
    ratio = saved != 0 ? double(current) / saved : current != 0 ? 65535.0 : 0.0;
    return 0;
}

int CAudioMixer::Close()
{
    if (m_mixer) {
        // A line the device lacks has nothing to restore; asking would only
        // log that it is missing, at every close.
        for (std::int32_t line = 0; line < MixerLineCount; ++line)
            if (m_lines[line].available) RestoreLine(line);
        m_mixer.reset();
    }
    for (Line& line : m_lines) line = Line();
    m_values.clear();
    return 0;
}

} // namespace kivotasuGameKit
