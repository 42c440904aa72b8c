#pragma once
// Fades of the mixer's lines: a line's volume goes from its saved values down
// to silence over a time, stepped by a 20 ms timed callback of the calling
// thread's application, so a fade moves only while that thread pumps its
// messages. The timer is there from the first fade until every line is idle.

#include <cstdint>

#include "frame/Timer.h"
#include "sound/AudioMixer.h"

namespace kivotasuGameKit {

class IWindowApp;

class CMixerFader {
public:
    CMixerFader() = default;
    CMixerFader(const CMixerFader&) = delete;
    CMixerFader& operator=(const CMixerFader&) = delete;
    ~CMixerFader();

    // From the line's volume now to silence over ms, stepped once at once. A
    // second fade during the first keeps the first one's saved values. A fade
    // of 0 ms, or one while the mixer is not open, is over at once.
    int FadeOut(std::int32_t line, std::uint32_t ms);
    bool IsFading(std::int32_t line) const;
    // Ends the line's fade and gives it back its saved volume.
    int ResetFade(std::int32_t line);
    void StepFades();
    void StartFadeTimer();
    void StopFadeTimer();

    CAudioMixer& GetMixer() { return m_mixer; }

private:
    struct MixerLineFade {
        CTimer timer;
        std::uint32_t duration = 0;
        bool fadingOut = false;
        // The fade has saved the line's values.
        bool started = false;
    };

    CAudioMixer m_mixer;
    MixerLineFade m_fades[MixerLineCount];
    // The application the timer is registered with; none while it is not.
    IWindowApp* m_timerApp = nullptr;
};

} // namespace kivotasuGameKit
