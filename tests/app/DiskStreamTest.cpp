// The real player streams a long sound through SDL's disk audio driver once
// SYSTEM turns streaming on: its worker refills the three-second ring on real
// time, and the tone goes on unbroken across the ring's wrap.
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

constexpr std::size_t Window = 48000 / 20; // 50 ms of frames at the device's rate

std::filesystem::path BuiltPlayer()
{
    const std::filesystem::path tests = *platform::ToHostPath(platform::FileSystem().ExecutablePath());
    return tests.parent_path().parent_path() / "game" / "quiltor";
}

} // namespace

TEST(Executable, DiskAudioHearsAStreamedToneWithoutAGapAtTheRingsWrap)
{
    ASSERT_TRUE(std::filesystem::exists(BuiltPlayer())) << "build the quiltor target first";
    TempFolder game;
    std::filesystem::create_directories(game.Host("system"));
    std::filesystem::copy_file(BuiltPlayer(), game.Host("quiltor"));
    platform::PcmSound tone{44100, 2, testkit::Sine(440, 44100, 2, 44100 * 9, 0.5)};
    std::vector<std::uint8_t> wave;
    ASSERT_TRUE(platform::EncodeWave(tone, platform::WaveEncoding::Pcm16, wave));
    game.Put("data/long.wav", std::string(wave.begin(), wave.end()));
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"STREAM\" NAME=\"1\"][WAIT TIME=\"300\"]"
                               "[SOUND FILE=\"{BASE}long.wav\"][WAIT TIME=\"5000\"][ENDSOUND][WAIT TIME=\"100000\"]");

    const std::string folder = game.Host().string();
    const std::string command = "cd '" + folder + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" +
                                folder + "/heard.raw' XDG_RUNTIME_DIR='" + folder +
                                "' QUILTOR_TEST_CLOSE_AFTER_FRAMES=420 QUILTOR_LOG=1 timeout 90 ./quiltor 2>log";
    const int status = std::system(command.c_str());
    ASSERT_EQ(status == -1 ? -1 : (status >> 8) & 0xFF, 0) << game.Get("log");

    const std::string bytes = game.Get("heard.raw");
    std::vector<std::int16_t> heard(bytes.size() / 2);
    std::memcpy(heard.data(), bytes.data(), heard.size() * 2);
    std::vector<double> loudness;
    for (std::size_t at = 0; (at + Window) * 2 <= heard.size(); at += Window) {
        const std::vector<std::int16_t> part(heard.begin() + static_cast<std::ptrdiff_t>(at * 2),
                                             heard.begin() + static_cast<std::ptrdiff_t>((at + Window) * 2));
        loudness.push_back(testkit::Rms(part, 2, 0));
    }
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
