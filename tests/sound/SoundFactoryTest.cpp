#include "tests/sound/SoundDevice.h"

#include "frame/Exceptions.h"
#include "frame/SoundFactoryHolder.h"
#include "sound/SoundFactory.h"
#include "sound/SwitchWaveSound.h"
#include "tests/kit/AudioSignal.h"
#include "tests/sound/MidiBuilder.h"

using namespace kivotasuGameKit;

namespace {

class SoundFactoryTest : public SoundDeviceTest {};

TEST_F(SoundFactoryTest, TheExtensionChoosesMidiOnlyForMid)
{
    CSoundFactory factory;
    const std::vector<std::int16_t> tone = testkit::Sine(440, 48000, 2, 2400, 0.5);
    struct Case {
        const char* name;
        int type;
    };
    // A wave file under a MIDI name is no MIDI file: the silent sound.
    for (const Case& c : {Case{"a.mid", 0}, Case{"a.MID", 0}, Case{"a.Mid", 0}, Case{"a.midi", 5}, Case{"a.wav", 5},
                          Case{"a.mp3", 5}, Case{"a.WAV", 5}, Case{"noext", 5}, Case{"mid", 5}}) {
        const std::string name = PutWave(c.name, tone, 48000, 2);
        CSmartPtr<ISound> sound = factory.CreateSoundByFile(name);
        ASSERT_FALSE(sound.IsNull()) << c.name;
        EXPECT_EQ(sound->GetType(), c.type) << c.name;
    }
}

TEST_F(SoundFactoryTest, AMissingWaveFileGivesASwitchableSoundThatStaysSilent)
{
    CSoundFactory factory;
    CSmartPtr<ISound> sound;
    ASSERT_EQ(CSoundFactoryHolder::CreateSound(sound, folder.Name("nothere.wav")), 0);
    EXPECT_EQ(sound->GetType(), 5);
    EXPECT_EQ(sound->GetLength(), 0);
    EXPECT_EQ(sound->GetCurrentPos(), -1);
    sound->SetVolume(-600);
    sound->Play();
    EXPECT_FALSE(sound->IsPlay());
    Advance(200);
    EXPECT_TRUE(Silent(HeardFrom(0)));
}

TEST_F(SoundFactoryTest, WaveSoundsShareTheDeviceObjectsWhileTheyLive)
{
    CSoundFactory factory;
    const std::string name = PutWave("x.wav", testkit::Noise(4800, 4), 48000, 2);
    EXPECT_EQ(factory.GetWaveOutput(), nullptr);
    CSmartPtr<ISound> first = factory.CreateSoundByFile(name);
    CSmartPtr<ISound> second = factory.CreateSoundByFile(name);
    CSmartPtr<ISound> silent = factory.CreateSound(SilentDevice);
    CWaveOutput* output = factory.GetWaveOutput();
    ASSERT_NE(output, nullptr);
    ASSERT_NE(factory.GetDirectSound(), nullptr);
    EXPECT_EQ(factory.GetSoundList(), (std::list<ISound*>{first.Get(), second.Get(), silent.Get()}));
    EXPECT_EQ(output->GetSettings().Get(), factory.GetWaveSoundSettings().Get());

    first.Release();
    EXPECT_EQ(factory.GetWaveOutput(), output);
    EXPECT_EQ(factory.GetSoundList(), (std::list<ISound*>{second.Get(), silent.Get()}));
    second.Release();
    EXPECT_EQ(factory.GetWaveOutput(), nullptr);
    EXPECT_EQ(factory.GetDirectSound(), nullptr);
    silent.Release();
    EXPECT_TRUE(factory.GetSoundList().empty());

    // The device itself stays open through all of that.
    CSmartPtr<ISound> again = factory.CreateSoundByFile(name);
    again->Play();
    Advance(100);
    EXPECT_FALSE(Silent(HeardFrom(0)));
}

TEST_F(SoundFactoryTest, ModesFollowTheDeviceAsked)
{
    CSoundFactory factory;
    for (int device : {DefaultWaveDevice, StaticWaveDevice, StreamWaveDevice}) {
        CSmartPtr<ISound> sound = factory.CreateSound(device);
        auto* switchable = dynamic_cast<CSwitchWaveSound*>(sound.Get());
        ASSERT_NE(switchable, nullptr) << device;
        EXPECT_EQ(switchable->IsStreamMode(), device == StreamWaveDevice) << device;
    }
    factory.SetStreamDefault(true);
    CSmartPtr<ISound> sound = factory.CreateDefaultWaveSound();
    EXPECT_TRUE(dynamic_cast<CSwitchWaveSound*>(sound.Get())->IsStreamMode());
    EXPECT_EQ(factory.CreateSound(MidiSequencerDevice)->GetType(), 1);
    EXPECT_EQ(factory.CreateSound(MidiSynthesizerDevice)->GetType(), 2);
    for (int device : {6, -1}) EXPECT_EQ(factory.CreateSound(device)->GetType(), 0) << device;
}

TEST_F(SoundFactoryTest, WithoutADeviceEverySoundIsSilent)
{
    platform::InstallAudio(nullptr);
    CSoundFactory factory;
    const std::string name = PutWave("y.wav", testkit::Noise(4800, 4), 48000, 2);
    CSmartPtr<ISound> sound = factory.CreateSoundByFile(name);
    EXPECT_EQ(sound->GetType(), 0);
    EXPECT_EQ(sound->Play(), 0);
    EXPECT_EQ(factory.GetWaveOutput(), nullptr);
    // Neither MIDI face without a device: no error, the silent sound.
    midi::Track track;
    track.Note(0, 0, 60, 96).End();
    folder.Put("y.mid", midi::File(96, {track}));
    EXPECT_EQ(factory.CreateSoundByFile(folder.Name("y.mid"))->GetType(), 0);
    EXPECT_EQ(factory.GetDirectMusic(), nullptr);
    EXPECT_TRUE(log->Messages().empty());
}

TEST_F(SoundFactoryTest, TheThreadLosesItsFactoryWithIt)
{
    {
        CSoundFactory factory;
        EXPECT_EQ(CSoundFactoryHolder::GetMyEntry().Get(), &factory);
    }
    EXPECT_TRUE(CSoundFactoryHolder::GetMyEntry().IsNull());
    CSmartPtr<ISound> sound;
    EXPECT_THROW(CSoundFactoryHolder::CreateSound(sound, "a.wav"), KTL::CRuntimeException);

    // A factory made later keeps its entry when an older one goes.
    auto older = std::make_unique<CSoundFactory>();
    CSoundFactory newer;
    older.reset();
    EXPECT_EQ(CSoundFactoryHolder::GetMyEntry().Get(), &newer);
}

} // namespace
