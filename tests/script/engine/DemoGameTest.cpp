// The demo game as the build lays it out, played to its end by a reader who
// clicks now and then: its text appears, clicks and keys advance it, its waits
// pause it, its sounds play, END reaches the end screen, and closing writes
// the options.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/FileSystem.h"
#include "platform/HostPath.h"
#include "script/engine/KeyCodes.h"
#include "script/lang/TagTables.h"
#include "tests/kit/AudioSignal.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

namespace {

constexpr std::uint32_t MaxFrames = 20000;
constexpr std::uint32_t ClickEvery = 20;

// The build's game folder, beside the tests' folder.
std::filesystem::path BuiltGame()
{
    std::filesystem::path tests = *platform::ToHostPath(platform::FileSystem().ExecutablePath());
    return tests.parent_path().parent_path() / "game";
}

// Pixels of the screen plane in the rectangle that are not black.
int Ink(int left, int top, int right, int bottom)
{
    auto& surface = *CQuiltorEngine::GetInstance()->GetScreenPlane().GetSurfaceInfo();
    int inked = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            std::uint32_t colour = 0;
            surface.GetPixel(x, y, &colour);
            inked += (colour & 0xFFFFFF) != 0;
        }
    }
    return inked;
}

} // namespace

TEST(DemoGame, PlaysFromTheStartScriptToTheEndScreen)
{
    const std::filesystem::path built = BuiltGame();
    ASSERT_TRUE(std::filesystem::exists(built / "data" / "index.txt")) << "build the demo target first";
    GameFolder game;
    for (const char* folder : {"data", "system"}) {
        std::filesystem::copy(built / folder, game.Host(folder),
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    }
    std::filesystem::remove(game.Host("system/option.qsd"));

    EngineRun run;
    int mostInk = 0;
    std::uint32_t endFrame = 0;
    std::uint32_t endCentre = 0xFFFFFF;
    std::vector<std::uint32_t> endFade;
    for (std::uint32_t frame = 1; frame < MaxFrames; ++frame) {
        run.At(frame, [&, frame](EngineRun& r) {
            const EngineState state = CQuiltorEngine::GetInstance()->GetGameState().State;
            if (state == EngineState::ScriptEnd && (endFrame == 0 || frame <= endFrame + 70)) {
                std::uint32_t colour = 0;
                CQuiltorEngine::GetInstance()->GetBackPlane().GetSurfaceInfo()->GetPixel(320, 240, &colour);
                endFade.push_back(colour & 0xFFFFFF);
            }
            if (state == EngineState::ClickWait) mostInk = std::max(mostInk, Ink(0, 280, 640, 480));
            if (endFrame != 0 && frame == endFrame + 70) {
                CQuiltorEngine::GetInstance()->GetScreenPlane().GetSurfaceInfo()->GetPixel(320, 240, &endCentre);
            }
            if (state == EngineState::ScriptEnd && endFrame == 0) {
                endFrame = frame;
                r.Close(frame + 80); // the end picture fades in over 2 s
            }
        });
        // Alternately a click and Enter.
        if (frame % ClickEvery == 0) {
            if (frame % (2 * ClickEvery) == 0) run.Click(frame);
            else run.Key(frame, KeyCode::Enter);
        }
    }
    run.Run(MaxFrames);

    for (const auto& error : run.errors) ADD_FAILURE() << error;
    EXPECT_NE(endFrame, 0u) << "the end screen was not reached";
    EXPECT_FALSE(run.Tags(TagId::End).empty());
    EXPECT_GT(mostInk, 100) << "no text in the lower part of the screen";
    EXPECT_GE(run.FramesIn(EngineState::TimedWait).size(), 9u);
    EXPECT_FALSE(run.FramesIn(EngineState::ClickWait).empty());
    EXPECT_FALSE(run.Tags(TagId::Call).empty());
    EXPECT_FALSE(run.Tags(TagId::Jump).empty());
    // The end picture stands on the screen plane, not the white of a missing one.
    EXPECT_NE(endCentre & 0xFFFFFF, 0xFFFFFFu);
    // It comes by the blend wipe: the screen passes through shades first.
    EXPECT_GT(std::set<std::uint32_t>(endFade.begin(), endFade.end()).size(), 10u);
    EXPECT_EQ(endFade.back(), endCentre & 0xFFFFFF);
    EXPECT_TRUE(game.Exists("system/option.qsd"));

    // Every EFFECT keyword changes a scene, and so does a picture's name.
    std::set<std::string> effects;
    for (const EngineRun::TagRecord& entry : run.trace) effects.insert(entry.record.GetValue(TagAttributeKey::Effect).GetStr());
    for (std::string_view keyword : EffectNames) EXPECT_EQ(effects.count(std::string(keyword)), 1u) << keyword;
    EXPECT_TRUE(std::any_of(effects.begin(), effects.end(), [](const std::string& effect) { return effect.ends_with("curtain.bmp"); }));
    EXPECT_GT(run.FramesIn(EngineState::Transition).size(), 100u);

    // The sound scene plays WAVE effects and an MP3 voice, and ENDSOUND
    // silences the last chime.
    std::set<std::string> played;
    std::vector<std::uint32_t> stops;
    for (const EngineRun::SoundRecord& sound : run.Sounds()) {
        const std::string file = sound.file.substr(sound.file.find_last_of("/\\") + 1);
        if (sound.kind == platform::AudioEventKind::Play) played.insert(file);
        if (sound.kind == platform::AudioEventKind::Stop && file == "chime.wav") stops.push_back(sound.time);
    }
    EXPECT_EQ(played, (std::set<std::string>{"chime.wav", "drop.wav", "voice.mp3"}));
    const auto endSound = run.Tags(TagId::EndSound);
    ASSERT_EQ(endSound.size(), 1u);
    EXPECT_NE(std::find(stops.begin(), stops.end(), endSound[0]->time), stops.end());
    EXPECT_GT(testkit::Rms(run.Audio().Recording(), 2, 0), 100);
}
