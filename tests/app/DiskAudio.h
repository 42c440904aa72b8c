#pragma once
// The real player run in a game folder with SDL's disk audio driver: what it
// played, and its loudness per 50 ms.

#include "platform/FileSystem.h"
#include "platform/HostPath.h"
#include "tests/kit/AudioSignal.h"
#include "tests/kit/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace diskaudio {

constexpr std::uint32_t Rate = 48000;
constexpr std::size_t Window = Rate / 20; // 50 ms of frames

inline std::filesystem::path BuiltPlayer()
{
    const std::filesystem::path tests = *platform::ToHostPath(platform::FileSystem().ExecutablePath());
    return tests.parent_path().parent_path() / "game" / "quiltor";
}

// Runs the player in game (its data already put) for the given frames (one
// that never ends is ctest's timeout to catch) and
// gives the interleaved stereo it played; fails the test when it did not run.
inline void Record(TempFolder& game, int frames, std::vector<std::int16_t>& heard)
{
    ASSERT_TRUE(std::filesystem::exists(BuiltPlayer())) << "build the quiltor target first";
    std::filesystem::create_directories(game.Host("system"));
    std::filesystem::copy_file(BuiltPlayer(), game.Host("quiltor"));
    const std::string folder = game.Host().string();
    const std::string command = "cd '" + folder + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" +
                                folder + "/heard.raw' XDG_RUNTIME_DIR='" + folder +
                                "' QUILTOR_TEST_CLOSE_AFTER_FRAMES=" + std::to_string(frames) +
                                " QUILTOR_LOG=1 ./quiltor 2>log";
    const int status = std::system(command.c_str());
    ASSERT_EQ(status == -1 ? -1 : (status >> 8) & 0xFF, 0) << game.Get("log");
    const std::string bytes = game.Get("heard.raw");
    heard.resize(bytes.size() / 2);
    std::memcpy(heard.data(), bytes.data(), heard.size() * 2);
}

inline std::vector<double> Loudness(const std::vector<std::int16_t>& heard)
{
    std::vector<double> loudness;
    for (std::size_t at = 0; (at + Window) * 2 <= heard.size(); at += Window) {
        const std::vector<std::int16_t> part(heard.begin() + static_cast<std::ptrdiff_t>(at * 2),
                                             heard.begin() + static_cast<std::ptrdiff_t>((at + Window) * 2));
        loudness.push_back(testkit::Rms(part, 2, 0));
    }
    return loudness;
}

} // namespace diskaudio
