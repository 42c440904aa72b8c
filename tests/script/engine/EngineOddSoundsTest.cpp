// Sound files from other tools, and damaged ones, through the SOUND and BGM
// tags: each plays its signal or ends quietly, and the player goes on.
#include <gtest/gtest.h>

#include "platform/AudioEncoder.h"
#include "tests/frame/file/ArchiveBuilder.h"
#include "tests/kit/AudioSignal.h"
#include "tests/kit/EngineHarness.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/kit/SineFile.h"
#include "tests/script/GameFolder.h"

using platform::AudioEventKind;
using platform::WaveEncoding;
using testkit::EngineRun;

namespace {

constexpr std::uint32_t Rate = 48000;

std::string Wave(WaveEncoding encoding, std::uint16_t channels)
{
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(platform::EncodeWave({int(Rate), channels, testkit::Sine(440, Rate, channels, Rate * 450 / 1000, 0.5)},
                                     encoding, out));
    return std::string(out.begin(), out.end());
}

} // namespace

TEST(EngineOddSounds, EachKindPlaysItsSignalOrEndsWithoutHoldingThePlayer)
{
    struct Case {
        std::string file, bytes;
        bool tone; // heard as the tone for its 450 ms; else only its end is asked
    };
    std::string tiny = testkit::SineFile(440, 1000, false);
    tiny.resize(44 + 40);
    tiny.replace(40, 4, std::string{40, 0, 0, 0});
    const std::vector<Case> cases{
        {"float.wav", Wave(WaveEncoding::Float32, 2), true},
        {"ext.wav", Wave(WaveEncoding::ExtensiblePcm24, 1), true},
        {"pcm24.wav", Wave(WaveEncoding::Pcm24, 2), true},
        {"voice.mp3", testkit::SineFile(440, 450, true), true},
        // Stored scrambled, as any file the player reads may be.
        {"scrambled.wav", ArchiveBuilder::Scrambled(Wave(WaveEncoding::Pcm16, 2)), true},
        {"scrambled-float.wav", ArchiveBuilder::Scrambled(Wave(WaveEncoding::Float32, 2)), true},
        {"pcm8.wav", Wave(WaveEncoding::Pcm8, 2), true},
        {"scrambled-streamed.wav", ArchiveBuilder::Scrambled(Wave(WaveEncoding::Pcm16, 2)), true},
        {"tiny.wav", tiny, false},
    };
    GameFolder game;
    std::string script;
    for (const Case& c : cases) {
        game.Put("data/" + c.file, c.bytes);
        // The last three stream: an 8-bit ring ends in its own silence, and a
        // looping file too short to start over ends.
        if (c.file == "pcm8.wav") script += "[SYSTEM CONTROL=\"STREAM\" NAME=\"1\"]";
        script += (c.tone ? "[SOUND FILE=\"{BASE}" : "[BGM FILE=\"{BASE}") + c.file + "\"][WAIT TIME=\"1000\"]";
    }
    game.Put("data/index.txt", script + "[WAIT TIME=\"3000\"][ENDBGM][WAIT TIME=\"100000\"]");
    testkit::ScopedErrorLogRecorder log;
    EngineRun run;
    run.Run(400);
    // The start's sample sound and the voice are MP3 files: no WAVE refusal to log.
    EXPECT_FALSE(log->Contains("Waveファイルでない"));
    // Refusals on the way from reader to reader, once each: no line per refill attempt.
    EXPECT_LE(log->Messages().size(), 10u);
    EXPECT_EQ(run.Tags(TagId::Wait).size(), cases.size() + 2) << "the player keeps going";
    for (const std::string& error : run.errors) ADD_FAILURE() << error;

    const std::vector<EngineRun::SoundRecord> sounds = run.Sounds();
    for (const Case& c : cases) {
        const auto play = std::find_if(sounds.begin(), sounds.end(), [&](const EngineRun::SoundRecord& s) {
            return s.kind == AudioEventKind::Play && s.file.ends_with(c.file);
        });
        ASSERT_NE(play, sounds.end()) << c.file;
        if (!c.tone) continue;
        const std::vector<std::int16_t> heard = run.Heard(play->time + 20, play->time + 420);
        EXPECT_NEAR(testkit::Rms(heard, 2, 0), 0.5 * 32767 / std::sqrt(2.0), 500) << c.file;
        const std::vector<std::int16_t> after = run.Heard(play->time + 420, play->time + 1000);
        EXPECT_GT(*std::min_element(after.begin(), after.end()), -17000) << c.file << ": no click at the end";
    }
}
