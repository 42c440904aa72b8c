// The demo game as the build lays it out, played to its end by a reader who
// clicks now and then: its text appears, clicks and keys advance it, its waits
// pause it, its sounds play, END reaches the end screen, and closing writes
// the options.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

#include "platform/Cursors.h"
#include "platform/FileSystem.h"
#include "platform/HostPath.h"
#include "script/engine/KeyCodes.h"
#include "script/engine/MenuCommands.h"
#include "script/engine/SettingPages.h"
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

// Pixels of the screen plane in the rectangle that are not black (or, given
// a colour, that are of that colour).
int Ink(int left, int top, int right, int bottom, std::int64_t only = -1)
{
    auto& surface = *CQuiltorEngine::GetInstance()->Shown().GetScreenPlane().GetSurfaceInfo();
    int inked = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            std::uint32_t colour = 0;
            surface.GetPixel(x, y, &colour);
            inked += only < 0 ? (colour & 0xFFFFFF) != 0 : (colour & 0xFFFFFF) == only;
        }
    }
    return inked;
}

// The centre of the first choice button.
platform::Point FirstChoice()
{
    for (auto& element : CQuiltorEngine::GetInstance()->GetButtons().GetElements()) {
        const auto& button = static_cast<const TAG::CButtonElement&>(*element);
        if (button.GetKind() != TAG::ButtonKind::Choice) continue;
        const kivotasuGameKit::RECT& rect = button.GetRect();
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    return {};
}

// The wait cursor's dot on the screen, around the animation's place.
bool WaitCursorShown(EngineRun& run)
{
    TAG::CAnimateManager& animations = CQuiltorEngine::GetInstance()->GetAnimations();
    if (!animations.GetCurrent() || !animations.IsShown()) return false;
    const kivotasuGameKit::POINT at = animations.GetPosition();
    for (int y = at.y; y < at.y + 16; ++y)
        for (int x = at.x; x < at.x + 16; ++x)
            if (run.Displays().PictureAt(x, y) == 0xFFE678) return true;
    return false;
}

// A character drawn while text shows, by the message it belongs to.
struct DrawnCharacter {
    int message;
    std::uint32_t time;
};

// The median time between the characters of a message.
std::uint32_t CharacterPace(const std::vector<DrawnCharacter>& drawn, int message)
{
    std::vector<std::uint32_t> steps;
    for (std::size_t i = 1; i < drawn.size(); ++i)
        if (drawn[i].message == message && drawn[i - 1].message == message) steps.push_back(drawn[i].time - drawn[i - 1].time);
    if (steps.empty()) return 0;
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    return steps[steps.size() / 2];
}

// The save chapter's screen at one of its click waits: both quick buttons
// shown (their dark ground, or the lit one under the mouse), and any magenta
// of a picture's key left on it.
struct SaveChapterShot {
    bool saveShown, loadShown;
    int magenta;
};

SaveChapterShot ShotOfSaveChapter(EngineRun& run)
{
    const auto shown = [&](int left) {
        int ground = 0;
        for (int y = 32; y < 52; ++y)
            for (int x = left; x < left + 56; ++x) ground += run.Displays().PictureAt(x, y) == 0x1E2234 || run.Displays().PictureAt(x, y) == 0x465AA0;
        return ground > 56 * 20 / 2;
    };
    int magenta = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) magenta += run.Displays().PictureAt(x, y) == 0xFF00FF;
    return {shown(496), shown(556), magenta};
}

// The back-log view as it opened: its newest line.
struct BackLogShot {
    int newestRow = -1;
    int newestInk = 0;
};

BackLogShot ShotOfBackLog(EngineRun& run)
{
    // The view's default layout: 15 rows, 30 pixels apart from y 12.
    constexpr int Rows = 15, Top = 12, Pitch = 30;
    const TAG::CLog& log = CQuiltorEngine::GetInstance()->GetLog();
    BackLogShot shot;
    int newest = int(log.GetLines().size()) - 1;
    while (newest > 0 && log.GetLines()[std::size_t(newest)].IsEmpty()) --newest;
    shot.newestRow = newest - log.GetFirstShown();
    if (shot.newestRow >= 0 && shot.newestRow < Rows)
        for (int y = Top + shot.newestRow * Pitch; y < Top + (shot.newestRow + 1) * Pitch && y < 480; ++y)
            for (int x = 0; x < 640; ++x) shot.newestInk += run.Displays().PictureAt(x, y) == 0xFFFFFF;
    return shot;
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
    int choices = 0;
    bool waitCursor = false, waitCursorAtStart = false;
    // The lowest edge of the first choice's items, inside the text window.
    int firstChoiceBottom = 0;
    // From the end screen back to the start: the start script sets its own
    // background, so its first page is not left on the end screen's white.
    std::uint32_t titleFrame = 0;
    int whiteAfterTitle = -1;
    // The mouse cursor made of the demo's animated cursor file.
    auto installed = std::make_unique<platform::HeadlessCursorSystem>();
    platform::HeadlessCursorSystem& cursors = *installed;
    platform::InstallCursors(std::move(installed));
    bool cursorFile = false;
    EngineState last = EngineState::RunTags;
    // The save scene: its left button quick-saves at the first page, its
    // right one, a page later, loads back to it.
    std::uint32_t savedAt = 0;
    bool loadClicked = false;
    int litFrames = 0;
    // The right-click menu three times in the first script's click waits:
    // save slot 0, then the scene-skip switch, whose menu shows the slot's
    // time, then the settings, where the text speed goes to 60 ms; then the
    // screen picture's command, which the menu does not offer, named in the
    // save dialog.
    int menus = 0;
    constexpr int SettingsTextTime = 60;
    std::uint32_t settingsAt = 0;
    std::vector<SaveChapterShot> saveShots;
    std::uint32_t waitFrom = 0;
    std::uint32_t backLogAsked = 0;
    std::optional<BackLogShot> backLog;
    std::vector<DrawnCharacter> drawn;
    int messages = 0;
    kivotasuGameKit::POINT lastCursor{};
    for (std::uint32_t frame = 1; frame < MaxFrames; ++frame) {
        run.At(frame, [&, frame](EngineRun& r) {
            const EngineState state = CQuiltorEngine::GetInstance()->GetGameState().State;
            const CScriptReader& reader = CQuiltorEngine::GetInstance()->GetReader();
            if (state == EngineState::ClickWait && last != state) waitFrom = frame;
            // Three frames into each wait: the wait's drawing has settled.
            if (state == EngineState::ClickWait && reader.GetName().ends_with("save.txt") && frame == waitFrom + 3)
                saveShots.push_back(ShotOfSaveChapter(r));
            // The back-log opened by Page Up on the last page, after the save chapter.
            if (state == EngineState::ClickWait && reader.GetName().ends_with("chapter.txt") && loadClicked && !backLogAsked) {
                backLogAsked = frame;
                r.Key(frame + 1, KeyCode::PageUp);
            }
            if (state == EngineState::BackLog && last == state && !backLog) backLog = ShotOfBackLog(r);
            if (state == EngineState::ClickWait && reader.GetName().ends_with("save.txt")) {
                if (savedAt == 0) {
                    savedAt = reader.GetOffset();
                    r.Click(frame, 524, 42);
                } else if (!loadClicked && reader.GetOffset() > savedAt) {
                    loadClicked = true;
                    r.Click(frame, 584, 42);
                }
            }
            if (state == EngineState::ClickWait && reader.GetName().ends_with("index.txt") && menus < 4 &&
                frame % ClickEvery == 5) {
                const std::uint32_t commands[] = {MenuCommand::SaveSlot, MenuCommand::SceneSkip, MenuCommand::Settings,
                                                  MenuCommand::SaveScreenPicture};
                const std::uint32_t command = commands[menus++];
                if (menus == 3)
                    r.Dialogs().PushAnswer({1, {{SettingControl::Text, SettingsTextTime}}, [&] { settingsAt = r.Clock().Now(); }});
                if (menus == 4) {
                    r.Dialogs().PushFile(game.Name("screen"));
                    r.Command(frame + 1, command);
                } else {
                    r.Dialogs().PushCommand(command);
                    r.RightClick(frame + 1);
                }
            }
            if (state == EngineState::TextDisplay) {
                if (last != state) ++messages;
                const kivotasuGameKit::POINT cursor = CQuiltorEngine::GetInstance()->GetText().CursorPos();
                if (cursor.x != lastCursor.x || cursor.y != lastCursor.y) drawn.push_back({messages, r.Clock().Now()});
                lastCursor = cursor;
            }
            // The first choice by the keys, the next by a click on its first item.
            if (state == EngineState::ChoiceWait && last != state && choices == 0)
                for (auto& element : CQuiltorEngine::GetInstance()->GetButtons().GetElements()) {
                    const auto& button = static_cast<const TAG::CButtonElement&>(*element);
                    if (button.GetKind() == TAG::ButtonKind::Choice) firstChoiceBottom = std::max(firstChoiceBottom, int(button.GetRect().bottom));
                }
            if (state == EngineState::ChoiceWait && last != state && ++choices % 2 == 1) {
                r.Key(frame + 2, KeyCode::Down);
                r.Key(frame + 5, KeyCode::Enter);
            } else if (state == EngineState::ChoiceWait && last != state) {
                const platform::Point at = FirstChoice();
                r.Click(frame + 2, at.x, at.y);
            }
            last = state;
            if (state == EngineState::ClickWait) waitCursor = waitCursor || WaitCursorShown(r);
            if (state == EngineState::ClickWait && reader.GetName().ends_with("index.txt") && choices == 0)
                waitCursorAtStart = waitCursorAtStart || WaitCursorShown(r);
            if (state == EngineState::ClickWait) cursorFile = cursorFile || cursors.Shown() != 0;
            if (state == EngineState::ScriptEnd && (endFrame == 0 || frame <= endFrame + 70)) {
                std::uint32_t colour = 0;
                CQuiltorEngine::GetInstance()->Shown().GetBackPlane().GetSurfaceInfo()->GetPixel(320, 240, &colour);
                endFade.push_back(colour & 0xFFFFFF);
            }
            if (state == EngineState::ClickWait) {
                mostInk = std::max(mostInk, Ink(0, 280, 640, 480));
                // The centre of the wait cursor of light (C), against the sky behind it.
                std::uint32_t behind = 0;
                CQuiltorEngine::GetInstance()->Shown().GetBackPlane().GetSurfaceInfo()->GetPixel(608, 36, &behind);
                const std::uint32_t shown = r.Displays().PictureAt(608, 36);
                litFrames += (shown & 0xFF) > 200 && (shown & 0xFF) > (behind & 0xFF);
            }
            if (endFrame != 0 && frame == endFrame + 70) {
                CQuiltorEngine::GetInstance()->Shown().GetScreenPlane().GetSurfaceInfo()->GetPixel(320, 240, &endCentre);
            }
            if (state == EngineState::ScriptEnd && endFrame == 0) endFrame = frame;
            if (endFrame != 0 && frame == endFrame + 75) { // the end picture fades in over 2 s
                r.Dialogs().PushCommand(MenuCommand::ReturnToTitle);
                r.RightClick(frame + 1);
                titleFrame = frame + 1;
            }
            if (titleFrame != 0 && whiteAfterTitle < 0 && frame > titleFrame && state == EngineState::ClickWait) {
                whiteAfterTitle = Ink(0, 280, 640, 480, 0xFFFFFF);
                r.Close(frame + 1);
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
    // The glow is added to the sky: bluer than the sky behind it and than the
    // glow's own blue (at most 120), which neither a blend nor a copy gives.
    EXPECT_GT(litFrames, 0) << "the wait cursor of light was not added to the screen";
    EXPECT_GE(run.FramesIn(EngineState::TimedWait).size(), 9u);
    EXPECT_FALSE(run.FramesIn(EngineState::ClickWait).empty());
    EXPECT_FALSE(run.Tags(TagId::Call).empty());
    EXPECT_FALSE(run.Tags(TagId::Jump).empty());
    EXPECT_EQ(choices, 2);
    EXPECT_EQ(run.Tags(TagId::EndSelect).size(), 2u);
    EXPECT_GE(run.Tags(TagId::BeginButton).size(), 5u);
    EXPECT_TRUE(waitCursor) << "no animated wait cursor was shown";
    EXPECT_TRUE(waitCursorAtStart) << "the waits before the choice chapter show no wait cursor";
    EXPECT_GT(firstChoiceBottom, 0);
    EXPECT_LE(firstChoiceBottom, 292 + 176) << "an item of the first choice crosses the text window's frame";
    EXPECT_GE(whiteAfterTitle, 0) << "the start script did not wait again after the return to the title";
    EXPECT_LT(whiteAfterTitle, 640 * 200 / 10) << "the start page stands on the end screen's white";
    EXPECT_TRUE(cursorFile) << "the cursor file was not shown";
    // The end picture stands on the screen plane, not the white of a missing one.
    EXPECT_NE(endCentre & 0xFFFFFF, 0xFFFFFFu);
    // It comes by the blend wipe: the screen passes through shades first.
    EXPECT_GT(std::set<std::uint32_t>(endFade.begin(), endFade.end()).size(), 10u);
    EXPECT_EQ(endFade.back(), endCentre & 0xFFFFFF);
    EXPECT_TRUE(game.Exists("system/option.qsd"));
    EXPECT_TRUE(game.Exists("Save/index.q"));
    ASSERT_EQ(run.Dialogs().Menus().size(), 4u); // the last on the end screen
    ASSERT_EQ(run.Dialogs().ShownFiles().size(), 1u);
    EXPECT_EQ(run.Dialogs().ShownFiles()[0].titleSjis, "画面の保存");
    EXPECT_EQ(game.Read("screen.pdt").substr(0, 5), "PDT10") << "the dialog's name got the picture and its extension";
    EXPECT_TRUE(game.Exists("Save/index.000"));
    EXPECT_EQ(platform::FindCommand(run.Dialogs().Menus()[0].menu, MenuCommand::SaveSlot)->textSjis, "000: - NONE -");
    EXPECT_NE(platform::FindCommand(run.Dialogs().Menus()[1].menu, MenuCommand::LoadSlot)->textSjis, "000: - NONE -");
    EXPECT_NE(game.Read("Save/index.g").find("スキップ機能"), std::string::npos) << "the switch is a global variable";
    EXPECT_TRUE(loadClicked);
    // The quick buttons have pictures of their own, keyed, above the text
    // window: drawn when the chapter opens and at each page after it.
    ASSERT_GE(saveShots.size(), 3u);
    for (std::size_t i = 0; i < saveShots.size(); ++i) {
        EXPECT_TRUE(saveShots[i].saveShown && saveShots[i].loadShown) << "wait " << i;
        EXPECT_EQ(saveShots[i].magenta, 0) << "wait " << i;
    }
    // The back-log opens on its newest line.
    ASSERT_TRUE(backLog.has_value()) << "the back-log did not open";
    EXPECT_GE(backLog->newestRow, 0);
    EXPECT_LT(backLog->newestRow, 15);
    EXPECT_GT(backLog->newestInk, 20) << "the newest line is not drawn";
    // The load ran the save through the dispatcher and came back to the saved page.
    EXPECT_EQ(run.Tags(TagId::Save).size(), 2u);
    EXPECT_TRUE(std::any_of(run.trace.begin(), run.trace.end(), [&](const EngineRun::TagRecord& entry) {
        return entry.record.GetId() == TagId::P && entry.record.GetFile().GetStr().ends_with("save.txt") &&
               std::uint32_t(entry.record.GetNameNumber()) == savedAt;
    })) << "the saved page waits again after the load";

    // The text before the settings came at the TEXT time of a fresh start,
    // 200 ms a character (whole frames of 33 ms, so a little more); the next
    // message at the 60 ms the sheet set: two frames a character.
    ASSERT_NE(settingsAt, 0u) << "the settings were not opened";
    const auto firstAfter = std::find_if(drawn.begin(), drawn.end(), [&](const DrawnCharacter& c) { return c.time > settingsAt; });
    ASSERT_NE(firstAfter, drawn.end());
    ASSERT_NE(firstAfter, drawn.begin());
    EXPECT_GE(CharacterPace(drawn, std::prev(firstAfter)->message), 200u);
    EXPECT_NEAR(CharacterPace(drawn, firstAfter->message), 67, 1);

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
    std::uint32_t riverAt = 0;
    for (const EngineRun::SoundRecord& sound : run.Sounds()) {
        const std::string file = sound.file.substr(sound.file.find_last_of("/\\") + 1);
        if (sound.kind == platform::AudioEventKind::Play) played.insert(file);
        if (sound.kind == platform::AudioEventKind::Play && file == "river.wav") riverAt = sound.time;
        if (sound.kind == platform::AudioEventKind::Stop && file == "chime.wav") stops.push_back(sound.time);
    }
    EXPECT_EQ(played, (std::set<std::string>{"title.mid", "chime.wav", "drop.wav", "voice.mp3", "river.wav", "walk.wav", "night.mp3"}));
    const auto endSound = run.Tags(TagId::EndSound);
    ASSERT_EQ(endSound.size(), 1u);
    EXPECT_NE(std::find(stops.begin(), stops.end(), endSound[0]->time), stops.end());
    EXPECT_GT(testkit::Rms(run.Audio().Recording(), 2, 0), 100);
    // The long BGM streams: SYSTEM turned streaming on just before it.
    const auto system = run.Tags(TagId::System);
    EXPECT_TRUE(std::any_of(system.begin(), system.end(), [&](const auto* entry) {
        return entry->record.GetValue(TagAttributeKey::Control).GetStr() == "STREAM" && entry->record.GetNameFlag() &&
               entry->time <= riverAt;
    }));

    // The music fades out: the first piece over half a second when the second
    // one starts, the second over ENDBGM's two seconds (the first BGM and
    // ENDBGM tags of the game).
    std::vector<EngineRun::SoundRecord> music;
    for (const EngineRun::SoundRecord& sound : run.Sounds())
        if (sound.file.ends_with("walk.wav") || sound.file.ends_with("night.mp3")) music.push_back(sound);
    ASSERT_EQ(music.size(), 4u);
    const auto bgm = run.Tags(TagId::Bgm);
    const auto endBgm = run.Tags(TagId::EndBgm);
    ASSERT_GE(bgm.size(), 2u);
    ASSERT_GE(endBgm.size(), 1u);
    EXPECT_EQ(music[1].kind, platform::AudioEventKind::Stop);
    // The BGM tag after the first piece's (the title music's comes before both).
    const auto next = std::find_if(bgm.begin(), bgm.end(), [&](const auto* tag) { return tag->time > music[0].time; });
    ASSERT_NE(next, bgm.end());
    EXPECT_NEAR(music[1].time, (*next)->time, 10);
    EXPECT_EQ(music[3].kind, platform::AudioEventKind::Stop);
    EXPECT_NEAR(music[3].time, endBgm[0]->time, 10);
    auto level = [&](std::uint32_t from, std::uint32_t to) { return testkit::Rms(run.Heard(from, to), 2, 0); };
    const double full = level(music[3].time - 2000 - 1200, music[3].time - 2000);
    EXPECT_GT(full, 1000);
    EXPECT_LT(level(music[3].time - 600, music[3].time), full * 0.35);
    ASSERT_GT(music[1].time, music[0].time + 800);
    EXPECT_LT(level(music[1].time - 150, music[1].time), level(music[0].time, music[1].time - 520) * 0.35);

    // The title music is MIDI: it starts with the first BGM tag and is heard
    // through its first round and, looping, in its second.
    std::vector<EngineRun::SoundRecord> title;
    for (const EngineRun::SoundRecord& sound : run.Sounds())
        if (sound.file.ends_with("title.mid")) title.push_back(sound);
    ASSERT_FALSE(bgm.empty());
    ASSERT_FALSE(title.empty());
    EXPECT_EQ(title[0].kind, platform::AudioEventKind::Play);
    EXPECT_EQ(title[0].time, bgm[0]->time);
    const auto sounds = run.Tags(TagId::Sound);
    ASSERT_FALSE(sounds.empty());
    constexpr std::uint32_t Round = 9600;
    ASSERT_GT(sounds[0]->time, title[0].time + Round + 2000) << "the second round overlaps the sound scene";
    EXPECT_GT(level(title[0].time, title[0].time + 2000), 300);
    EXPECT_GT(level(title[0].time + Round, title[0].time + Round + 2000), 300);
    EXPECT_TRUE(std::none_of(title.begin(), title.end(), [](const EngineRun::SoundRecord& sound) {
        return sound.kind == platform::AudioEventKind::End;
    }));
}
