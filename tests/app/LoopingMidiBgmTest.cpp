// The real player with a looping BGM that has no length, that the
// synthesiser cannot read, or whose WAVE holds a chunk that libsndfile never
// returned from: the script runs on past ENDBGM and a second BGM, and SIGTERM
// ends the player (a generous wait guards against one that never ends).
#include "tests/app/DiskAudio.h"
#include "tests/sound/MidiBuilder.h"
#include "tests/sound/RiffBuilder.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using midi::Bytes;

struct LoopingBgm {
    const char* what;
    std::string bytes;
    const char* file = "bgm.mid";
};

void PrintTo(const LoopingBgm& bgm, std::ostream* out) { *out << bgm.what; }

const std::string End = Bytes({0x00, 0xFF, 0x2F, 0x00});

class LoopingMidiBgm : public ::testing::TestWithParam<LoopingBgm> {};

TEST_P(LoopingMidiBgm, KeepsThePlayerAnsweringAndSigtermEndsIt)
{
    ASSERT_TRUE(std::filesystem::exists(diskaudio::BuiltPlayer())) << "build the quiltor target first";
    TempFolder game;
    const std::string bgm = std::string("{BASE}") + GetParam().file;
    game.Put(std::string("data/") + GetParam().file, GetParam().bytes);
    // The missing file logs its name once the script has come past both BGMs.
    game.Put("data/index.txt", "[BGM FILE=\"" + bgm + "\"][WAIT TIME=\"300\"][ENDBGM][BGM FILE=\"" + bgm + "\"]"
                               "[WAIT TIME=\"300\"][SOUND FILE=\"{BASE}answered.mid\"][WAIT TIME=\"100000\"]");
    std::filesystem::create_directories(game.Host("system"));
    std::filesystem::copy_file(diskaudio::BuiltPlayer(), game.Host("quiltor"));
    const std::string folder = game.Host().string();
    const std::string command = "cd '" + folder + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" +
                                folder + "/heard.raw' XDG_RUNTIME_DIR='" + folder +
                                "' QUILTOR_LOG=1 exec ./quiltor 2>log";
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    pid_t player;
    ASSERT_EQ(posix_spawnp(&player, "sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);

    // Waited for as long as the player runs: a hang is ctest's timeout to catch.
    int status = 0;
    bool answered = false;
    while (!answered && waitpid(player, &status, WNOHANG) != player) {
        usleep(50000);
        answered = game.Get("log").find("answered.mid") != std::string::npos;
    }
    ASSERT_TRUE(answered) << "the script stopped: " << game.Get("log");
    kill(player, SIGTERM);
    ASSERT_EQ(waitpid(player, &status, 0), player);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << game.Get("log");
}

INSTANTIATE_TEST_SUITE_P(
    Executable, LoopingMidiBgm,
    ::testing::Values(LoopingBgm{"ZeroLength", midi::RawFile(Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}) + End)},
                      LoopingBgm{"Tempo0", midi::RawFile(Bytes({0x00, 0xFF, 0x51, 0x03, 0, 0, 0, 0x00, 0x90, 60, 100}) + End)},
                      LoopingBgm{"Smpte", midi::RawFile(Bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0}) + End, 1, 0xE728)},
                      LoopingBgm{"BadRunningStatus", midi::RawFile(Bytes({0x00, 60, 100, 0x83, 0x60, 60, 0}) + End)},
                      LoopingBgm{"WildListWave", riff::WildListWave(), "bgm.wav"},
                      LoopingBgm{"WildListAfterFloat", riff::WildListBehind({3, 1, 8000, 32}), "bgm.wav"},
                      LoopingBgm{"WildListAfter24Bits", riff::WildListBehind({1, 1, 8000, 24}), "bgm.wav"}),
    [](const ::testing::TestParamInfo<LoopingBgm>& info) { return std::string(info.param.what); });

} // namespace
