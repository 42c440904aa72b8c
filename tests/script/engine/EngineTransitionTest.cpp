// LOCK and UNLOCK around element changes, the transition state's timing, and
// when what the tags set up reaches the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "script/dib/DibInfoCache.h"
#include "script/engine/KeyCodes.h"
#include "script/engine/MenuCommands.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"
#include "tests/script/dib/PictureKit.h"

using testkit::EngineRun;

namespace {

const std::string Hold = "[WAIT TIME=\"100000\"]";
// A text window with its frame along the bottom.
const std::string TextWindow = "[WINDOW NAME=\"w\"][FADEWINDOW NAME=\"w\" X=\"8\" Y=\"380\" WIDTH=\"624\" HEIGHT=\"92\"]"
                               "[DEFAULTTEXT X=\"24\" Y=\"392\" HEIGHT=\"28\" LINE=\"2\"]";

std::uint32_t Sign(int x, int y) { return x < 4 || y < 4 || x >= 136 || y >= 76 ? 0xFF503010 : 0xFFE8D8A0; }
// A green disc on magenta, the key colour.
std::uint32_t Disc(int x, int y) { return (x - 16) * (x - 16) + (y - 16) * (y - 16) > 144 ? 0xFFFF00FF : 0xFF20A020; }
std::uint32_t Key(int x, int y) { return x < 2 || y < 2 || x >= 54 || y >= 18 ? 0xFFF0F0F0 : 0xFF6040A0; }

std::string Button(int x, int y)
{
    return "[BEGINBUTTON NAME=\"b" + std::to_string(x) + "\" X=\"" + std::to_string(x) + "\" Y=\"" + std::to_string(y) +
           "\" WIDTH=\"56\" HEIGHT=\"20\" LABEL=\"_LOG_BACK\"][BUTTON NAME=\"OFF\"][PAINT FILE=\"key.bmp\"][ENDBUTTON]";
}

// Every channel of the window's pixel within a few steps of the colour.
bool Shows(std::uint32_t pixel, std::uint32_t colour)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int((pixel >> shift) & 0xFF) - int((colour >> shift) & 0xFF)) > 8) return false;
    return true;
}

} // namespace

TEST(EngineTransition, TwoLocksNeedTwoUnlocksAndOnlyTheSecondStartsTheTransition)
{
    GameFolder game;
    game.Put("data/index.txt", "[LOCK][LOCK][UNLOCK][UNLOCK][UNLOCK]" + Hold);
    EngineRun run;
    run.Run(60);

    auto unlocks = run.Tags(TagId::Unlock);
    ASSERT_EQ(unlocks.size(), 3u);
    EXPECT_EQ(unlocks[0]->after, EngineState::RunTags);
    EXPECT_EQ(unlocks[1]->after, EngineState::Transition);
    // An UNLOCK without a LOCK changes nothing.
    EXPECT_EQ(unlocks[2]->after, EngineState::RunTags);
}

TEST(EngineTransition, ElementTagUnderALockStartsNoTransition)
{
    GameFolder game;
    game.Put("data/index.txt", "[LOCK][ACT NAME=\"a\" EFFECT=\"BLEND\"][BACK NAME=\"b\"][SET VARIABLE=\"x\" ENTITY=\"1\"]"
                               "[UNLOCK EFFECT=\"NONE\"]" + Hold);
    EngineRun run;
    run.Run(30);

    EXPECT_EQ(run.Tags(TagId::Act).at(0)->after, EngineState::RunTags);
    EXPECT_EQ(run.Tags(TagId::Back).at(0)->after, EngineState::RunTags);
    // The transition of the UNLOCK, NONE, ends on its first frame.
    EXPECT_EQ(run.FramesIn(EngineState::Transition).size(), 1u);
}

TEST(EngineTransition, TransitionLastsTheEffectTime)
{
    GameFolder game;
    game.Put("system/option.qsd", "[SYSTEM CONTROL=\"EFFECT\" TIME=\"500\"]");
    game.Put("data/index.txt", "[BACK NAME=\"b\" EFFECT=\"BLEND\"][SET VARIABLE=\"a\" ENTITY=\"1\"]"
                               "[BACK NAME=\"b\" EFFECT=\"MOSAIC\"][SET VARIABLE=\"b\" ENTITY=\"1\"]"
                               "[BACK NAME=\"b\" EFFECT=\"NONE\"][SET VARIABLE=\"c\" ENTITY=\"1\"]" + Hold);
    EngineRun run;
    run.Run(120);

    auto backs = run.Tags(TagId::Back);
    auto sets = run.Tags(TagId::Set);
    ASSERT_EQ(sets.size(), 3u);
    auto took = [&](int i) { return sets[i]->time - backs[i]->time; };
    // BLEND over the EFFECT time; MOSAIC over twice that; NONE at once.
    EXPECT_GE(took(0), 500u);
    EXPECT_LT(took(0), 500u + 3 * 34);
    EXPECT_GE(took(1), 1000u);
    EXPECT_LT(took(1), 1000u + 3 * 34);
    EXPECT_LT(took(2), 3 * 34u);
}

TEST(EngineTransition, ClickEndsATransition)
{
    GameFolder game;
    game.Put("data/index.txt", "[BACK NAME=\"b\" EFFECT=\"BLEND\"][SET VARIABLE=\"a\" ENTITY=\"1\"]" + Hold);
    EngineRun run;
    run.Click(3);
    run.Run(40);
    EXPECT_EQ(run.Tags(TagId::Set).at(0)->frame, 4u);
}

TEST(EngineStory, SpeakerBeforeTheColonGoesToTheNameUnderTrh2)
{
    GameFolder game;
    // Two full-width letters (4 bytes) and the colon: window 4 / 2.
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTWINDOW CONTROL=\"TRH2\"]ＡＢ：本文です[C]");
    EngineRun run;
    std::string name, message;
    run.At(5, [&](EngineRun&) {
        TAG::CText& text = CQuiltorEngine::GetInstance()->GetText();
        name = text.GetName().GetStr();
        message = text.GetMessage().GetStr();
    });
    run.Run(5);

    EXPECT_EQ(name, "ＡＢ");
    EXPECT_EQ(message, "本文です");
}

TEST(EngineStory, NoSplitWithoutAStyleOrBeyondTheNameLength)
{
    GameFolder game;
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]ＡＢ：本文[C][TP]"
                               "[DEFAULTWINDOW CONTROL=\"TRH2\"]ＡＢＣＤＥ：本文[C]");
    EngineRun run;
    std::string first, second;
    run.At(5, [&](EngineRun&) { first = CQuiltorEngine::GetInstance()->GetText().GetMessage().GetStr(); });
    run.Click(6);
    run.At(12, [&](EngineRun&) { second = CQuiltorEngine::GetInstance()->GetText().GetMessage().GetStr(); });
    run.Run(12);

    EXPECT_EQ(first, "ＡＢ：本文");
    // The colon at byte 10 lies past the 8 bytes a TRH2 name may have.
    EXPECT_EQ(second, "ＡＢＣＤＥ：本文");
}

// What the tags between two waits set up reaches the window together, at the
// speed of its transitions: never one thing of it ahead of the rest (not at a
// turn amid a frame's time of tags either), nothing of a LOCK before its
// UNLOCK (not in the back-log, the hidden windows, a choice, a frame from the
// menu or over the window frames either), a button unshown answers no click,
// pointer or key, and a button stays drawn while it is defined.
TEST(EngineTransition, WhatTheTagsSetUpReachesTheWindowTogether)
{
    struct Point { int x, y; std::uint32_t colour; };
    struct Case {
        const char* what;
        std::string tags;
        Point thing, companion; // the thing may show only once the companion shows, and shows at the end
        std::uint32_t notBefore; // the frames its waits and transitions take at the least
        std::function<void(EngineRun&)> input = nullptr;
    };
    const std::string cut = "[BACK COLOR=\"#204060\" EFFECT=\"NONE\"][PAINT NAME=\"sign\" FILE=\"sign.bmp\" X=\"100\" Y=\"40\" EFFECT=\"NONE\"]"
                            "[CUT FILE=\"disc.bmp\" X=\"0\" Y=\"0\" WIDTH=\"32\" HEIGHT=\"32\" ERASE=\"LEFTTOP\"]";
    const std::string pasted = cut + "[PASTE NAME=\"sign\" X=\"4\" Y=\"4\"]";
    std::string pastes = cut;
    for (int k = 0; k < 20; ++k) pastes += "[PASTE NAME=\"sign\" X=\"" + std::to_string(4 + 5 * k) + "\" Y=\"4\"]";
    std::string row;
    for (int k = 0; k < 5; ++k) row += Button(20 + 60 * k, 8);
    // Three turns' worth of tags, read in no time on the virtual clock.
    std::string turns;
    for (int k = 0; k < 13000; ++k) turns += "[SET VARIABLE=\"a\" ENTITY=\"1\"]";
    const std::string windowed = TextWindow + "[BACK COLOR=\"#204060\" EFFECT=\"NONE\"]一頁目。" + Button(500, 400);
    auto altEnterAtTurn = [](EngineRun& run) {
        run.AtTurn(1, [](EngineRun& r) { r.Keyboard().Hold(KeyCode::LeftAlt); r.Keyboard().Hold(KeyCode::Enter); });
        run.AtTurn(2, [](EngineRun& r) { r.Keyboard().Release(KeyCode::LeftAlt); r.Keyboard().Release(KeyCode::Enter); });
    };
    // At the click wait, the view the key opens, a click back, and one on.
    auto awayAndOn = [](std::uint8_t key) { return [key](EngineRun& run) { run.Key(10, key), run.Click(14), run.Click(18); }; };
    const std::string arrive = "[BACK COLOR=\"#204060\"]来ました。";
    const std::string lockedButton = TextWindow + "[LOCK][BACK COLOR=\"#204060\"]" + Button(20, 8) + "待ちます。[P][UNLOCK]来ました。";
    const Point button{30, 18, 0x6040A0}, framed{510, 410, 0x6040A0}, background{320, 300, 0x204060};
    const Point disc{110, 60, 0x20A020}, key{310, 210, 0x6040A0}, green{320, 300, 0x406020};
    // The 800 ms of a BLEND, a frame or two spared.
    constexpr std::uint32_t BlendFrames = 22;
    const Case cases[] = {
        // Each paste's disc lies apart at its left edge: the first's at 110, the last's at 225.
        {"twenty pastes into a painted picture, in one transition before the text", pastes + "貼りました。",
         disc, {225, 60, 0x20A020}, BlendFrames},
        {"a row of buttons before a background, in its transition", row + arrive, button, background, BlendFrames},
        {"a row of buttons, turns of tags, a background", row + turns + arrive, button, background, BlendFrames},
        {"a row of buttons, Alt+Enter at a turn, a background", row + turns + arrive, button, background, BlendFrames,
         altEnterAtTurn},
        {"a paste before a background, in its transition", pasted + "[BACK COLOR=\"#406020\"]来ました。", disc, green, BlendFrames},
        {"a paste before a character, in its transition",
         pasted + "[ACT FILE=\"{BASE}pictures/key.bmp\" X=\"300\" Y=\"200\" EFFECT=\"BLEND\"]来ました。", disc, key, BlendFrames},
        {"a paste before a painting, in its transition",
         pasted + "[PAINT NAME=\"k\" FILE=\"key.bmp\" X=\"300\" Y=\"200\"]来ました。", disc, key, BlendFrames},
        {"a paste, then one under a LOCK, at the UNLOCK", pasted + "[LOCK][PASTE NAME=\"sign\" X=\"100\" Y=\"4\"][UNLOCK]来ました。",
         disc, {210, 60, 0x20A020}, BlendFrames},
        {"a button under a LOCK, at the UNLOCK", "[LOCK][BACK COLOR=\"#204060\"]" + Button(20, 8) + "[WAIT TIME=\"500\"][UNLOCK]来ました。",
         button, background, 15 + BlendFrames},
        {"a button before a LOCK, past the back-log of its click wait, at the UNLOCK",
         TextWindow + Button(20, 8) + "[LOCK][BACK COLOR=\"#204060\"]待ちます。[P][UNLOCK]来ました。", button, background,
         18 + BlendFrames, awayAndOn(KeyCode::PageUp)},
        {"a button under a LOCK over the window frames, past hidden windows, at the UNLOCK",
         TextWindow + "[LOCK][BACK COLOR=\"#204060\"]" + Button(500, 400) + "待ちます。[P][UNLOCK]来ました。", framed, background,
         18 + BlendFrames, awayAndOn(KeyCode::Space)},
        {"a button under a LOCK, clicked at its click wait before the UNLOCK shows it",
         lockedButton, button, background, 10 + BlendFrames, [](EngineRun& run) { run.Click(10, 30, 18); }},
        {"a button under a LOCK, pointed at before the UNLOCK shows it",
         lockedButton, button, background, 14 + BlendFrames, [](EngineRun& run) { run.MoveCursor(8, 30, 18), run.Click(14); }},
        {"a button under a LOCK, reached by the keys before the UNLOCK shows it",
         lockedButton, button, background, 12 + BlendFrames, [](EngineRun& run) { run.Key(8, KeyCode::Down), run.Key(12, KeyCode::Enter); }},
        {"a button under a LOCK, at a choice before the UNLOCK",
         TextWindow + "[LOCK][BACK COLOR=\"#204060\"]" + Button(20, 8) +
             "[SELECT][WRITE BODY=\"一\" LABEL=\"一\"][ENDSELECT][LABEL LABEL=\"一\"][UNLOCK]来ました。",
         button, background, 10 + BlendFrames, [](EngineRun& run) { run.Click(10, 30, 400); }},
        {"a button before a LOCK, past a choice under it, at the UNLOCK",
         TextWindow + Button(20, 8) + "[LOCK][BACK COLOR=\"#204060\"]"
             "[SELECT][WRITE BODY=\"一\" LABEL=\"一\"][ENDSELECT][LABEL LABEL=\"一\"]待ちます。[P][UNLOCK]来ました。",
         button, background, 14 + BlendFrames, [](EngineRun& run) { run.Click(10, 30, 400), run.Click(14); }},
        {"a button before a LOCK, past a frame chosen from the menu at its click wait, at the UNLOCK",
         TextWindow + Button(20, 8) + "[LOCK][BACK COLOR=\"#204060\"]待ちます。[P][UNLOCK]来ました。", button, background,
         14 + BlendFrames, [](EngineRun& run) { run.Command(10, MenuCommand::WindowFrame + 1), run.Click(14); }},
        {"a button before a LOCK over the window frames, past its click wait, at the UNLOCK",
         TextWindow + Button(500, 400) + "[LOCK][BACK COLOR=\"#204060\"]待ちます。[P][UNLOCK]来ました。", framed, background,
         10 + BlendFrames, [](EngineRun& run) { run.Click(10); }},
        {"a button a LOCK defined over the window frames, past hidden windows after the UNLOCK",
         TextWindow + "[LOCK][BACK COLOR=\"#204060\"]" + Button(500, 400) + "[UNLOCK]待ちます。[P]", framed, background,
         BlendFrames, [](EngineRun& run) { run.Key(30, KeyCode::Space), run.Key(36, KeyCode::Space); }},
        {"a paste before a LOCK and a background under it, at the UNLOCK",
         pasted + "[LOCK][BACK COLOR=\"#406020\"][UNLOCK]来ました。", disc, green, BlendFrames},
        {"a paste before a LOCK, turns of tags and a background under it, at the UNLOCK",
         pasted + "[LOCK]" + turns + "[BACK COLOR=\"#406020\"][UNLOCK]来ました。", disc, green, BlendFrames},
        {"a button under the shown text window, past the next page", windowed + "[WAIT TIME=\"300\"][TP]二頁目。", framed, background, 0},
        {"a button under the window frames, once they are hidden", windowed + "[WAIT TIME=\"300\"][ENDBGM]", framed, background, 0},
    };
    // Twice the longest set-up: a paste at a time would take twenty transitions.
    constexpr std::uint32_t Frames = 60;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDibInfoCache::GetInstance().Clear();
        GameFolder game;
        std::filesystem::create_directories(game.Host("data/pictures"));
        dibkit::WritePicture(game, "data/pictures/sign.bmp", 140, 80, Sign);
        dibkit::WritePicture(game, "data/pictures/disc.bmp", 32, 32, Disc);
        dibkit::WritePicture(game, "data/pictures/key.bmp", 56, 20, Key);
        game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTPAINT PATH=\"{BASE}pictures\" EFFECT=\"BLEND\"]"
                                   "[DEFAULTCUT PATH=\"{BASE}pictures\"][DEFAULTBUTTON PATH=\"{BASE}pictures\"]"
                                   "[DEFAULTBACK EFFECT=\"BLEND\"]" + c.tags + Hold);
        EngineRun run;
        if (c.input) c.input(run);
        // Whether the thing shows, each frame; the frames and turns it shows ahead of the companion.
        std::vector<bool> shown(Frames);
        std::string ahead;
        auto look = [&](EngineRun& r, const std::string& when) {
            const bool thing = Shows(r.Displays().PictureAt(c.thing.x, c.thing.y), c.thing.colour);
            if (thing && !Shows(r.Displays().PictureAt(c.companion.x, c.companion.y), c.companion.colour)) ahead += when;
            return thing;
        };
        for (std::uint32_t frame = 1; frame < Frames; ++frame)
            run.At(frame, [&, frame](EngineRun& r) { shown[frame] = look(r, " frame " + std::to_string(frame)); });
        for (std::uint32_t turn = 1; turn <= 3; ++turn) run.AtTurn(turn, [&, turn](EngineRun& r) { look(r, " turn " + std::to_string(turn)); });
        run.Run(Frames);

        EXPECT_EQ(ahead, "") << "shown ahead of the rest";
        EXPECT_GE(std::ranges::find(shown, true) - shown.begin(), c.notBefore) << "shown sooner than its waits and transitions allow";
        EXPECT_TRUE(shown.back()) << "not on the window as the text waits";
        EXPECT_TRUE(run.errors.empty());
    }
    CDibInfoCache::GetInstance().Clear();
}

// The pictures DEFAULTLOCK and DEFAULTBACK name are what an UNLOCK and a BACK
// without EFFECT lay over the scene, also after a load into a fresh player.
TEST(EngineTransition, DefaultPicturesOutliveASaveAndServeTheTagsThatNameNone)
{
    CDibInfoCache::GetInstance().Clear();
    GameFolder game;
    dibkit::WritePicture(game, "data/wipe.bmp", 32, 32, Disc);
    dibkit::WritePicture(game, "data/curtain.bmp", 56, 20, Key);
    game.Put("data/scene.txt", "[DEFAULTLOCK EFFECT=\"{BASE}wipe.bmp\"][DEFAULTBACK EFFECT=\"{BASE}curtain.bmp\"][C]"
                               "[LOCK][BACK COLOR=\"#336699\"][UNLOCK][BACK COLOR=\"#113355\"][SET VARIABLE=\"after\" ENTITY=\"1\"]" +
                                   Hold);
    game.Put("data/index.txt", "[JUMP FILE=\"{BASE}scene.txt\"]");
    {
        EngineRun run;
        run.At(5, [](EngineRun&) { CQuiltorEngine::GetInstance()->Files().SaveSlot(3); });
        run.Run(8);
    }
    const std::string saved = game.Read("Save/index.003");
    EXPECT_NE(saved.find("[DEFAULTLOCK EFFECT=\"{KARUTEMI}data/wipe.bmp\"]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[DEFAULTBACK EFFECT=\"{KARUTEMI}data/curtain.bmp\"]"), std::string::npos) << saved;

    game.Put("data/index.txt", Hold);
    EngineRun run;
    std::vector<std::string> laid;
    run.At(2, [](EngineRun&) { CQuiltorEngine::GetInstance()->LoadSlot(3); });
    // The load's own UNLOCK takes the first 800 ms of a blend or so.
    run.Click(80);
    for (std::uint32_t frame = 81; frame < 160; ++frame) {
        run.At(frame, [&](EngineRun&) {
            const CGameState& state = CQuiltorEngine::GetInstance()->GetGameState();
            if (state.State == EngineState::Transition && state.PendingEffect == EffectKind::Named &&
                (laid.empty() || laid.back() != state.PendingEffectText.GetStr()))
                laid.push_back(state.PendingEffectText.GetStr());
        });
    }
    testing::internal::CaptureStderr();
    run.Run(160);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("EFFECT"), std::string::npos) << said;
    const auto sets = run.Tags(TagId::Set);
    ASSERT_TRUE(!sets.empty() && sets.back()->record.GetValue(TagAttributeKey::Variable).GetStr() == "after")
        << "the story went on after the load";
    EXPECT_EQ(laid, (std::vector<std::string>{game.Karutemi() + "data/wipe.bmp", game.Karutemi() + "data/curtain.bmp"}));
    CDibInfoCache::GetInstance().Clear();
}

// A LOCK holds back the scene, not the page: its text and window frames show
// at its click wait the same at every text speed, and nothing else the LOCK
// holds (a background, a button) shows before the UNLOCK. ShownScreenTest
// takes the page away from that wait and back.
TEST(EngineTransition, APageUnderALockReadsTheSameAtEveryTextSpeed)
{
    // The window's whole picture three frames into the click wait.
    auto pictureAtTheWait = [](const char* textTime) {
        SCOPED_TRACE(textTime);
        CDibInfoCache::GetInstance().Clear();
        GameFolder game;
        std::filesystem::create_directories(game.Host("data/pictures"));
        dibkit::WritePicture(game, "data/pictures/key.bmp", 56, 20, Key);
        game.Put("data/index.txt", std::string("[SYSTEM CONTROL=\"TEXT\" TIME=\"") + textTime + "\"][DEFAULTBUTTON PATH=\"{BASE}pictures\"]" +
                 TextWindow + "[BACK COLOR=\"#102030\" EFFECT=\"NONE\"][LOCK][BACK COLOR=\"#204060\"]" + Button(20, 8) +
                 "ロックの中で待ちます。[P][UNLOCK]" + Hold);
        EngineRun run;
        std::uint64_t picture = 0;
        std::uint32_t waitFrom = 0;
        for (std::uint32_t frame = 1; frame < 60; ++frame) {
            run.At(frame, [&, frame](EngineRun& r) {
                if (!waitFrom && r.frames.back().state == EngineState::ClickWait) waitFrom = frame;
                if (!waitFrom || frame != waitFrom + 3) return;
                const platform::PixelMemory& shown = r.Displays().GetState().picture;
                picture = testkit::HashBytes(shown.data(), shown.size());
                // The window frame's tint over the old background.
                EXPECT_FALSE(Shows(r.Displays().PictureAt(600, 460), 0x102030)) << "the page";
                EXPECT_FALSE(Shows(r.Displays().PictureAt(30, 18), 0x6040A0)) << "the button";
                EXPECT_FALSE(Shows(r.Displays().PictureAt(320, 300), 0x204060)) << "the background";
            });
        }
        run.Run(60);
        EXPECT_TRUE(waitFrom != 0 && waitFrom + 3 < 60) << waitFrom;
        EXPECT_TRUE(run.errors.empty());
        return picture;
    };
    EXPECT_EQ(pictureAtTheWait("0"), pictureAtTheWait("20"));
    CDibInfoCache::GetInstance().Clear();
}
