#include "sound/MixerFader.h"

#include "frame/AppManager.h"
#include "frame/FunctionCallback.h"
#include "frame/WindowApp.h"

namespace kivotasuGameKit {
namespace {

constexpr std::uint32_t StepMs = 20;

bool IsLine(std::int32_t line) { return line >= 0 && line < MixerLineCount; }

} // namespace

CMixerFader::~CMixerFader()
{
    StopFadeTimer();
}

int CMixerFader::FadeOut(std::int32_t line, std::uint32_t ms)
{
    if (!IsLine(line)) return 0;
    MixerLineFade& fade = m_fades[line];
    fade.timer.Reset();
    fade.duration = ms;
    fade.fadingOut = true;
    if (!fade.started) m_mixer.SaveValues(line);
    StartFadeTimer();
    fade.started = true;
    StepFades();
    return 0;
}

bool CMixerFader::IsFading(std::int32_t line) const
{
    return IsLine(line) && m_fades[line].fadingOut;
}

int CMixerFader::ResetFade(std::int32_t line)
{
    if (!IsLine(line)) return 0;
    m_fades[line].fadingOut = false;
    m_fades[line].started = false;
    m_mixer.RestoreLine(line);
    return 0;
}

void CMixerFader::StepFades()
{
    bool idle = true;
    for (std::int32_t line = 0; line < MixerLineCount; ++line) {
        MixerLineFade& fade = m_fades[line];
        if (!fade.fadingOut) continue;
        // Without a mixer no step could ever end the fade, and the music waits
        // for its end: it is over at once, changing nothing.
        if (!m_mixer.IsOpen()) {
            fade.fadingOut = false;
            continue;
        }
        idle = false;
        // A fade of 0 ms is over at its first step (the ratio would divide by zero).
        const double ratio = fade.duration ? double(fade.timer.Get()) / fade.duration : 2.0;
        double level = 1.0 - ratio;
        if (ratio > 1.0) {
            level = 0.0;
            fade.fadingOut = false;
        }
        m_mixer.SetVolumeRatio(line, level);
    }
    if (idle) StopFadeTimer();
}

void CMixerFader::StartFadeTimer()
{
    if (m_timerApp) return;
    IWindowApp* app = CAppManager::GetInstance()->GetMyWindowApp();
    if (app && app->GetTimerList().Add(reinterpret_cast<std::uintptr_t>(this), StepMs, StepMs, 0,
                                       MakeCallback(this, &CMixerFader::StepFades)))
        m_timerApp = app;
}

void CMixerFader::StopFadeTimer()
{
    if (!m_timerApp) return;
    m_timerApp->GetTimerList().Remove(reinterpret_cast<std::uintptr_t>(this));
    m_timerApp = nullptr;
}

} // namespace kivotasuGameKit
