#include "sound/SoundFactory.h"

#include <algorithm>

#include "frame/SoundFactoryHolder.h"
#include "frame/file/File.h"
#include "sound/MIDIOutputDM.h"
#include "sound/MIDIOutputMCI.h"
#include "sound/NullSound.h"
#include "sound/SwitchWaveSound.h"

namespace kivotasuGameKit {

class CSoundFactory::CListedSound : public CSmartHolder {
public:
    CListedSound(ISound* sound, CSoundFactory* factory, void (CSoundFactory::*deleted)(ISound*))
        : m_sound(sound), m_factory(factory), m_deleted(deleted)
    {
    }
    void DestroyObject() override
    {
        delete m_sound;
        (m_factory->*m_deleted)(m_sound);
    }

private:
    ISound* m_sound;
    CSoundFactory* m_factory;
    void (CSoundFactory::*m_deleted)(ISound*);
};

CSoundFactory::CSoundFactory()
{
    CWaveSoundSettings::MakeDefault(m_settings);
    CSoundFactoryHolder::GetMyEntry() = CSmartPtr<ISoundFactory>(this, false);
}

CSoundFactory::~CSoundFactory()
{
    // No sound is made through a factory that is gone.
    CSmartPtr<ISoundFactory>& entry = CSoundFactoryHolder::GetMyEntry();
    if (entry.Get() == this) entry.Release();
    m_settings.Release();
    m_sounds.clear();
    m_waveOutput.object.reset();
    m_directMusic.object.reset();
    m_directSound.object.reset();
}

CSmartPtr<ISound> CSoundFactory::CreateWaveSound(bool stream)
{
    return CreateSound(stream ? StreamWaveDevice : StaticWaveDevice);
}

CSmartPtr<ISound> CSoundFactory::CreateDefaultWaveSound()
{
    return CreateSound(DefaultWaveDevice);
}

CSmartPtr<ISound> CSoundFactory::CreateMIDISound()
{
    CSmartPtr<ISound> sound = CreateSound(m_midiDevice);
    if (sound->GetType() == 0) sound = CreateSound(m_midiFallback);
    return sound;
}

CSmartPtr<ISound> CSoundFactory::CreateSoundByFile(const CTextString& fileName)
{
    std::string suffix = CFile::GetSuffix(fileName.GetStr());
    MakeLower(suffix);
    CSmartPtr<ISound> sound = suffix == "mid" ? CreateMIDISound() : CreateDefaultWaveSound();
    if (sound->Open(fileName) != 0) sound.Reset(new CNullSound);
    return sound;
}

CSmartPtr<ISound> CSoundFactory::CreateSound(int device)
{
    switch (device) {
    case SilentDevice:
        return Listed(new CNullSound, &CSoundFactory::OnSoundDeleted);
    case MidiSequencerDevice:
        if (!CMIDIOutputMCI::CanUseMidiOut()) break;
        return Listed(new CMIDIOutputMCI, &CSoundFactory::OnSoundDeleted);
    case MidiSynthesizerDevice:
        if (!CDirectMusic::CanUseDirectMusic()) break;
        AddRefDirectMusic();
        return Listed(new CMIDIOutputDM(GetDirectMusic()), &CSoundFactory::OnMIDISoundDeleted);
    case DefaultWaveDevice:
    case StaticWaveDevice:
    case StreamWaveDevice: {
        if (!CDirectSound::CanUseDirectSound()) break;
        AddRefWaveOutput();
        m_waveOutput.object->SetSettings(m_settings);
        auto* sound = new CSwitchWaveSound(m_waveOutput.object.get());
        CSmartPtr<ISound> listed = Listed(sound, &CSoundFactory::OnWaveSoundDeleted);
        sound->SetStreamMode(device == DefaultWaveDevice ? m_streamDefault : device == StreamWaveDevice);
        return listed;
    }
    default:
        break;
    }
    return CSmartPtr<ISound>(new CNullSound);
}

CSmartPtr<ISound> CSoundFactory::Listed(ISound* sound, void (CSoundFactory::*deleted)(ISound*))
{
    CSmartPtr<ISound> pointer;
    pointer.Reset(sound, true, 1, false, new CListedSound(sound, this, deleted));
    m_sounds.push_back(sound);
    return pointer;
}

bool CSoundFactory::Unlist(ISound* sound)
{
    auto found = std::find(m_sounds.begin(), m_sounds.end(), sound);
    if (found == m_sounds.end()) return false;
    m_sounds.erase(found);
    return true;
}

void CSoundFactory::OnWaveSoundDeleted(ISound* sound)
{
    if (Unlist(sound)) ReleaseWaveOutput();
}

void CSoundFactory::OnMIDISoundDeleted(ISound* sound)
{
    if (Unlist(sound)) ReleaseDirectMusic();
}

void CSoundFactory::OnSoundDeleted(ISound* sound)
{
    Unlist(sound);
}

void CSoundFactory::AddRefDirectSound()
{
    if (m_directSound.users++ == 0) m_directSound.object = std::make_unique<CDirectSound>();
}

void CSoundFactory::ReleaseDirectSound()
{
    if (m_directSound.users > 0 && --m_directSound.users == 0) m_directSound.object.reset();
}

template <class Device>
void CSoundFactory::AddRefOverDirectSound(CountedDevice<Device>& device)
{
    AddRefDirectSound();
    if (device.users++ == 0) device.object = std::make_unique<Device>(GetDirectSound());
}

template <class Device>
void CSoundFactory::ReleaseOverDirectSound(CountedDevice<Device>& device)
{
    if (device.users > 0 && --device.users == 0) device.object.reset();
    ReleaseDirectSound();
}

void CSoundFactory::AddRefDirectMusic()
{
    AddRefOverDirectSound(m_directMusic);
}

void CSoundFactory::ReleaseDirectMusic()
{
    ReleaseOverDirectSound(m_directMusic);
}

void CSoundFactory::AddRefWaveOutput()
{
    AddRefOverDirectSound(m_waveOutput);
}

void CSoundFactory::ReleaseWaveOutput()
{
    ReleaseOverDirectSound(m_waveOutput);
}

void CSoundFactory::SetMIDIDevice(int device, int fallback)
{
    m_midiDevice = device;
    m_midiFallback = fallback;
}

void CSoundFactory::SetWaveSoundSettings(const CSmartPtr<CWaveSoundSettings>& settings)
{
    if (settings.Get() != m_settings.Get()) m_settings = settings;
}

} // namespace kivotasuGameKit
