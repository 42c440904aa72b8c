#pragma once
// The volume lines of the mixer as the music's fades use them: four fixed
// lines found on the device, their values read and written, a saved set of
// values per line to go back to, and a line's volume as a fraction of its
// saved values. The lines are gain stages of our own mixer; the system's
// mixer is never touched.

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {
class AudioMixer;
struct MixerLineInfo;
} // namespace platform

namespace kivotasuGameKit {

enum MixerLine : std::int32_t { Master = 0, Wave = 1, Synth = 2, CD = 3 };
constexpr std::int32_t MixerLineCount = 4;

class IAudioMixer {
public:
    // 0, -1 when not open, or the result of SetValues.
    virtual int SetVolumeRatio(std::int32_t line, double ratio) = 0;
    // 0, -1.
    virtual int SetValues(std::int32_t line, const std::vector<std::uint32_t>& values) = 0;
    // 0, -1 not open, 1 no device, 2 line unusable, or the set's result.
    virtual int RestoreLine(std::int32_t line) = 0;
    // 0, 1 when the values cannot be read, -1 when not open.
    virtual int GetVolumeRatio(std::int32_t line, double& ratio) = 0;
    virtual int GetValues(std::int32_t line, std::vector<std::uint32_t>& values) = 0;
    virtual int GetSavedValues(std::int32_t line, std::vector<std::uint32_t>& values) = 0;
    // 0, 1 when the values cannot be read.
    virtual int SaveValues(std::int32_t line) = 0;
    virtual ~IAudioMixer() = default;
};

class CAudioMixer : public IAudioMixer {
public:
    // Opens at once.
    CAudioMixer();
    CAudioMixer(const CAudioMixer&) = delete;
    CAudioMixer& operator=(const CAudioMixer&) = delete;
    // Closes: every line back to its saved values.
    ~CAudioMixer() override;

    // 0 done, 1 close failed, 2 no device, 4 discovery failed.
    int Open();
    int Close();
    bool IsOpen() const { return m_open; }

    int SetVolumeRatio(std::int32_t line, double ratio) override;
    int SetValues(std::int32_t line, const std::vector<std::uint32_t>& values) override;
    int RestoreLine(std::int32_t line) override;
    int GetVolumeRatio(std::int32_t line, double& ratio) override;
    int GetValues(std::int32_t line, std::vector<std::uint32_t>& values) override;
    int GetSavedValues(std::int32_t line, std::vector<std::uint32_t>& values) override;
    int SaveValues(std::int32_t line) override;

private:
    struct Line {
        bool available = false;
        std::vector<std::uint32_t> saved;
        const platform::MixerLineInfo* record = nullptr;
    };

    int GetDevInfo();
    // Reads the record's values into the current values.
    int GetLineControl(const platform::MixerLineInfo& record);
    int ReadLineValues(std::int32_t line);
    int SetControlValue(std::int32_t line);

    Line m_lines[MixerLineCount];
    // The device's mixer; none while closed.
    std::shared_ptr<platform::AudioMixer> m_mixer;
    // The values of the line queried last, one per channel.
    std::vector<std::uint32_t> m_values;
    bool m_open = false;
};

} // namespace kivotasuGameKit
