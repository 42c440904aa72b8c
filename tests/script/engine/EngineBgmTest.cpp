// Background music on the headless device and the virtual clock: its fades
// heard in the output (the music's alone), the fade between pieces, the ends
// of fades that could never run out or that a new game cuts short, and the
// volume of the settings.
#include <gtest/gtest.h>

#include "frame/FunctionCallback.h"
#include "frame/file/FileWriter.h"
#include "frame/WindowApp.h"
#include "script/engine/GlobalSettings.h"
#include "tests/kit/AudioSignal.h"
#include "tests/kit/SineFile.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using platform::AudioEventKind;
using testkit::EngineRun;

namespace {

const double FullRms = testkit::SineFileRms;

// The two pieces of the tests: a WAVE at 440 Hz and an MP3 at 660 Hz.
void PutPieces(GameFolder& game)
{
    game.Put("data/a.wav", testkit::SineFile(440, 1000, false));
    game.Put("data/b.mp3", testkit::SineFile(660, 1000, true));
}

// The RMS of the first channel over ms from a clock time.
double RmsAt(EngineRun& run, std::uint32_t from, std::uint32_t ms)
{
    return testkit::Rms(run.Heard(from, from + ms), 2, 0);
}

std::vector<EngineRun::SoundRecord> Events(EngineRun& run, AudioEventKind kind)
{
    std::vector<EngineRun::SoundRecord> found;
    for (const auto& sound : run.Sounds())
        if (sound.kind == kind) found.push_back(sound);
    return found;
}

} // namespace

TEST(EngineBgm, EndBgmFadesOverItsTimeAndANewPieceFadesTheOldOneOverHalfASecond)
{
    GameFolder game;
    PutPieces(game);
    game.Put("data/index.txt", "[BGM FILE=\"{BASE}a.wav\"][WAIT TIME=\"1000\"][BGM FILE=\"{BASE}b.mp3\" TIME=\"3000\"]"
                               "[WAIT TIME=\"1000\"][ENDBGM TIME=\"1000\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(200);
    for (const auto& error : run.errors) ADD_FAILURE() << error;

    const auto plays = Events(run, AudioEventKind::Play);
    const auto stops = Events(run, AudioEventKind::Stop);
    const auto second = run.Tags(TagId::Bgm);
    const auto end = run.Tags(TagId::EndBgm);
    ASSERT_EQ(plays.size(), 2u);
    ASSERT_EQ(stops.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    ASSERT_EQ(end.size(), 1u);

    // Between pieces: 500 ms whatever TIME says, the level falling on a line.
    const std::uint32_t fade = plays[1].time - 500;
    EXPECT_NEAR(stops[0].time, plays[1].time, 20);
    EXPECT_NEAR(RmsAt(run, fade - 100, 100), FullRms, FullRms * 0.02);
    EXPECT_NEAR(RmsAt(run, fade + 240, 20), FullRms / 2, FullRms * 0.08);
    EXPECT_LT(RmsAt(run, plays[1].time - 20, 20), FullRms * 0.06);
    // The new piece starts at the volume the music had before the fade.
    EXPECT_NEAR(RmsAt(run, plays[1].time + 100, 200), FullRms, FullRms * 0.05);

    // ENDBGM over its TIME: half at 500 of 1000 ms, silent after the stop.
    const std::uint32_t endFade = stops[1].time - 1000;
    EXPECT_NEAR(stops[1].time, end[0]->time, 40);
    EXPECT_NEAR(RmsAt(run, endFade + 240, 20), FullRms * 0.75, FullRms * 0.08);
    EXPECT_NEAR(RmsAt(run, endFade + 490, 20), FullRms / 2, FullRms * 0.08);
    EXPECT_EQ(RmsAt(run, stops[1].time + 10, 500), 0);
}

TEST(EngineBgm, FadesOfNoTimeOrANegativeTimeStopAtOnce)
{
    for (const char* time : {"0", "-300"}) {
        GameFolder game;
        game.Put("data/a.wav", testkit::SineFile(440, 1000, false));
        game.Put("data/index.txt", std::string("[BGM FILE=\"{BASE}a.wav\"][WAIT TIME=\"500\"][ENDBGM TIME=\"") + time +
                                       "\"][WAIT TIME=\"100000\"]");
        EngineRun run;
        run.Run(60);
        const auto stops = Events(run, AudioEventKind::Stop);
        const auto end = run.Tags(TagId::EndBgm);
        ASSERT_EQ(stops.size(), 1u) << time;
        ASSERT_EQ(end.size(), 1u) << time;
        EXPECT_EQ(stops[0].time, end[0]->time) << time;
        EXPECT_NEAR(RmsAt(run, stops[0].time - 100, 100), FullRms, FullRms * 0.02) << time;
    }
}

TEST(EngineBgm, WithoutAnAudioDeviceTheFadeEndsAtOnceAndTheGameGoesOn)
{
    GameFolder game;
    game.Put("data/a.wav", testkit::SineFile(440, 1000, false));
    game.Put("data/index.txt", "[BGM FILE=\"{BASE}a.wav\"][ENDBGM TIME=\"5000\"][BGM FILE=\"{BASE}a.wav\"]"
                               "[WAIT TIME=\"100\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Audio().SetAvailable(false);
    run.Run(30);
    const auto waits = run.Tags(TagId::Wait);
    ASSERT_EQ(waits.size(), 2u);
    EXPECT_LT(waits[0]->time, 100u);
}

TEST(EngineBgm, AFadeWaitEndsWhenTheApplicationIsClosing)
{
    GameFolder game;
    game.Put("data/a.wav", testkit::SineFile(440, 1000, false));
    game.Put("data/index.txt", "[BGM FILE=\"{BASE}a.wav\"][WAIT TIME=\"100\"][ENDBGM TIME=\"600000\"][WAIT TIME=\"1\"]");
    EngineRun run;
    run.At(1, [](EngineRun& r) {
        CQuiltorEngine::GetInstance()->GetApp()->GetTimerList().Add(
            1, 2000, 20, 1, kivotasuGameKit::MakeCallback([&r] { r.Windows().PostMessage(r.Window(), platform::WM_CLOSE, 0, 0); }));
    });
    run.Run(100000);
    EXPECT_LT(run.Clock().Now(), 10000u);
    EXPECT_TRUE(run.Tags(TagId::Wait).size() <= 2u);
}

TEST(EngineBgm, TheSettingsVolumeActsOnThePlayingMusicAndOnTheNextPiece)
{
    GameFolder game;
    game.Put("data/a.wav", testkit::SineFile(440, 1000, false));
    game.Put("data/index.txt", "[BGM FILE=\"{BASE}a.wav\"][WAIT TIME=\"1000\"][WAIT TIME=\"1000\"]"
                               "[BGM FILE=\"{BASE}a.wav\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    std::uint32_t previewAt = 0;
    // -600 hundredths of a decibel is a gain of 10^(-0.3), about a half.
    run.At(10, [&](EngineRun& r) {
        previewAt = r.Clock().Now();
        CQuiltorEngine::GetInstance()->GetBgm().SetVolume(-600);
        SetBgmVolume(-2000);
    });
    run.Run(150);
    const auto plays = Events(run, AudioEventKind::Play);
    ASSERT_EQ(plays.size(), 2u);
    ASSERT_GT(previewAt, plays[0].time);
    EXPECT_NEAR(RmsAt(run, plays[0].time + 50, 100), FullRms, FullRms * 0.02);
    EXPECT_NEAR(RmsAt(run, previewAt + 50, 100), FullRms * std::pow(10.0, -0.3), FullRms * 0.02);
    // The stored volume, -20 dB, for the piece played after it was stored.
    EXPECT_NEAR(RmsAt(run, plays[1].time + 50, 100), FullRms * 0.1, FullRms * 0.01);
}

TEST(EngineBgm, ASaveNamesThePieceThatPlaysAndRunningItStartsThatPieceAgain)
{
    GameFolder game;
    PutPieces(game);
    game.Put("data/index.txt", "[DEFAULTBGM PATH=\"{BASE}\"][BGM FILE=\"a.wav\"][BGM FILE=\"b.mp3\"]"
                               "[WAIT TIME=\"100000\"]");
    EngineRun run;
    run.At(40, [&](EngineRun&) {
        kivotasuGameKit::CTextFileWriter writer(game.Name("data\\save.txt"));
        CQuiltorEngine::GetInstance()->GetBgm().WriteSave(writer);
    });
    run.Run(45);
    const std::string save = game.Get("data/save.txt");
    // The folder, then the second piece only, with the folder in its name.
    const std::size_t folder = save.find("[DEFAULTBGM PATH=\"");
    const std::size_t piece = save.find("[BGM FILE=\"");
    ASSERT_NE(folder, std::string::npos) << save;
    ASSERT_NE(piece, std::string::npos) << save;
    EXPECT_LT(folder, piece);
    EXPECT_TRUE(save.ends_with("b.mp3\"]\n")) << save;
    EXPECT_EQ(save.find("a.wav"), std::string::npos) << save;

    // The save names the music by the program's folder, so a game moved
    // elsewhere loads it from there.
    GameFolder loaded;
    loaded.Put("data/b.mp3", testkit::SineFile(660, 1000, true));
    loaded.Put("data/index.txt", save + "[WAIT TIME=\"100000\"]");
    EngineRun again;
    again.Run(30);
    const auto plays = Events(again, AudioEventKind::Play);
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_TRUE(plays[0].file.ends_with("b.mp3")) << plays[0].file;
    EXPECT_NEAR(RmsAt(again, plays[0].time + 100, 300), FullRms, FullRms * 0.05);
}

TEST(EngineBgm, AVoiceThatPlaysWhileTheMusicFadesKeepsItsLevel)
{
    GameFolder game;
    game.Put("data/a.wav", testkit::SineFile(440, 1000, false));
    game.Put("data/voice.wav", testkit::SineFile(660, 3000, false));
    game.Put("data/index.txt", "[BGM FILE=\"{BASE}a.wav\"][WAIT TIME=\"300\"][SOUND FILE=\"{BASE}voice.wav\"]"
                               "[WAIT TIME=\"200\"][ENDBGM TIME=\"1000\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(150);
    const std::uint32_t stop = Events(run, AudioEventKind::Stop).at(0).time, fade = stop - 1000;
    // The amplitude of one tone over 100 ms from a clock time.
    auto level = [&](double hz, std::uint32_t from) {
        return std::sqrt(testkit::Goertzel(run.Heard(from, from + 100), 2, run.Audio().Rate(), hz));
    };
    const double music = level(440, fade - 150), voice = level(660, fade - 150);
    ASSERT_GT(voice, 0);
    EXPECT_NEAR(level(440, fade + 450) / music, 0.5, 0.1);
    EXPECT_NEAR(level(660, fade + 450) / voice, 1, 0.05);
    EXPECT_NEAR(level(660, stop + 100) / voice, 1, 0.05);
}

TEST(EngineBgm, AScriptDroppedAmidAFadeStartsItsGameWithoutTheOldScriptsNextPiece)
{
    GameFolder game;
    PutPieces(game);
    game.Put("data/index.txt", "[BGM FILE=\"{BASE}a.wav\"][WAIT TIME=\"300\"][BGM FILE=\"{BASE}b.mp3\"][WAIT TIME=\"100000\"]");
    game.Put("data/next.txt", "[SET VARIABLE=\"dropped\" ENTITY=\"1\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    // Dropped some 250 ms into the fade that the second BGM starts.
    std::uint32_t droppedAt = 0;
    run.At(1, [&](EngineRun& r) {
        CQuiltorEngine::GetInstance()->GetApp()->GetTimerList().Add(1, 550, 20, 1, kivotasuGameKit::MakeCallback([&] {
            droppedAt = r.Clock().Now();
            r.Windows().DropFile(r.Window(), game.Name("data\\next.txt"));
        }));
    });
    run.At(80, [&](EngineRun&) {
        kivotasuGameKit::CTextFileWriter writer(game.Name("data\\save.txt"));
        CQuiltorEngine::GetInstance()->GetBgm().WriteSave(writer);
    });
    run.Run(90);
    for (const auto& error : run.errors) ADD_FAILURE() << error;

    const std::uint32_t fade = run.Tags(TagId::Wait)[0]->time + 300;
    EXPECT_TRUE(droppedAt > fade && droppedAt < fade + 500) << "dropped " << droppedAt - fade << " ms into the fade";
    // The old piece stops with the old game; the next one never starts.
    const auto plays = Events(run, AudioEventKind::Play);
    ASSERT_EQ(plays.size(), 1u) << plays.back().file;
    EXPECT_TRUE(plays[0].file.ends_with("a.wav")) << plays[0].file;
    EXPECT_EQ(Events(run, AudioEventKind::Stop).size(), 1u);
    EXPECT_EQ(run.Tags(TagId::Set).size(), 1u);
    EXPECT_EQ(game.Get("data/save.txt"), "\n");
}
