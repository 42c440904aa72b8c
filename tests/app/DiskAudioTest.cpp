// The real player records what it plays through SDL's disk audio driver: a
// sound is heard from its SOUND tag until ENDSOUND, and nothing after.
#include "platform/AudioEncoder.h"
#include "tests/app/DiskAudio.h"
#include "tests/sound/MidiBuilder.h"

using diskaudio::Rate;
using diskaudio::Window;

TEST(Executable, DiskAudioRecordsTheSoundUntilEndSound)
{
    TempFolder game;
    platform::PcmSound tone{44100, 2, testkit::Sine(440, 44100, 2, 44100 * 4, 0.5)};
    std::vector<std::uint8_t> wave;
    ASSERT_TRUE(platform::EncodeWave(tone, platform::WaveEncoding::Pcm16, wave));
    game.Put("data/tone.wav", std::string(wave.begin(), wave.end()));
    game.Put("data/index.txt", "[WAIT TIME=\"500\"][SOUND FILE=\"{BASE}tone.wav\"][WAIT TIME=\"1000\"][ENDSOUND]"
                               "[WAIT TIME=\"100000\"]");
    std::vector<std::int16_t> heard;
    ASSERT_NO_FATAL_FAILURE(diskaudio::Record(game, 120, heard));
    // Loudness per 50 ms: silence, about a second of the tone, silence to the end.
    const std::vector<double> loudness = diskaudio::Loudness(heard);
    ASSERT_GT(loudness.size(), 60u) << "under 3 s recorded";
    const auto loud = [](double rms) { return rms > 1000; };
    const auto first = std::find_if(loudness.begin(), loudness.end(), loud);
    ASSERT_NE(first, loudness.end()) << "nothing was heard";
    const auto last = std::find_if(loudness.rbegin(), loudness.rend(), loud).base();
    EXPECT_GE(first - loudness.begin(), 5) << "heard before the SOUND tag";
    EXPECT_NEAR(double(last - first) * 50, 1000, 300) << "ENDSOUND did not cut the 4 s tone";
    EXPECT_TRUE(std::all_of(first + 1, last - 1, loud)) << "a gap in the tone";
    EXPECT_TRUE(std::all_of(last, loudness.end(), [](double rms) { return rms == 0; }));
    EXPECT_GE(loudness.end() - last, 20) << "under a second recorded after ENDSOUND";

    const std::vector<std::int16_t> sound(heard.begin() + (first - loudness.begin() + 1) * Window * 2,
                                          heard.begin() + (last - loudness.begin() - 1) * Window * 2);
    EXPECT_GT(testkit::Goertzel(sound, 2, Rate, 440), 1000 * testkit::Goertzel(sound, 2, Rate, 550));
}

TEST(Executable, DiskAudioRecordsMidiMusicThroughTheSynthesiser)
{
    TempFolder game;
    // A chord on a held organ (General MIDI 20) for two seconds at 120 bpm.
    midi::Track track;
    track.Program(0, 0, 19);
    for (std::uint8_t key : {60, 64, 67}) track.Event(0, {0x90, key, 100});
    track.Event(1920, {0x80, 60, 0}).Event(0, {0x80, 64, 0}).Event(0, {0x80, 67, 0}).End();
    game.Put("data/chord.mid", midi::File(480, {track}));
    game.Put("data/index.txt", "[WAIT TIME=\"500\"][BGM FILE=\"{BASE}chord.mid\"][WAIT TIME=\"100000\"]");
    std::vector<std::int16_t> heard;
    ASSERT_NO_FATAL_FAILURE(diskaudio::Record(game, 120, heard));
    const std::vector<double> loudness = diskaudio::Loudness(heard);
    ASSERT_GT(loudness.size(), 60u) << "under 3 s recorded";
    const auto loud = [](double rms) { return rms > 300; };
    const auto first = std::find_if(loudness.begin(), loudness.end(), loud);
    ASSERT_NE(first, loudness.end()) << "the MIDI file was not heard: " << game.Get("log");
    EXPECT_GE(first - loudness.begin(), 5) << "heard before the BGM tag";
    EXPECT_TRUE(std::all_of(first, first + 20, loud)) << "a gap in the chord";
    const std::vector<std::int16_t> chord(heard.begin() + (first - loudness.begin()) * Window * 2,
                                          heard.begin() + (first - loudness.begin() + 20) * Window * 2);
    // Middle C is in it; the C sharp beside it is not.
    EXPECT_GT(testkit::Goertzel(chord, 2, Rate, 261.63), 20 * testkit::Goertzel(chord, 2, Rate, 277.18));
}
