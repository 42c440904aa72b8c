// The settings sheet, opened from the popup menu of a click wait, and the
// custom-skip dialog, which the menu does not offer, opened by its command
// message; answered by the headless dialog service: what they show,
// what OK and Cancel leave in the settings, what is heard meanwhile, and what
// reaches the options file.
#include <gtest/gtest.h>

#include "platform/DrawnText.h"
#include "platform/Shell.h"
#include "script/engine/GlobalSettings.h"
#include "script/engine/MenuCommands.h"
#include "script/engine/SettingPages.h"
#include "tests/kit/AudioSignal.h"
#include "tests/kit/DistinctGlyphs.h"
#include "tests/kit/SineFile.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using platform::Dialog;
using platform::DialogControl;
using platform::HeadlessDialogs;
using testkit::EngineRun;

namespace {

// A click wait without text, so that it comes at once at every TEXT time.
const std::string ClickWaitScript = "[L][WAIT TIME=\"100000\"]";
constexpr std::uint32_t MenuFrame = 20;
constexpr int Ok = 1;
constexpr int Cancel = 2;
// The custom-skip dialog's groups: text, graphic, input, condition.
constexpr int SkipGroups[] = {1100, 1101, 1102, 1103};

CQuiltorEngine& Engine()
{
    return *CQuiltorEngine::GetInstance();
}

struct Settings {
    std::int32_t text, effect, bgm, sound;
    bool operator==(const Settings&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Settings& s)
{
    return out << "text " << s.text << ", effect " << s.effect << ", bgm " << s.bgm << ", sound " << s.sound;
}

Settings Current()
{
    return {GetTextTime(), GetEffectTime(), GetBgmVolume(), GetSoundVolume()};
}

struct Opened {
    Dialog shown;        // as it opened
    Settings after{};    // a few frames after it closed
    CGameState state;    // likewise
    std::string options; // the options file the run left
};

// Chooses the settings from the popup menu of the click wait (another
// command comes as the window's command message), answers the dialog it
// opens, and lets the game run on a little before it is closed. setup runs
// the frame before the menu.
Opened Open(std::uint32_t command, HeadlessDialogs::Answer answer, const std::string& options = "",
            const std::function<void(EngineRun&)>& setup = {})
{
    GameFolder game;
    game.Put("data/index.txt", ClickWaitScript);
    if (!options.empty()) game.Put("system/option.qsd", options);
    EngineRun run;
    if (setup) run.At(MenuFrame - 1, setup);
    run.Dialogs().PushAnswer(std::move(answer));
    if (command == MenuCommand::Settings) {
        run.Dialogs().PushCommand(command);
        run.RightClick(MenuFrame);
    } else {
        run.Command(MenuFrame, command);
    }
    Opened opened;
    run.At(MenuFrame + 3, [&](EngineRun&) {
        opened.after = Current();
        opened.state = Engine().GetGameState();
    });
    run.Run(MenuFrame + 6);
    EXPECT_EQ(run.Dialogs().Shown().size(), 1u);
    if (!run.Dialogs().Shown().empty()) opened.shown = run.Dialogs().Shown().front();
    opened.options = game.Read("system/option.qsd");
    return opened;
}

int Value(const Dialog& dialog, int id)
{
    const DialogControl* control = platform::FindControl(dialog, id);
    EXPECT_NE(control, nullptr) << id;
    return control ? control->value : -1;
}

// Every text of the controls, depth first.
void Texts(const std::vector<DialogControl>& controls, std::vector<std::string>& texts)
{
    for (const DialogControl& control : controls) {
        if (!control.textSjis.empty()) texts.push_back(control.textSjis);
        texts.insert(texts.end(), control.choicesSjis.begin(), control.choicesSjis.end());
        Texts(control.children, texts);
    }
}

std::vector<std::string> Texts(const DialogControl& control)
{
    std::vector<std::string> texts;
    Texts({control}, texts);
    return texts;
}

std::string TimeOptions(int text, int effect)
{
    return "[SYSTEM CONTROL=\"TEXT\" TIME=\"" + std::to_string(text) + "\"][SYSTEM CONTROL=\"EFFECT\" TIME=\"" +
           std::to_string(effect) + "\"]";
}

bool Holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(SettingSheet, IsModalWithTheSpeedVolumeAndVersionPagesAndOnlyOkAndCancel)
{
    const Opened opened = Open(MenuCommand::Settings, {Cancel});
    const Dialog& sheet = opened.shown;
    EXPECT_EQ(sheet.titleSjis, "設定");
    ASSERT_EQ(sheet.controls.size(), 3u);
    for (const DialogControl& page : sheet.controls) EXPECT_EQ(page.kind, DialogControl::Kind::Page);
    EXPECT_EQ(Texts(sheet.controls[0]),
              (std::vector<std::string>{"表示速度", "テキスト", "１文字表示あたりの待ち時間", "0ms", "100ms", "グラフィック",
                                        "表示１回あたりの単位時間", "0ms", "1000ms"}));
    const std::vector<std::string> volume = Texts(sheet.controls[1]);
    EXPECT_EQ(volume.front(), "ボリューム");
    EXPECT_EQ(std::count(volume.begin(), volume.end(), "小"), 2);
    EXPECT_EQ(std::count(volume.begin(), volume.end(), "大"), 2);
    const std::vector<std::string> version = Texts(sheet.controls[2]);
    EXPECT_EQ(version, (std::vector<std::string>{"バージョン情報", "quiltor", "Version 1.00", version.back()}));

    ASSERT_EQ(sheet.buttons.size(), 2u) << "no Apply button";
    EXPECT_EQ(sheet.buttons[0].textSjis, "OK");
    EXPECT_EQ(sheet.buttons[0].result, sheet.defaultResult);
    EXPECT_EQ(sheet.buttons[1].textSjis, "キャンセル");
    EXPECT_EQ(sheet.buttons[1].result, sheet.cancelResult);
    // The speeds reach the ends of their scales (what they read is the speed page's).
    for (const auto& [id, maximum] : {std::pair{SettingControl::Text, 100}, std::pair{SettingControl::Effect, 100},
                                      std::pair{SettingControl::Bgm, 99}, std::pair{SettingControl::Sound, 99}}) {
        const DialogControl* trackbar = platform::FindControl(sheet, id);
        ASSERT_NE(trackbar, nullptr) << id;
        EXPECT_EQ(trackbar->kind, DialogControl::Kind::Slider);
        EXPECT_EQ(std::tie(trackbar->minimum, trackbar->maximum, trackbar->tick, trackbar->page),
                  std::make_tuple(0, maximum, 20, 20))
            << id;
    }
}

TEST(SettingSheet, SpeedPageShowsTheTimesInMillisecondsAndOkStoresThePositions)
{
    struct Case {
        const char* what;
        int text, effect;         // stored before
        int shownText, shownEffect; // positions
        const char* readsEffect;    // what the effect trackbar shows (the text one, its position in ms)
        std::vector<std::pair<int, int>> changes;
        int result;
        int storedText, storedEffect;
    };
    using namespace SettingControl;
    const Case cases[] = {
        {"the initial times: TEXT 200 stands at the end, and OK stores the end", 200, 800, 100, 80, "800ms", {}, Ok, 100, 800},
        {"the low ends", 0, 0, 0, 0, "0ms", {}, Ok, 0, 0},
        {"the high ends", 100, 1000, 100, 100, "1000ms", {}, Ok, 100, 1000},
        {"times beyond the ends", 101, 1200, 100, 100, "1000ms", {}, Ok, 100, 1000},
        {"an effect between tens", 99, 995, 99, 99, "990ms", {}, Ok, 99, 990},
        {"an effect under ten milliseconds", 5, 9, 5, 0, "0ms", {}, Ok, 5, 0},
        {"moved and OK", 200, 800, 100, 80, "800ms", {{Text, 30}, {Effect, 5}}, Ok, 30, 50},
        {"moved beyond the range", 40, 400, 40, 40, "400ms", {{Text, 150}, {Effect, -3}}, Ok, 100, 0},
        {"moved and cancelled", 200, 800, 100, 80, "800ms", {{Text, 30}, {Effect, 5}}, Cancel, 200, 800},
    };
    for (const Case& c : cases) {
        const Opened opened = Open(MenuCommand::Settings, {c.result, c.changes}, TimeOptions(c.text, c.effect));
        EXPECT_EQ(Value(opened.shown, Text), c.shownText) << c.what;
        EXPECT_EQ(Value(opened.shown, Effect), c.shownEffect) << c.what;
        for (const auto& [id, reads] : {std::pair{Text, std::to_string(c.shownText) + "ms"}, std::pair{Effect, std::string(c.readsEffect)}}) {
            const DialogControl* trackbar = platform::FindControl(opened.shown, id);
            ASSERT_NE(trackbar, nullptr) << c.what;
            EXPECT_EQ(platform::ShownSliderValue(*trackbar), reads) << c.what;
        }
        EXPECT_EQ(opened.after, (Settings{c.storedText, c.storedEffect, 0, 0})) << c.what;
        // Written when the player ends.
        EXPECT_TRUE(Holds(opened.options, "[SYSTEM CONTROL=\"TEXT\" TIME=\"" + std::to_string(c.storedText) + "\"]"))
            << c.what << "\n" << opened.options;
        EXPECT_TRUE(Holds(opened.options, "[SYSTEM CONTROL=\"EFFECT\" TIME=\"" + std::to_string(c.storedEffect) + "\"]"))
            << c.what << "\n" << opened.options;
    }
}

TEST(SettingSheet, VolumePageShowsVolumesInStepsOfFiftyFromFullAtTheTopAndOkStoresThem)
{
    struct Case {
        const char* what;
        int bgm, sound; // stored before, hundredths of a decibel
        int shownBgm, shownSound;
        std::vector<std::pair<int, int>> changes;
        int result;
        int storedBgm, storedSound;
    };
    using namespace SettingControl;
    const Case cases[] = {
        {"full volume at the top", 0, 0, 99, 99, {}, Ok, 0, 0},
        {"the lowest at the bottom", -4950, -4950, 0, 0, {}, Ok, -4950, -4950},
        {"lower than the lowest, and between steps", -10000, -2020, 0, 59, {}, Ok, -4950, -2000},
        {"moved to both ends", -2000, -2000, 59, 59, {{Bgm, 0}, {Sound, 99}}, Ok, -4950, 0},
        {"one step down", 0, 0, 99, 99, {{Bgm, 98}, {Sound, 98}}, Ok, -50, -50},
        {"moved and cancelled", -1000, -3000, 79, 39, {{Bgm, 0}, {Sound, 99}}, Cancel, -1000, -3000},
    };
    for (const Case& c : cases) {
        const Opened opened = Open(MenuCommand::Settings, {c.result, c.changes}, "", [&c](EngineRun&) {
            SetBgmVolume(c.bgm);
            SetSoundVolume(c.sound);
        });
        EXPECT_EQ(Value(opened.shown, Bgm), c.shownBgm) << c.what;
        EXPECT_EQ(Value(opened.shown, Sound), c.shownSound) << c.what;
        EXPECT_EQ(opened.after.bgm, c.storedBgm) << c.what;
        EXPECT_EQ(opened.after.sound, c.storedSound) << c.what;
    }
}

namespace {

const double FullRms = testkit::SineFileRms;

// The RMS of the first channel over [from, to) of the clock.
double RmsBetween(EngineRun& run, std::uint32_t from, std::uint32_t to)
{
    return testkit::Rms(run.Heard(from, to), 2, 0);
}

double Gain(int volume)
{
    return std::pow(10.0, volume / 2000.0);
}

} // namespace

TEST(SettingSheet, VolumePageIsHeardWhileItsTrackbarsMoveAndCancelPutsBackTheVolumes)
{
    GameFolder game;
    game.Put("data/a.wav", testkit::SineFile(440, 1000, false));
    const std::u8string sampleName = u8"data/sound/ほてぴら.mp3"; // a host name, so UTF-8
    game.Put(std::string(sampleName.begin(), sampleName.end()), testkit::SineFile(660, 100, true));
    game.Put("data/se.wav", testkit::SineFile(880, 3000, false));
    game.Put("data/index.txt", "[BGM FILE=\"{BASE}a.wav\"][SOUND FILE=\"{BASE}se.wav\"]" + ClickWaitScript);
    EngineRun run;
    using namespace SettingControl;
    std::uint32_t dragged = 0;
    // The music to the bottom, the sound trackbar to 50 and then to 60 while
    // the sample still sounds; half a second of listening, then Cancel.
    run.Dialogs().PushAnswer({Cancel, {{Bgm, 0}, {Sound, 50}, {Sound, 60}}, [&] {
                                  dragged = run.Clock().Now();
                                  run.Clock().Advance(500);
                              }});
    run.Dialogs().PushCommand(MenuCommand::Settings);
    run.RightClick(MenuFrame);
    run.Run(MenuFrame + 20);
    ASSERT_NE(dragged, 0u);

    std::vector<std::uint32_t> samples;
    for (const auto& sound : run.Sounds()) {
        if (sound.kind == platform::AudioEventKind::Play && Holds(sound.file, "ほてぴら.mp3")) samples.push_back(sound.time);
    }
    ASSERT_EQ(samples, std::vector<std::uint32_t>{dragged}) << "played once, when the trackbar first moved";
    // The sample and the effect at the last sound position, the music at -4950.
    const double sample = RmsBetween(run, dragged + 40, dragged + 90);
    EXPECT_NEAR(sample, FullRms * std::hypot(Gain(-1950), Gain(-1950), Gain(-4950)), FullRms * 0.02);
    // After the sample: the music at the bottom and the effect at position 60.
    EXPECT_NEAR(RmsBetween(run, dragged + 250, dragged + 450), FullRms * std::hypot(Gain(-4950), Gain(-1950)),
                FullRms * 0.005);
    // Cancel: both at full volume again.
    EXPECT_NEAR(RmsBetween(run, dragged + 550, dragged + 750), FullRms * std::sqrt(2.0), FullRms * 0.02);
    EXPECT_EQ(Current(), (Settings{200, 800, 0, 0}));
}

TEST(SettingSheet, VersionPageLinkOpensTheHomePage)
{
    auto owned = std::make_unique<platform::HeadlessShell>();
    platform::HeadlessShell* shell = owned.get();
    platform::InstallShell(std::move(owned));
    const Opened opened = Open(MenuCommand::Settings, {Cancel, {{SettingControl::HomePage, 1}}});
    const DialogControl* link = platform::FindControl(opened.shown, SettingControl::HomePage);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->kind, DialogControl::Kind::Link);
    ASSERT_EQ(shell->Opened().size(), 1u);
    EXPECT_EQ(shell->Opened()[0], link->textSjis);
    EXPECT_EQ(shell->Opened()[0].rfind("https://", 0), 0u);
    platform::InstallShell(nullptr);
}

TEST(CustomSkip, ShowsTheSkipSettingsAndOkStoresThemIntoTheCustomPreset)
{
    struct Case {
        const char* what;
        std::string options;
        bool customInForce;
        std::array<int, 4> shown;
        std::vector<std::pair<int, int>> changes;
        int result;
        std::array<std::uint32_t, 4> settings;
        std::array<std::uint32_t, 4> modes;
    };
    const std::string stored = "[SYSTEM CONTROL=\"SKIPTEXT\" NAME=\"1\"][SYSTEM CONTROL=\"SKIPGRAPHIC\" NAME=\"2\"]"
                               "[SYSTEM CONTROL=\"SKIPINPUT\" NAME=\"3\"][SYSTEM CONTROL=\"SKIPCOND\" NAME=\"2\"]";
    const std::vector<std::pair<int, int>> moved = {
        {SkipGroups[0], 2}, {SkipGroups[1], 0}, {SkipGroups[2], 2}, {SkipGroups[3], 1}};
    const Case cases[] = {
        {"the stored settings selected; the condition's first button whatever is stored", stored, false, {1, 2, 3, 0},
         {}, Ok, {1, 2, 3, 2}, {0, 0, 0, 0}},
        {"OK stores all but the condition", stored, false, {1, 2, 3, 0}, moved, Ok, {2, 0, 2, 2}, {0, 0, 0, 0}},
        {"the custom preset in force follows", stored, true, {1, 2, 3, 0}, moved, Ok, {2, 0, 2, 2}, {2, 0, 2, 2}},
        {"Cancel stores nothing", stored, true, {1, 2, 3, 0}, moved, Cancel, {1, 2, 3, 2}, {1, 2, 3, 2}},
        {"without options", "", false, {0, 0, 0, 0}, {{SkipGroups[2], 3}}, Ok, {0, 0, 3, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const Opened opened = Open(MenuCommand::CustomSkipSettings, {c.result, c.changes}, c.options, [&c](EngineRun&) {
            if (c.customInForce) Engine().SetSkipPattern(4);
        });
        const Dialog& dialog = opened.shown;
        EXPECT_EQ(dialog.titleSjis, "カスタムスキップ") << c.what;
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(Value(dialog, SkipGroups[i]), c.shown[i]) << c.what << " " << i;
        EXPECT_EQ(opened.state.SkipSettings, c.settings) << c.what;
        EXPECT_EQ(opened.state.SkipModes, c.modes) << c.what;
        for (std::size_t i = 0; i < 3; ++i) {
            const char* names[] = {"SKIPTEXT", "SKIPGRAPHIC", "SKIPINPUT"};
            EXPECT_TRUE(Holds(opened.options, std::string("[SYSTEM CONTROL=\"") + names[i] + "\" NAME=\"" +
                                                  std::to_string(c.settings[i]) + "\"]"))
                << c.what << "\n" << opened.options;
        }
    }
}

// Neither is an item of the menu; their commands still reach them.
TEST(CustomSkip, HasItsGroupsAndButtonsAndTheCustomSkipCommandTakesItsChoices)
{
    GameFolder game;
    game.Put("data/index.txt", ClickWaitScript);
    EngineRun run;
    run.Command(MenuFrame, MenuCommand::CustomSkipSettings);
    run.Dialogs().PushAnswer({Ok, {{SkipGroups[0], 1}, {SkipGroups[1], 2}, {SkipGroups[2], 1}}});
    run.Command(MenuFrame + 5, MenuCommand::SkipCustom);
    run.RightClick(MenuFrame + 8);
    CGameState state;
    run.At(MenuFrame + 8, [&](EngineRun&) { state = Engine().GetGameState(); });
    run.Run(MenuFrame + 12);

    ASSERT_EQ(run.Dialogs().Menus().size(), 1u);
    EXPECT_FALSE(platform::FindCommand(run.Dialogs().Menus()[0].menu, MenuCommand::SkipCustom)) << "not offered";
    EXPECT_FALSE(platform::FindCommand(run.Dialogs().Menus()[0].menu, MenuCommand::CustomSkipSettings)) << "not offered";
    EXPECT_EQ(state.SkipPattern, 4u);
    EXPECT_EQ(state.SkipModes, (std::array<std::uint32_t, 4>{1, 2, 1, 0}));

    ASSERT_EQ(run.Dialogs().Shown().size(), 1u);
    const Dialog& dialog = run.Dialogs().Shown()[0];
    std::vector<std::string> texts;
    Texts(dialog.controls, texts);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "テキスト表示", "一文字ずつ", "ノーウェイト", "非表示", "画像表示", "通常エフェクト", "ノーウェイト",
                         "非表示", "入力", "通常", "お手軽", "手ぶら進行", "ノーウェイト", "スキップ条件", "無条件で常に",
                         "未読テキストまで", "既読テキストは常に", "手ぶらの待ち時間", "待ち時間　=　（テキスト文字数　×",
                         "）　　　　＋", "[ms]"}));
    ASSERT_EQ(dialog.buttons.size(), 2u);
    EXPECT_EQ(dialog.buttons[0].textSjis, "OK");
    EXPECT_EQ(dialog.buttons[1].textSjis, "ｷｬﾝｾﾙ");
    EXPECT_EQ(dialog.cancelResult, dialog.buttons[1].result);
}

TEST(SettingDialogs, EveryCharacterOfTheirTextsIsDrawnWithAGlyphOfItsOwn)
{
    std::vector<std::string> texts;
    for (std::uint32_t command : {MenuCommand::Settings, MenuCommand::CustomSkipSettings}) {
        const Dialog dialog = Open(command, {Cancel}).shown;
        texts.push_back(dialog.titleSjis);
        Texts(dialog.controls, texts);
        for (const platform::DialogButton& button : dialog.buttons) texts.push_back(button.textSjis);
    }
    testkit::ExpectDistinctGlyphs(texts);
}
