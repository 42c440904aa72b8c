#pragma once
// The wave sounds' side of the sound device: makes their buffers with the
// factory's settings, and restores the buffers of the wave sounds when the
// application becomes active again (a device lost in between comes back).

#include <cstdint>
#include <list>

#include "frame/SmartPtr.h"
#include "frame/WinHook.h"
#include "sound/ISound.h"
#include "sound/SoundBuffer.h"
#include "sound/WaveSoundSettings.h"

namespace kivotasuGameKit {

class CDirectSound;

class CWaveOutput {
public:
    CWaveOutput();
    CWaveOutput(const CWaveOutput&) = delete;
    CWaveOutput& operator=(const CWaveOutput&) = delete;
    virtual ~CWaveOutput() = default;

    virtual int GetType() = 0;
    // A buffer to Create; the stand-by when there is no device.
    virtual CSmartPtr<ISoundBuffer> CreateBuffer() = 0;
    virtual CSmartPtr<CWaveSoundSettings> GetSettings() { return m_settings; }
    virtual void SetSettings(const CSmartPtr<CWaveSoundSettings>& settings);
    virtual std::list<ISound*>& GetSoundList() { return m_sounds; }
    // Static and streaming wave sounds only (types 3 and 4); 1 for any other.
    virtual int AddSound(ISound* sound);
    // 1 when the sound is not listed.
    virtual int RemoveSound(ISound* sound);

private:
    std::list<ISound*> m_sounds;
    CSmartPtr<CWaveSoundSettings> m_settings;
};

class CWaveOutputDirectSound : public CWaveOutput, public IWinHook {
public:
    // Throws CSyntaxException without a device object.
    explicit CWaveOutputDirectSound(CDirectSound* directSound);
    ~CWaveOutputDirectSound() override;

    int GetType() override { return 1; }
    CSmartPtr<ISoundBuffer> CreateBuffer() override;
    std::intptr_t WndProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;

private:
    CDirectSound* m_directSound;
};

} // namespace kivotasuGameKit
