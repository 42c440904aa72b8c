#include "tests/sound/SoundDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sound/MIDIOutputDM.h"
#include "sound/MIDIOutputMCI.h"
#include "sound/SoundFactory.h"
#include "tests/kit/AudioSignal.h"
#include "tests/sound/MidiBuilder.h"
#include "tests/sound/SoundTestFiles.h"
#include "platform/HostPath.h"
#include <filesystem>

using namespace kivotasuGameKit;

namespace {

constexpr const char* PackagedSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

class MidiOutputTest : public SoundDeviceTest {
protected:
    MidiOutputTest() { setenv("SDL_SOUNDFONTS", PackagedSoundFont, 1); }
    ~MidiOutputTest() override { unsetenv("SDL_SOUNDFONTS"); }

    std::string PutMidi(const std::string& name, const std::vector<midi::Track>& tracks, std::uint16_t division = 480)
    {
        folder.Put(name, midi::File(division, tracks));
        return folder.Name(name);
    }
    // 480 ticks a quarter: 1000 ms at 120 bpm, 1000 ms at 60 bpm, 500 ms at 240 bpm.
    std::string PutTempoChanges()
    {
        midi::Track tempo;
        tempo.Tempo(0, 500000).Tempo(960, 1000000).Tempo(480, 250000).End();
        midi::Track notes;
        notes.Program(0, 0, 73).Note(0, 0, 72, 2400, 90).End();
        return PutMidi("tempo.mid", {tempo, notes});
    }

    CSoundFactory factory;
};

// One chunk of the device plus a block of the synthesiser either way.
constexpr int Slack = 30;

TEST_F(MidiOutputTest, OneNoteSoundsAtItsPitchThroughThePackagedSoundFont)
{
    // A4 on a flute, held for a second.
    midi::Track track;
    track.Program(0, 0, 73).Note(0, 0, 69, 480, 110).End(480);
    CSmartPtr<ISound> sound = factory.CreateSoundByFile(PutMidi("a4.mid", {track}));
    ASSERT_EQ(sound->GetType(), 2);
    const std::size_t start = Device().Recording().size();
    ASSERT_EQ(sound->Play(), 0);
    Advance(1000);
    const std::vector<std::int16_t> heard = HeardFrom(start + 48000 / 10 * 2);
    ASSERT_GT(testkit::Rms(heard, 2, 0), 300);
    const double note = testkit::Goertzel(heard, 2, 48000, 440.0);
    for (double other : {415.30, 466.16, 660.0, 293.66})
        EXPECT_GT(note, 50 * testkit::Goertzel(heard, 2, 48000, other)) << other;
    EXPECT_FALSE(log->Contains("SoundFont"));
}

TEST_F(MidiOutputTest, PositionsFollowTheTempoMapThroughPlaySeekPauseAndTheEnd)
{
    CSmartPtr<ISound> sound = factory.CreateSoundByFile(PutTempoChanges());
    EXPECT_EQ(sound->GetLength(), 2500);
    EXPECT_EQ(sound->GetCurrentPos(), -2);
    ASSERT_EQ(sound->Play(), 0);
    Advance(1200);
    EXPECT_NEAR(sound->GetCurrentPos(), 1200, Slack);

    // Seeking in the 60 bpm part, then running into the 240 bpm part.
    EXPECT_EQ(sound->SetCurrentPos(1800), 0);
    EXPECT_TRUE(sound->IsPlay());
    EXPECT_NEAR(sound->GetCurrentPos(), 1800, Slack);
    Advance(400);
    EXPECT_NEAR(sound->GetCurrentPos(), 2200, Slack);

    // Pause twice, replay twice: on from where the first pause stopped.
    sound->Pause();
    sound->Pause();
    Advance(500);
    EXPECT_FALSE(sound->IsPlay());
    EXPECT_EQ(sound->GetCurrentPos(), -2);
    sound->Replay();
    EXPECT_FALSE(sound->IsPlay());
    sound->Replay();
    EXPECT_TRUE(sound->IsPlay());
    EXPECT_NEAR(sound->GetCurrentPos(), 2200, Slack);

    // Not looping: the end leaves it stopped at the end.
    Advance(600);
    EXPECT_FALSE(sound->IsPlay());
    EXPECT_NEAR(sound->GetCurrentPos(), 2500, Slack);
}

TEST_F(MidiOutputTest, ALoopingSegmentStartsOverAtItsEnd)
{
    CSmartPtr<ISound> sound = factory.CreateSoundByFile(PutTempoChanges());
    sound->SetLoopPlay(true);
    ASSERT_EQ(sound->Play(), 0);
    Advance(2500 + 700);
    EXPECT_TRUE(sound->IsPlay());
    EXPECT_NEAR(sound->GetCurrentPos(), 700, Slack);
    Advance(2500);
    EXPECT_TRUE(sound->IsPlay());
    EXPECT_NEAR(sound->GetCurrentPos(), 700, Slack);
    // Still heard in the second round.
    const std::vector<std::int16_t> heard = Device().Recording();
    const std::vector<std::int16_t> late(heard.end() - 48000, heard.end());
    EXPECT_GT(testkit::Rms(late, 2, 0), 100);
}

TEST_F(MidiOutputTest, VolumeIsThePerformancesAndStopsAreSilent)
{
    CSmartPtr<ISound> sound = factory.CreateSoundByFile(PutTempoChanges());
    EXPECT_EQ(sound->GetVolume(), 0);
    sound->Play();
    Advance(500);
    const std::size_t loud = Device().Recording().size();
    Advance(300);
    const double full = testkit::Rms(HeardFrom(loud), 2, 0);
    EXPECT_EQ(sound->SetVolume(-2000), 0);
    const std::size_t soft = Device().Recording().size();
    Advance(300);
    EXPECT_NEAR(testkit::Rms(HeardFrom(soft), 2, 0), full / 10, full / 20);
    EXPECT_EQ(sound->GetVolume(), -2000);
    // Another synthesiser-face sound shares the performance's volume.
    CSmartPtr<ISound> other = factory.CreateSoundByFile(PutTempoChanges());
    EXPECT_EQ(other->GetVolume(), -2000);

    sound->Stop();
    Advance(1500);
    const std::vector<std::int16_t> after = Device().Recording();
    EXPECT_LT(testkit::Rms({after.end() - 9600, after.end()}, 2, 0), 2);
}

// A General MIDI arrangement of the usual kind, four bars at 120 bpm with
// the controllers at their defaults: a flute's tune, piano chords, a string
// pad, a bass and drums, as loud through the synthesiser as the middle of a
// set of real pieces. The dense one plays them forte and adds brass, the
// strings an octave up and a crash on every bar, as the louder of them do.
std::vector<midi::Track> Arrangement(bool dense)
{
    constexpr std::uint32_t Beat = 480;
    static constexpr std::uint8_t Chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    static constexpr std::uint8_t Tune[16] = {72, 74, 76, 79, 77, 76, 74, 72, 69, 71, 72, 74, 76, 74, 72, 71};
    std::vector<midi::Track> tracks(1);
    tracks[0].Tempo(0, 500000).End();
    const int forte = dense ? 24 : 0;
    // A track a voice, so that each voice's notes follow one another.
    auto voice = [&](std::uint8_t channel, std::uint8_t program, int velocity, std::uint32_t length, auto key) {
        midi::Track& track = tracks.emplace_back();
        track.Program(0, channel, program);
        for (std::uint32_t t = 0; t < 16 * Beat; t += length)
            track.Note(0, channel, key(t / Beat), length, std::uint8_t(std::min(127, velocity + forte)));
        track.End();
    };
    auto chord = [&](int i, int octave) { return [=](std::uint32_t beat) { return std::uint8_t(Chords[beat / 4][i] + 12 * octave); }; };
    voice(3, 73, 90, Beat, [](std::uint32_t beat) { return Tune[beat]; });
    for (int i = 0; i < 3; ++i) {
        voice(0, 0, 64, 2 * Beat, chord(i, 0));
        voice(1, 48, 56, 4 * Beat, chord(i, -1));
        if (dense) {
            voice(4, 61, 90, 2 * Beat, chord(i, 0));
            voice(5, 49, 80, 4 * Beat, chord(i, 1));
        }
    }
    voice(2, 33, 90, Beat, chord(0, -2));
    voice(9, 0, 90, Beat, [](std::uint32_t beat) { return std::uint8_t(beat % 2 ? 38 : 36); });
    voice(9, 0, 56, Beat / 2, [](std::uint32_t) { return std::uint8_t(42); });
    if (dense) voice(9, 0, 100, 4 * Beat, [](std::uint32_t) { return std::uint8_t(49); });
    return tracks;
}

// WAVE music as released: bells on the same chords over a bass, at the
// -16 dBFS RMS where such music commonly sits.
std::vector<std::int16_t> WaveMusic()
{
    constexpr std::uint32_t Rate = 48000;
    static constexpr double Chords[4][3] = {{261.63, 329.63, 392.0}, {220.0, 261.63, 329.63}, {174.61, 220.0, 261.63}, {196.0, 246.94, 293.66}};
    std::vector<double> music(Rate * 8);
    for (std::size_t i = 0; i < music.size(); ++i) {
        const double t = double(i) / Rate;
        const double* chord = Chords[std::size_t(t / 2) % 4];
        const double struck = std::exp(-3 * std::fmod(t, 0.5));
        for (int n = 0; n < 3; ++n) music[i] += struck * std::sin(2 * std::numbers::pi * chord[n] * t);
        music[i] += 1.5 * std::sin(2 * std::numbers::pi * chord[0] / 4 * t);
    }
    double power = 0;
    for (double value : music) power += value * value;
    const double scale = 32768 * std::pow(10.0, -16.0 / 20) / std::sqrt(power / double(music.size()));
    std::vector<std::int16_t> samples;
    for (double value : music) samples.insert(samples.end(), 2, std::int16_t(std::lround(value * scale)));
    return samples;
}

// Forte chords of four notes on twelve channels, the General MIDI strings,
// brass and woodwinds, at velocities from 110 to 127: a full orchestra's tutti.
std::vector<midi::Track> Tutti()
{
    constexpr std::uint32_t Beat = 480;
    static constexpr std::uint8_t Chords[4][4] = {{48, 55, 64, 72}, {45, 57, 64, 69}, {41, 53, 60, 69}, {43, 55, 62, 71}};
    static constexpr std::uint8_t Programs[12] = {48, 49, 40, 42, 56, 57, 60, 61, 68, 71, 73, 70};
    std::vector<midi::Track> tracks(1);
    tracks[0].Tempo(0, 500000).End();
    for (std::uint8_t i = 0; i < 12; ++i) {
        const std::uint8_t channel = i < 9 ? i : std::uint8_t(i + 1);
        const std::uint8_t velocity = std::uint8_t(110 + i * 17 / 11);
        midi::Track& track = tracks.emplace_back();
        track.Program(0, channel, Programs[i]);
        for (int bar = 0; bar < 4; ++bar) {
            for (std::uint8_t key : Chords[bar]) track.Event(0, {std::uint8_t(0x90 | channel), key, velocity});
            for (int n = 0; n < 4; ++n) track.Event(n ? 0 : 4 * Beat, {std::uint8_t(0x80 | channel), Chords[bar][n], 0});
        }
        track.End();
    }
    return tracks;
}

class MidiLevelTest : public MidiOutputTest, public ::testing::WithParamInterface<const char*> {
protected:
    MidiLevelTest() { setenv("SDL_SOUNDFONTS", GetParam(), 1); }
};

// Whichever SoundFont is found: the level is the SoundFont's own, set from
// a measure of it, and a limiter keeps loud pieces from full scale.
TEST_P(MidiLevelTest, GeneralMidiMusicSoundsNearWaveMusicAndDensePiecesDoNotClip)
{
    if (!std::filesystem::exists(GetParam())) GTEST_SKIP() << GetParam() << " is not installed";
    auto heard = [&](const std::string& name) {
        CSmartPtr<ISound> sound = factory.CreateSoundByFile(name);
        const std::size_t from = Device().Recording().size();
        sound->Play();
        Advance(8000);
        sound->Stop();
        return HeardFrom(from);
    };
    auto clipped = [](const std::vector<std::int16_t>& samples) {
        return std::count_if(samples.begin(), samples.end(), [](std::int16_t s) { return s == 32767 || s == -32768; });
    };
    const double wave = testkit::Rms(heard(PutWave("music.wav", WaveMusic(), 48000, 2)), 2, 0);
    const double typical = testkit::Rms(heard(PutMidi("typical.mid", Arrangement(false))), 2, 0);
    EXPECT_NEAR(20 * std::log10(typical / wave), 0, 6);
    EXPECT_EQ(clipped(heard(PutMidi("dense.mid", Arrangement(true)))), 0);
    const std::vector<std::int16_t> tutti = heard(PutMidi("tutti.mid", Tutti()));
    EXPECT_EQ(clipped(tutti), 0);
    EXPECT_GT(testkit::Rms(tutti, 2, 0), wave) << "made quieter, not silent";
}

INSTANTIATE_TEST_SUITE_P(SoundFonts, MidiLevelTest, ::testing::ValuesIn(GeneralMidiSoundFonts),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::filesystem::path(info.param).stem().string();
                         });

// The synthesiser face renders through the wave output, so the BGM player's
// fades of the wave line reach MIDI music; the sequencer face is the synth line's.
TEST_F(MidiOutputTest, EachFaceSoundsThroughItsOwnMixerLine)
{
    const std::string name = PutTempoChanges();
    for (const bool sequencer : {false, true}) {
        if (sequencer) factory.SetMIDIDevice(MidiSequencerDevice, SilentDevice);
        CSmartPtr<ISound> sound = factory.CreateSoundByFile(name);
        ASSERT_EQ(sound->GetType(), sequencer ? 1 : 2);
        ASSERT_EQ(sound->Play(), 0);
        const platform::MixerLine own = sequencer ? platform::MixerLine::Synth : platform::MixerLine::Wave;
        const platform::MixerLine other = sequencer ? platform::MixerLine::Wave : platform::MixerLine::Synth;
        std::shared_ptr<platform::AudioMixer> mixer = platform::Audio().Mixer();
        mixer->SetLineValues(other, {0, 0});
        std::size_t from = Device().Recording().size();
        Advance(300);
        EXPECT_GT(testkit::Rms(HeardFrom(from), 2, 0), 100) << sequencer;
        mixer->SetLineValues(other, {65535, 65535});
        mixer->SetLineValues(own, {0, 0});
        from = Device().Recording().size();
        Advance(300);
        EXPECT_LT(testkit::Rms(HeardFrom(from), 2, 0), 2) << sequencer;
        mixer->SetLineValues(own, {65535, 65535});
        sound->Stop();
    }
    factory.SetMIDIDevice(MidiSynthesizerDevice, MidiSequencerDevice);
}

TEST_F(MidiOutputTest, FilesThatAreMissingOrNoMidiGiveTheSilentSound)
{
    folder.Put("text.mid", "not a MIDI file at all");
    for (const std::string& name : {folder.Name("missing.mid"), folder.Name("text.mid")}) {
        EXPECT_EQ(factory.CreateSoundByFile(name)->GetType(), 0) << name;
        // The count taken for the failed sound is given back.
        EXPECT_EQ(factory.GetDirectMusic(), nullptr);
    }
    EXPECT_TRUE(log->Contains("CMIDIOutputDM::Openで読み込むファイルが無い"));
}

TEST_F(MidiOutputTest, WithoutASoundFontMidiRunsSilentlyAndSaysSoOnce)
{
    setenv("SDL_SOUNDFONTS", folder.Host("none.sf2").c_str(), 1);
    platform::MidiSynth::SetSoundFontFolder(folder.Host().string() + "/");
    // A device of its own, so that the synthesiser is made again.
    testkit::ScopedHeadlessAudio device;
    CSmartPtr<ISound> first = factory.CreateSoundByFile(PutTempoChanges());
    CSmartPtr<ISound> second = factory.CreateSoundByFile(PutTempoChanges());
    ASSERT_EQ(first->GetType(), 2);
    first->Play();
    Advance(1000);
    EXPECT_TRUE(first->IsPlay());
    EXPECT_NEAR(first->GetCurrentPos(), 1000, Slack);
    EXPECT_TRUE(Silent(device->Recording()));
    int lines = 0;
    for (const std::string& line : log->Messages()) lines += line.find("SoundFont") != std::string::npos;
    EXPECT_EQ(lines, 1);
    platform::MidiSynth::SetSoundFontFolder("/usr/share/sounds/sf2/");
}

TEST_F(MidiOutputTest, TheSequencerFaceIsMadeOnlyWhenChosen)
{
    const std::string name = PutTempoChanges();
    factory.SetMIDIDevice(MidiSequencerDevice, SilentDevice);
    CSmartPtr<ISound> sound = factory.CreateSoundByFile(name);
    ASSERT_EQ(sound->GetType(), 1);
    EXPECT_EQ(factory.GetDirectMusic(), nullptr);
    EXPECT_EQ(sound->SetVolume(-500), -1);
    EXPECT_EQ(sound->GetVolume(), 0);
    EXPECT_EQ(sound->Stop(), 1); // no device before the first play
    EXPECT_EQ(sound->GetLength(), -1);
    ASSERT_EQ(sound->Play(), 0);
    EXPECT_EQ(sound->GetLength(), 2500);
    Advance(1200);
    EXPECT_NEAR(sound->GetCurrentPos(), 1200, Slack);
    EXPECT_EQ(sound->SetCurrentPos(2000), 0);
    Advance(250);
    EXPECT_NEAR(sound->GetCurrentPos(), 2250, Slack);
    EXPECT_EQ(sound->SetCurrentPos(2501), -1);
    EXPECT_TRUE(log->Contains("Err SetCurrentPos"));
    EXPECT_GT(testkit::Rms(HeardFrom(0), 2, 0), 100);

    // Pause, pause, replay: still stopped; the next replay goes on.
    sound->Pause();
    sound->Pause();
    sound->Replay();
    EXPECT_FALSE(sound->IsPlay());
    sound->Replay();
    EXPECT_TRUE(sound->IsPlay());
    EXPECT_NEAR(sound->GetCurrentPos(), 2250, Slack);

    // The synthesiser face is the default again.
    factory.SetMIDIDevice(MidiSynthesizerDevice, MidiSequencerDevice);
    EXPECT_EQ(factory.CreateSoundByFile(name)->GetType(), 2);
}

TEST_F(MidiOutputTest, DataFromMemoryIsPlayedFromATemporaryCopyWhileOpen)
{
    CMIDIOutputMCI sound;
    midi::Track track;
    track.Note(0, 0, 60, 480).End();
    const std::string bytes = midi::File(480, {track});
    ASSERT_EQ(sound.Open(MemoryName(bytes)), 0);
    const std::string copy = sound.GetFileName().GetStr();
    const std::string host = platform::ToHostPath(copy).value_or("");
    EXPECT_TRUE(std::filesystem::exists(host)) << host;
    EXPECT_EQ(sound.Play(), 0);
    EXPECT_EQ(sound.GetLength(), 500);
    EXPECT_EQ(sound.Close(), 0);
    EXPECT_FALSE(std::filesystem::exists(host));

    // A file read from its own path is played from there.
    const std::string name = PutMidi("plain.mid", {track});
    ASSERT_EQ(sound.Open(name), 0);
    EXPECT_EQ(sound.GetFileName().GetStr(), name);
    EXPECT_EQ(sound.Open(folder.Name("nothere.mid")), 1);
    EXPECT_TRUE(log->Contains("CMIDIOutputMCI::Openで読み込むファイルが無い"));
}

} // namespace
