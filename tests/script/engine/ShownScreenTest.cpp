// What the window shows, on the headless display without an engine: a LOCK
// and what happens under it, in each window style, seen at the LOCK's wait,
// past it, after the UNLOCK and on the next page. A stand-in routes the tags
// and the waits as the engine does; through the real engine,
// EngineTransitionTest plays LOCKs frame by frame.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "draw/KeyInput.h"
#include "frame/MersenneTwister.h"
#include "script/dib/DibInfoCache.h"
#include "script/engine/ShownScreen.h"
#include "script/engine/TransitionFrames.h"
#include "script/tag/ButtonManager.h"
#include "script/tag/LayerManagers.h"
#include "script/tag/Log.h"
#include "script/tag/Select.h"
#include "script/tag/Text.h"
#include "script/tag/WindowManager.h"
#include "tests/app/AppFixture.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"
#include "tests/script/dib/PictureKit.h"
#include "tests/script/tag/TextKit.h"

namespace {

constexpr std::uint32_t Blue = 0x0000FF, Red = 0xFF0000, DarkBlue = 0x000080, DarkRed = 0x800000;
constexpr std::uint32_t Purple = 0x6040A0, Sand = 0xE8D8A0, Green = 0x20A020;

struct Point { int x = 0, y = 0; };
// The scene above the windows, and the text window's frame.
constexpr Point Top{320, 120}, Frame{600, 440};

EffectChoice Effect(const CTagAttributes& record, const TAG::CElementManager& family)
{
    EffectChoice effect = family.GetEffect();
    effect.Parse(record);
    return effect;
}

// The engine's parts that make what the window shows, wired as it wires
// them, and the routes of the tags and the waits.
struct Stage {
    Stage(const std::string& setUp, platform::HeadlessDisplaySystem& display) : setUp(setUp), display(display)
    {
        log.SetText(&text), paints.SetText(&text), windows.SetText(&text), buttons.SetText(&text);
        shown.Open();
        Tags(setUp);
    }

    void Tags(const std::string& script)
    {
        for (CTagAttributes& r : dibkit::ReadTags(script)) {
            switch (r.GetId()) {
            case TagId::DefaultWindow: windows.ParseDefault(r); break;
            case TagId::Window: windows.SetElement(r); break;
            case TagId::FadeWindow: windows.OnFadeWindow(r); break;
            case TagId::DefaultText: text.ParseDefault(r); break;
            case TagId::Back: shown.ChangeScene(Effect(r, backs), [&] { acts.RemoveAll(), backs.SetElement(r); }); break;
            case TagId::Act: shown.ChangeScene(Effect(r, acts), [&] { acts.SetElement(r); }); break;
            case TagId::Paint: buttons.IsInside() ? buttons.SetElement(r) : shown.ChangeScene(Effect(r, paints), [&] { paints.SetElement(r); }); break;
            case TagId::Cut: cuts.SetElement(r); break;
            case TagId::Paste:
                cuts.GetFirstPicture()->Paste(*paints.GetPicture(r.GetName()), r);
                shown.ChangeScene(Effect(r, paints), [] {});
                break;
            case TagId::BeginButton: buttons.Begin(r); break;
            case TagId::Button: buttons.ParseState(r); break;
            case TagId::EndButton:
                if (DIB::CDIB32Ex* off = buttons.End(); select.IsInside()) select.MarkHasItems();
                else shown.ShowFunctionButton(off);
                break;
            case TagId::Lock: shown.Lock(); break;
            case TagId::DefaultLock: shown.SetLockDefault(r); break;
            case TagId::Unlock: shown.Unlock(r); break;
            case TagId::Select: select.Begin(), buttons.BeginSelect(); break;
            case TagId::EndSelect: select.End(), shown.ShowPending(), shown.ShowChoice(); break;
            case TagId::Text: text.SetText(r), shown.ShowPage(); break;
            case TagId::Write: shown.ShowPage(), text.SetMessage(r.GetBody()), shown.ShowPending(), shown.TypeRest(); break;
            case TagId::P: shown.ShowPending(); break;
            default: FAIL() << "no route for tag " << int(r.GetId());
            }
            if (state.State != EngineState::Transition) continue;
            const std::unique_ptr<CTransitionFrames> frames = shown.StartTransition(state.PendingEffect, nullptr, random);
            for (std::int64_t elapsed = 0; elapsed < 800; elapsed += 100)
                if (frames->Draw(elapsed, 800)) shown.PresentBack();
            shown.Present();
            state.ChangeState(EngineState::RunTags);
        }
    }

    // A click at the wait: on a button, its jump (and a choice's end); and
    // the page's end.
    void Click(Point at)
    {
        CFrameInput input;
        input.x = at.x, input.y = at.y, input.leftDown = true;
        buttons.Update(shown.GetDraw(), shown.GetScreenPlane(), input, keys);
        input.leftDown = false, input.leftUp = true;
        buttons.Update(shown.GetDraw(), shown.GetScreenPlane(), input, keys);
        if (CInputState::GetInstance().Event == InputEvent::Select) {
            shown.ButtonJumped();
            if (select.IsInside()) select.Reset(), shown.EndChoice(), buttons.EndSelect();
        }
        shown.TurnPage();
        text.Clear();
    }
    // What the save of this place holds, loaded.
    void Load(const std::string& scene, const std::string& page)
    {
        shown.BeginReset();
        shown.EndReset();
        text.Reset(), acts.Reset(), backs.Reset(), buttons.Reset(), cuts.Reset(), log.Reset(), paints.Reset();
        select.Reset(), visuals.Reset(), windows.Reset(), state.Reset();
        Tags("[DEFAULTLOCK EFFECT=\"NONE\"][LOCK]" + setUp + scene + "[UNLOCK]" + page + "[P]");
    }

    std::uint32_t At(Point at) const { return display.PictureAt(at.x, at.y) & 0xFFFFFF; }
    std::uint64_t Picture() const
    {
        const platform::PixelMemory& picture = display.GetState().picture;
        return testkit::HashBytes(picture.data(), picture.size());
    }

    CShownScreen shown{{visuals, backs, acts, paints, buttons, windows, text, log, state}};
    TAG::CActManager acts;
    TAG::CBackManager backs;
    TAG::CPaintManager paints;
    TAG::CVisualManager visuals;
    TAG::CCutManager cuts;
    TAG::CButtonManager buttons;
    TAG::CWindowManager windows;
    TAG::CText text;
    TAG::CLog log;
    TAG::CSelect select;
    CGameState state;
    kivotasuGameKit::CKeyInput keys{false};
    kivotasuGameKit::CMersenneTwister random;
    std::string setUp;
    platform::HeadlessDisplaySystem& display;
};

// What the window shows at the scene's point, the frame's and the row's own.
struct Seen {
    std::uint32_t top, frame, own = 0;
};

} // namespace

TEST(ShownScreen, ALockHoldsTheSceneAndNeverThePage)
{
    testkit::EngineRun platform; // the headless platform; no engine runs
    CDibInfoCache::GetInstance().Clear();
    GameFolder game;
    const auto solid = [](std::uint32_t colour) { return [colour](int, int) { return 0xFF000000 | colour; }; };
    dibkit::WritePicture(game, "key.bmp", 56, 20, solid(Purple));
    dibkit::WritePicture(game, "sign.bmp", 140, 80, solid(Sand));
    dibkit::WritePicture(game, "red.bmp", 100, 100, solid(Red));
    dibkit::WritePicture(game, "disc.bmp", 32, 32, solid(Green));
    const std::string folder = game.Name("");
    const Point key{410, 50}, item{490, 50}, pasted{460, 140};
    const auto button = [&](Point at) {
        return "[BEGINBUTTON NAME=\"b\" X=\"" + std::to_string(at.x - 10) + "\" Y=\"" + std::to_string(at.y - 10) +
               "\" WIDTH=\"56\" HEIGHT=\"20\" LABEL=\"l\"][BUTTON NAME=\"OFF\"][PAINT FILE=\"" + folder + "key.bmp\"][ENDBUTTON]";
    };
    const auto click = [](Point at) { return [at](Stage& s) { s.Click(at); }; };
    // A view of the page lifted shows the scene there, and its end what the wait showed.
    const auto awayAndBack = [](void (CShownScreen::*lift)(), void (CShownScreen::*lay)()) {
        return [=](Stage& s) {
            const std::uint64_t waiting = s.Picture();
            (s.shown.*lift)();
            EXPECT_EQ(s.At(Frame), s.At(Top)) << "the page not lifted";
            (s.shown.*lay)();
            EXPECT_EQ(s.Picture(), waiting) << "not back to what the wait showed";
        };
    };
    const std::string red = "[BACK COLOR=\"#FF0000\"]", page = "ロック中の文です。[P]", unlock = "[UNLOCK EFFECT=\"NONE\"]";
    struct Row {
        const char* what;
        std::string before, under; // the tags before the LOCK and under it, to its wait
        std::function<void(Stage&)> atWait; // what the player does there before the click on
        Point own;
        Seen wait;
        std::optional<Seen> past; // when not as at the wait
        Seen unlocked, next;
        std::string unlocks = "[UNLOCK EFFECT=\"NONE\"]";
    };
    const Seen page0{Blue, DarkBlue}, bare{Red, Red}, paged{Red, DarkRed};
    const Row rows[] = {
        {"a page", "", red + page, nullptr, {}, page0, {}, bare, paged},
        {"a page, two LOCKs", "", "[LOCK]" + red + page, nullptr, {}, page0, {}, bare, paged, unlock + unlock},
        {"a page, the text window kept through changes", "[DEFAULTTEXT ERASE=\"NONE\"]", red + page, nullptr, {}, page0, {},
         paged, paged},
        {"a page, a blending UNLOCK", "", red + page, nullptr, {}, page0, {}, bare, paged, "[UNLOCK EFFECT=\"BLEND\"]"},
        {"a character and a page", "", "[ACT FILE=\"" + folder + "red.bmp\" X=\"540\" Y=\"380\"]" + page, nullptr, {}, page0,
         {}, {Blue, Red}, {Blue, DarkRed}},
        {"a choice, its item taken off at its end", "", red + "[SELECT]" + button(item) + "[ENDSELECT]", click(item), item,
         {Blue, Blue, Purple}, Seen{Blue, Blue, Blue}, {Red, Red, Red}, {Red, DarkRed, Red}},
        {"a function button defined before it", button(key), red + page, nullptr, key, {Blue, DarkBlue, Purple}, {},
         {Red, Red, Purple}, {Red, DarkRed, Purple}},
        {"a function button defined under it", "", red + button(key) + page, nullptr, key, {Blue, DarkBlue, Blue}, {},
         {Red, Red, Purple}, {Red, DarkRed, Purple}},
        // No UNLOCK follows at its label.
        {"that button's jump", button(key), red + page, click(key), key, {Blue, DarkBlue, Purple}, {}, {Red, Red, Purple},
         {Red, DarkRed, Purple}, ""},
        {"a PASTE", "[PAINT NAME=\"s\" FILE=\"" + folder + "sign.bmp\" X=\"440\" Y=\"120\" EFFECT=\"NONE\"][CUT FILE=\"" + folder +
             "disc.bmp\" X=\"0\" Y=\"0\" WIDTH=\"32\" HEIGHT=\"32\"]",
         red + "[PASTE NAME=\"s\" X=\"4\" Y=\"4\"]" + page, nullptr, pasted, {Blue, DarkBlue, Sand}, {}, {Red, Red, Green},
         {Red, DarkRed, Green}},
        {"a font from the menu", "", red + page, [](Stage& s) { s.shown.RelayPage([&] { s.text.SelectFont(0); }); }, {}, page0,
         {}, bare, paged},
        {"Space twice", "", red + page, awayAndBack(&CShownScreen::LiftPage, &CShownScreen::LayPage), {}, page0, {}, bare, paged},
        {"the back-log", "", red + page, awayAndBack(&CShownScreen::OpenBackLog, &CShownScreen::CloseBackLog), {}, page0, {},
         bare, paged},
        // The save holds what the LOCK hid; the UNLOCK after the loaded wait has nothing left to show.
        {"a quick save and load", "", red + page, [&](Stage& s) { s.Load(red, "[TEXT BODY=\"ロック中の文です。\"]"); }, {}, page0,
         paged, paged, paged},
    };
    for (const char* style : {"NONE", "TRH", "TRH2"}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(style) + ": " + row.what);
            apptest::TestApp app([&](apptest::TestApp&) {
                Stage s("[DEFAULTWINDOW CONTROL=\"" + std::string(style) + "\"]"
                        "[WINDOW NAME=\"本文\"][FADEWINDOW NAME=\"本文\" X=\"16\" Y=\"232\" WIDTH=\"608\" HEIGHT=\"236\"]"
                        "[WINDOW NAME=\"名札\"][FADEWINDOW NAME=\"名札\" X=\"24\" Y=\"196\" WIDTH=\"176\" HEIGHT=\"32\"]"
                        "[DEFAULTTEXT X=\"36\" Y=\"248\" BEAM=\"23\" LINE=\"7\" HEIGHT=\"30\"]",
                        platform.Displays());
                const auto look = [&](const char* when, const Seen& seen) {
                    EXPECT_EQ(s.At(Top), seen.top) << when;
                    EXPECT_EQ(s.At(Frame), seen.frame) << when;
                    if (row.own.x != 0) {
                        EXPECT_EQ(s.At(row.own), seen.own) << when;
                    }
                };
                s.Tags("[BACK COLOR=\"#0000FF\" EFFECT=\"NONE\"]" + row.before + "一枚目です。[P]");
                s.Click(Top);
                s.Tags("[LOCK]" + row.under);
                look("at the LOCK's wait", row.wait);
                if (row.atWait) row.atWait(s);
                s.Click(Top);
                look("past the wait", row.past.value_or(row.wait));
                s.Tags(row.unlocks);
                s.shown.ShowPending();
                look("after the UNLOCK", row.unlocked);
                s.Tags("アンロックの後です。[P]");
                look("on the next page", row.next);
            });
            app.Run();
        }
    }
    CDibInfoCache::GetInstance().Clear();
}
