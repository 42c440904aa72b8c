// The real player records what it plays through SDL's disk audio driver: a
// sound is heard from its SOUND tag until ENDSOUND, and nothing after.
#include "platform/AudioEncoder.h"
#include "platform/FileSystem.h"
#include "platform/HostPath.h"
#include "tests/kit/AudioSignal.h"
#include "tests/kit/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

constexpr std::uint32_t Rate = 48000;
constexpr std::size_t Window = Rate / 20; // 50 ms of frames

std::filesystem::path BuiltPlayer()
{
    const std::filesystem::path tests = *platform::ToHostPath(platform::FileSystem().ExecutablePath());
    return tests.parent_path().parent_path() / "game" / "quiltor";
}

} // namespace

TEST(Executable, DiskAudioRecordsTheSoundUntilEndSound)
{
    ASSERT_TRUE(std::filesystem::exists(BuiltPlayer())) << "build the quiltor target first";
    TempFolder game;
    std::filesystem::create_directories(game.Host("system"));
    std::filesystem::copy_file(BuiltPlayer(), game.Host("quiltor"));
    platform::PcmSound tone{44100, 2, testkit::Sine(440, 44100, 2, 44100 * 4, 0.5)};
    std::vector<std::uint8_t> wave;
    ASSERT_TRUE(platform::EncodeWave(tone, platform::WaveEncoding::Pcm16, wave));
    game.Put("data/tone.wav", std::string(wave.begin(), wave.end()));
    game.Put("data/index.txt", "[WAIT TIME=\"500\"][SOUND FILE=\"{BASE}tone.wav\"][WAIT TIME=\"1000\"][ENDSOUND]"
                               "[WAIT TIME=\"100000\"]");

    const std::string folder = game.Host().string();
    const std::string command = "cd '" + folder + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" +
                                folder + "/heard.raw' XDG_RUNTIME_DIR='" + folder +
                                "' QUILTOR_TEST_CLOSE_AFTER_FRAMES=120 QUILTOR_LOG=1 timeout 60 ./quiltor 2>log";
    const int status = std::system(command.c_str());
    ASSERT_EQ(status == -1 ? -1 : (status >> 8) & 0xFF, 0) << game.Get("log");

    const std::string bytes = game.Get("heard.raw");
    std::vector<std::int16_t> heard(bytes.size() / 2);
    std::memcpy(heard.data(), bytes.data(), heard.size() * 2);
    // Loudness per 50 ms: silence, about a second of the tone, silence to the end.
    std::vector<double> loudness;
    for (std::size_t at = 0; (at + Window) * 2 <= heard.size(); at += Window) {
        const std::vector<std::int16_t> part(heard.begin() + static_cast<std::ptrdiff_t>(at * 2),
                                             heard.begin() + static_cast<std::ptrdiff_t>((at + Window) * 2));
        loudness.push_back(testkit::Rms(part, 2, 0));
    }
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
