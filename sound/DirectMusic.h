#pragma once
// The MIDI performance every synthesiser-face MIDI sound plays through: the
// process's synthesiser, and the master volume the sounds share. Status: 0
// usable, 2 no synthesiser (no sound device).

#include <cstdint>
#include <memory>

namespace platform { class MidiSynth; }

namespace kivotasuGameKit {

class CDirectSound;

class CDirectMusic {
public:
    explicit CDirectMusic(CDirectSound* directSound);
    CDirectMusic(const CDirectMusic&) = delete;
    CDirectMusic& operator=(const CDirectMusic&) = delete;

    int GetStatus() const { return m_status; }
    // Hundredths of a decibel, as given.
    void SetMasterVolume(std::int32_t volume) { m_volume = volume; }
    std::int32_t GetMasterVolume() const { return m_volume; }
    // The master volume as a gain, 0..1.
    float MasterGain() const;

    static bool CanUseDirectMusic();

private:
    std::shared_ptr<platform::MidiSynth> m_synth;
    std::int32_t m_volume = 0;
    int m_status = 0;
};

} // namespace kivotasuGameKit
