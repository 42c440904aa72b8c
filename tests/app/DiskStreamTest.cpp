// The real player streams a long sound through SDL's disk audio driver once
// SYSTEM turns streaming on: its worker refills the three-second ring on real
// time, and the tone goes on unbroken across the ring's wrap.
#include "platform/AudioEncoder.h"
#include "tests/app/DiskAudio.h"

using diskaudio::Window;

TEST(Executable, DiskAudioHearsAStreamedToneWithoutAGapAtTheRingsWrap)
{
    TempFolder game;
    platform::PcmSound tone{44100, 2, testkit::Sine(440, 44100, 2, 44100 * 9, 0.5)};
    std::vector<std::uint8_t> wave;
    ASSERT_TRUE(platform::EncodeWave(tone, platform::WaveEncoding::Pcm16, wave));
    game.Put("data/long.wav", std::string(wave.begin(), wave.end()));
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"STREAM\" NAME=\"1\"][WAIT TIME=\"300\"]"
                               "[SOUND FILE=\"{BASE}long.wav\"][WAIT TIME=\"5000\"][ENDSOUND][WAIT TIME=\"100000\"]");
    std::vector<std::int16_t> heard;
    ASSERT_NO_FATAL_FAILURE(diskaudio::Record(game, 420, heard));
    const std::vector<double> loudness = diskaudio::Loudness(heard);
    const auto loud = [](double rms) { return rms > 1000; };
    const auto first = std::find_if(loudness.begin(), loudness.end(), loud);
    ASSERT_NE(first, loudness.end()) << "nothing was heard";
    const auto last = std::find_if(loudness.rbegin(), loudness.rend(), loud).base();
    // Five seconds: past the 2.625 s pre-fill and the ring's wrap at 3 s.
    EXPECT_NEAR(double(last - first) * 50, 5000, 400) << "ENDSOUND did not cut the 9 s tone";
    EXPECT_TRUE(std::all_of(first + 1, last - 1, loud)) << "a gap in the tone";

    // A stale or skipped piece of the ring would break the sine's phase: no
    // step between samples beyond its steepest slope at 48 kHz (about 950).
    const std::size_t from = static_cast<std::size_t>(first - loudness.begin() + 1) * Window * 2;
    const std::size_t to = static_cast<std::size_t>(last - loudness.begin() - 1) * Window * 2;
    int steepest = 0;
    for (std::size_t i = from; i + 2 < to; i += 2) steepest = std::max(steepest, std::abs(heard[i + 2] - heard[i]));
    EXPECT_LT(steepest, 1200);
}
