// Sound effects and voices of the SOUND tag, heard through the headless
// audio device while the engine runs its script on the virtual clock.
#include <gtest/gtest.h>

#include "tests/kit/AudioSignal.h"
#include "tests/kit/SineFile.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using platform::AudioEventKind;
using testkit::EngineRun;

namespace {

constexpr std::uint32_t Rate = 48000;

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

TEST(EngineSound, SoundTagsPlayEffectsAndVoicesAndEndSoundSilencesThem)
{
    GameFolder game;
    game.Put("data/se.wav", testkit::SineFile(440, 2000, false));
    game.Put("data/voice.mp3", testkit::SineFile(660, 1000, true));
    game.Put("data/index.txt", "[SOUND FILE=\"{BASE}se.wav\"][WAIT TIME=\"500\"][ENDSOUND][WAIT TIME=\"500\"]"
                               "[SOUND FILE=\"{BASE}nothere.wav\"][SOUND FILE=\"{BASE}voice.mp3\"]"
                               "[WAIT TIME=\"1500\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(120);
    for (const auto& error : run.errors) ADD_FAILURE() << error;

    // Each sound starts and stops when its tag runs.
    const std::vector<EngineRun::SoundRecord> sounds = run.Sounds();
    const auto played = run.Tags(TagId::Sound);
    const auto ended = run.Tags(TagId::EndSound);
    ASSERT_EQ(played.size(), 3u);
    ASSERT_EQ(ended.size(), 1u);
    ASSERT_EQ(sounds.size(), 4u);
    EXPECT_EQ(sounds[0].kind, AudioEventKind::Play);
    EXPECT_TRUE(EndsWith(sounds[0].file, "se.wav")) << sounds[0].file;
    EXPECT_EQ(sounds[0].time, played[0]->time);
    EXPECT_EQ(sounds[1].kind, AudioEventKind::Stop);
    EXPECT_EQ(sounds[1].time, ended[0]->time);
    EXPECT_EQ(sounds[2].kind, AudioEventKind::Play);
    EXPECT_TRUE(EndsWith(sounds[2].file, "voice.mp3")) << sounds[2].file;
    EXPECT_EQ(sounds[2].time, played[2]->time);
    EXPECT_EQ(sounds[3].kind, AudioEventKind::End);
    // The MP3 plays whole frames of 1152 samples, with the encoder's delay and
    // padding: at most three frames more than the second it holds.
    EXPECT_GE(sounds[3].time - sounds[2].time, 995u);
    EXPECT_LE(sounds[3].time - sounds[2].time, 1000u + 3 * 1152 * 1000 / 44100 + 5);

    const auto effect = run.Heard(sounds[0].time, sounds[1].time);
    EXPECT_GT(testkit::Goertzel(effect, 2, Rate, 440), 1000 * testkit::Goertzel(effect, 2, Rate, 660));
    EXPECT_NEAR(testkit::Rms(effect, 2, 0), 0.5 * 32767 / std::sqrt(2.0), 200);
    const auto pause = run.Heard(sounds[1].time, sounds[2].time);
    EXPECT_EQ(testkit::Rms(pause, 2, 0), 0);
    const auto voice = run.Heard(sounds[2].time + 100, sounds[3].time - 100);
    EXPECT_GT(testkit::Goertzel(voice, 2, Rate, 660), 1000 * testkit::Goertzel(voice, 2, Rate, 440));
    EXPECT_EQ(testkit::Rms(run.Heard(sounds[3].time, run.Clock().Now()), 2, 0), 0);
}

TEST(EngineSound, SystemStreamTurnsWaveSoundsToStreamingAndBack)
{
    GameFolder game;
    game.Put("data/ring.wav", testkit::SineFile(440, 1000, false));
    game.Put("data/whole.wav", testkit::SineFile(660, 1000, false));
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"STREAM\" NAME=\"1\"][SOUND FILE=\"{BASE}ring.wav\"][WAIT TIME=\"2000\"]"
                               "[SYSTEM CONTROL=\"STREAM\" NAME=\"0\"][SOUND FILE=\"{BASE}whole.wav\"]"
                               "[WAIT TIME=\"2000\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(300);
    for (const auto& error : run.errors) ADD_FAILURE() << error;

    // The streamed sound's ring loops in the device and never runs to its end
    // there; the whole file does.
    std::vector<EngineRun::SoundRecord> ring;
    std::vector<EngineRun::SoundRecord> whole;
    for (const EngineRun::SoundRecord& sound : run.Sounds())
        (EndsWith(sound.file, "ring.wav") ? ring : whole).push_back(sound);
    ASSERT_FALSE(ring.empty());
    ASSERT_EQ(whole.size(), 2u);
    EXPECT_EQ(ring[0].kind, AudioEventKind::Play);
    EXPECT_TRUE(std::none_of(ring.begin(), ring.end(), [](const auto& s) { return s.kind == AudioEventKind::End; }));
    EXPECT_EQ(whole[1].kind, AudioEventKind::End);

    // The pre-fill holds the whole second, the rest of the ring is silence.
    const auto streamed = run.Heard(ring[0].time + 50, ring[0].time + 950);
    EXPECT_GT(testkit::Goertzel(streamed, 2, Rate, 440), 1000 * testkit::Goertzel(streamed, 2, Rate, 660));
    EXPECT_EQ(testkit::Rms(run.Heard(ring[0].time + 1010, whole[0].time), 2, 0), 0);
}
