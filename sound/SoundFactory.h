#pragma once
// Makes every sound of the program, by the file's extension and the devices
// that can be used, and keeps the shared device objects alive while sounds
// use them. The engine holds one for its whole life; it enters itself as the
// thread's factory while it lives.

#include <cstdint>
#include <list>
#include <memory>

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "sound/DirectMusic.h"
#include "sound/DirectSound.h"
#include "sound/ISoundFactory.h"
#include "sound/WaveOutput.h"
#include "sound/WaveSoundSettings.h"

namespace kivotasuGameKit {

// The kind of sound asked of the factory.
enum SoundDevice : int {
    SilentDevice = 0,
    MidiSequencerDevice = 1,
    MidiSynthesizerDevice = 2,
    DefaultWaveDevice = 3,
    StaticWaveDevice = 4,
    StreamWaveDevice = 5,
};

class CSoundFactory : public ISoundFactory {
public:
    CSoundFactory();
    CSoundFactory(const CSoundFactory&) = delete;
    CSoundFactory& operator=(const CSoundFactory&) = delete;
    // Every sound it made must be gone by then.
    ~CSoundFactory() override;

    CSmartPtr<ISound> CreateWaveSound(bool stream) override;
    // "mid" (any case) a MIDI sound, anything else a switchable wave sound,
    // opened; the silent sound when the open fails.
    CSmartPtr<ISound> CreateSoundByFile(const CTextString& fileName) override;
    CSmartPtr<ISound> CreateDefaultWaveSound() override;
    // The MIDI device, else the fallback when that gives the silent sound.
    CSmartPtr<ISound> CreateMIDISound() override;

    virtual const std::list<ISound*>& GetSoundList() const { return m_sounds; }
    virtual void AddRefDirectSound();
    virtual void ReleaseDirectSound();
    virtual CDirectSound* GetDirectSound() { return m_directSound.object.get(); }
    virtual void AddRefDirectMusic();
    virtual void ReleaseDirectMusic();
    virtual CDirectMusic* GetDirectMusic() { return m_directMusic.object.get(); }
    virtual void AddRefWaveOutput();
    virtual void ReleaseWaveOutput();
    virtual CWaveOutput* GetWaveOutput() { return m_waveOutput.object.get(); }
    virtual void SetMIDIDevice(int device, int fallback);
    virtual CSmartPtr<CWaveSoundSettings> GetWaveSoundSettings() { return m_settings; }
    virtual void SetWaveSoundSettings(const CSmartPtr<CWaveSoundSettings>& settings);
    virtual void SetStreamDefault(bool stream) { m_streamDefault = stream; }
    virtual bool IsStreamDefault() const { return m_streamDefault; }

    CSmartPtr<ISound> CreateSound(int device);

private:
    template <class Device>
    struct CountedDevice {
        std::unique_ptr<Device> object;
        int users = 0;
    };
    class CListedSound;

    // A device made over the DirectSound object, which it keeps counted.
    template <class Device>
    void AddRefOverDirectSound(CountedDevice<Device>& device);
    template <class Device>
    void ReleaseOverDirectSound(CountedDevice<Device>& device);

    // The sound under a pointer that tells the factory when it is gone.
    CSmartPtr<ISound> Listed(ISound* sound, void (CSoundFactory::*deleted)(ISound*));
    void OnWaveSoundDeleted(ISound* sound);
    void OnMIDISoundDeleted(ISound* sound);
    void OnSoundDeleted(ISound* sound);
    bool Unlist(ISound* sound);

    CountedDevice<CDirectSound> m_directSound;
    CountedDevice<CDirectMusic> m_directMusic;
    CountedDevice<CWaveOutputDirectSound> m_waveOutput;
    std::list<ISound*> m_sounds;
    int m_midiDevice = MidiSynthesizerDevice;
    int m_midiFallback = MidiSequencerDevice;
    CSmartPtr<CWaveSoundSettings> m_settings;
    bool m_streamDefault = false;
};

} // namespace kivotasuGameKit
