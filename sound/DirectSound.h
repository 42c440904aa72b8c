#pragma once
// The sound device of the wave sounds: a handle on the process's mixer, which
// stays open for the whole process however often this object is made and
// destroyed. Status: 0 usable, 1 no device could be opened.

#include <memory>

namespace platform { class AudioMixer; }

namespace kivotasuGameKit {

class CDirectSound {
public:
    CDirectSound();
    ~CDirectSound();
    CDirectSound(const CDirectSound&) = delete;
    CDirectSound& operator=(const CDirectSound&) = delete;

    int GetStatus() const { return m_status; }
    // Null unless the status is 0.
    const std::shared_ptr<platform::AudioMixer>& GetMixer() const { return m_mixer; }
    // Levels mean nothing to a mixer of our own; the status is checked as
    // the callers expect.
    int SetCooperativeLevel(int level);

    // Whether a device can be opened. The process's device is opened once;
    // when that fails it is not tried again.
    static bool CanUseDirectSound();

private:
    std::shared_ptr<platform::AudioMixer> m_mixer;
    int m_status = 0;
};

} // namespace kivotasuGameKit
