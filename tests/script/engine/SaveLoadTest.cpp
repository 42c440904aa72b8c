// Saves and loads end to end on the headless engine: each slot kind taken at
// a click wait, in a choice of text or pictures and outside any wait, then
// loaded, gives back the screen, the choice and the next tag; each kind of
// wait saved and loaded by each route gives back the screen, the text and the back-log, and
// fast skip from there stops at the next choice; a save that cannot be read
// is refused with the game going on, and one replaced after it was checked
// is not what gets loaded.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <utility>

#include "script/engine/KeyCodes.h"
#include "tests/draw/PictureFiles.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"
#include "tests/script/ScriptTestKit.h"

using testkit::EngineRun;

namespace {

CQuiltorEngine& Engine() { return *CQuiltorEngine::GetInstance(); }

struct SlotKind {
    const char* name;
    const char* file;
    std::function<void(CQuiltorEngine&)> save;
    std::function<void(CQuiltorEngine&)> load;
    // In a choice the engine writes it itself: the ring at ENDSELECT, the
    // resume save at the end of the run.
    bool ownInChoice = false;
};

const SlotKind SlotKinds[] = {
    {"slot", "Save/index.003", [](CQuiltorEngine& e) { e.Files().SaveSlot(3); }, [](CQuiltorEngine& e) { e.LoadSlot(3); }},
    {"quick", "Save/index.q", [](CQuiltorEngine& e) { e.Files().QuickSave(); }, [](CQuiltorEngine& e) { e.LoadQuick(); }},
    {"resume", "Save/index.a", [](CQuiltorEngine& e) { e.Files().Keep(CPlayersFiles::Moment::OpenScript); }, [](CQuiltorEngine& e) { e.LoadResume(); }, true},
    {"ring", "Save/index.s00", [](CQuiltorEngine& e) { e.Files().AutoSave(); }, [](CQuiltorEngine& e) { e.LoadAutoSave(0); }, true},
};

std::string BmpFile(const picturekit::Pattern& pattern)
{
    const picturekit::Bytes file = picturekit::MakeBmp(picturekit::Bmp24(40, 30, pattern));
    return {file.begin(), file.end()};
}

// A scene worth saving: a coloured background, a character, a picture with a
// paste, a line of text painted in its own text settings, a function button,
// a framed window with text, a back-log line, variables, a CALL, then the
// wait under test, a marker, and, a click later, the painted line ended.
std::string Scene(const std::string& wait)
{
    return "[DEFAULTACT EFFECT=\"NONE\" PATH=\"{BASE}pictures\"][DEFAULTPAINT EFFECT=\"NONE\" PATH=\"{BASE}pictures\"]"
           "[DEFAULTCUT PATH=\"{BASE}pictures\"][DEFAULTBUTTON PATH=\"{BASE}pictures\"]"
           "[DEFAULTTEXT WIDTH=\"20\" HEIGHT=\"26\" SIZE=\"20\" COLOR=\"#FFE080\" SHADOW=\"KANA\"][BACK COLOR=\"#336699\"]"
           "[ACT NAME=\"a\" FILE=\"sun.bmp\" X=\"LEFT\"][PAINT NAME=\"看板\" FILE=\"moon.bmp\" X=\"250\" Y=\"40\"]"
           "[PAINT NAME=\"題\" BODY=\"看板の前で\" Y=\"ROOF\"][CUT FILE=\"sun.bmp\" WIDTH=\"8\" HEIGHT=\"8\"]"
           "[PASTE NAME=\"看板\" X=\"4\" Y=\"4\"]"
           "[BEGINBUTTON NAME=\"読む\" X=\"556\" Y=\"8\" WIDTH=\"40\" HEIGHT=\"30\" LABEL=\"_LOG_BACK\"]"
           "[BUTTON NAME=\"OFF\"][PAINT FILE=\"moon.bmp\"][ENDBUTTON]"
           "[DEFAULTTEXT X=\"40\" Y=\"360\" WIDTH=\"560\" HEIGHT=\"100\" SIZE=\"24\" COLOR=\"#FFFFFF\" SHADOW=\"0\"]"
           "[SET VARIABLE=\"local\" ENTITY=\"5\"]"
           "[CALL LABEL=\"sub\"][JUMP LABEL=\"end\"][LABEL LABEL=\"sub\"]"
           "[TEXT BODY=\"保存する場面です\"]" + wait + "[SET VARIABLE=\"after\" ENTITY=\"1\"][WAIT TIME=\"100000\"]"
           "[ENDPAINT NAME=\"題\"][SET VARIABLE=\"ended\" ENTITY=\"1\"][WAIT TIME=\"100000\"]"
           "[LABEL LABEL=\"end\"][WAIT TIME=\"100000\"][JUMP LABEL=\"end\"]";
}

const char* const Waits[] = {
    "[C]",
    "[SELECT][WRITE BODY=\"はい\" LABEL=\"end\"][WRITE BODY=\"いいえ\" LABEL=\"end\"][ENDSELECT]",
    "[WAIT TIME=\"3000\"]",
};

// The offset of the marker behind the wait, once it ran; 0 before.
std::uint32_t MarkerOffset(const EngineRun& run)
{
    for (const auto& entry : run.trace) {
        if (entry.ran && entry.record.GetId() == TagId::Set && entry.record.GetValue(TagAttributeKey::Variable).GetStr() == "after")
            return entry.offset;
    }
    return 0;
}

} // namespace

TEST(SaveLoad, EverySlotKindGivesBackTheScreenAndTheNextTag)
{
    for (const SlotKind& kind : SlotKinds) {
        for (const char* wait : Waits) {
            SCOPED_TRACE(std::string(kind.name) + " " + wait);
            GameFolder game;
            game.Put("data/index.txt", Scene(wait));
            game.Put("data/pictures/sun.bmp", BmpFile([](int x, int) { return x < 20 ? 0xFFC020u : 0xC02020u; }));
            game.Put("data/pictures/moon.bmp", BmpFile([](int, int y) { return y < 10 ? 0x2040A0u : 0x40A040u; }));
            game.Put("system/option.qsd", testkit::InstantOptions);

            // The original run: the state at frame 20, and what follows a click.
            EngineRun original;
            original.DumpAt(20);
            // The end of the run writes the resume save again: the one under
            // test is kept aside.
            std::string saved;
            original.At(20, [&](EngineRun&) {
                kind.save(Engine());
                saved = game.Read(kind.file);
            });
            original.Click(22);
            original.Run(60);
            const std::uint64_t savedScreen = original.dumps.at(20).screen;
            ASSERT_TRUE(original.errors.empty()) << original.errors.front();

            ASSERT_FALSE(saved.empty());
            game.Put(kind.file, saved);
            EngineRun loaded;
            loaded.At(5, [&](EngineRun&) { kind.load(Engine()); });
            loaded.DumpAt(60);
            // Saved again where it was loaded: the same bytes.
            std::string resaved;
            loaded.At(60, [&](EngineRun&) {
                kind.save(Engine());
                resaved = game.Read(kind.file);
            });
            loaded.Click(62);
            loaded.Click(70);
            loaded.Run(120);
            ASSERT_TRUE(loaded.errors.empty()) << loaded.errors.front();
            EXPECT_EQ(loaded.dumps.at(60).screen, savedScreen);
            // A timed wait is not saved: the load goes on past it.
            if (original.frames.at(19).state != EngineState::TimedWait) {
                EXPECT_EQ(resaved, saved);
            }
            // The painted line is there to be ended, but for the choice, whose rows jump past.
            const bool ended = std::any_of(loaded.trace.begin(), loaded.trace.end(), [](const auto& entry) {
                return entry.ran && entry.record.GetValue(TagAttributeKey::Variable).GetStr() == "ended";
            });
            EXPECT_EQ(ended, original.frames.at(19).state != EngineState::ChoiceWait);
            EXPECT_EQ(MarkerOffset(loaded), MarkerOffset(original));
            EXPECT_EQ(loaded.frames.at(59).state, original.frames.at(19).state);
        }
    }
}

namespace {

// Choices whose second choosable button leads to "b": pictures, text items,
// and both in one block.
const std::pair<const char*, const char*> ChoiceBlocks[] = {
    {"pictures", "[BEGINBUTTON X=\"100\" Y=\"80\" WIDTH=\"40\" HEIGHT=\"30\" LABEL=\"a\"]"
                 "[BUTTON NAME=\"OFF\"][PAINT FILE=\"off.bmp\"][BUTTON NAME=\"ON\"][PAINT FILE=\"on.bmp\"][ENDBUTTON]"
                 "[BEGINBUTTON X=\"300\" Y=\"80\" WIDTH=\"40\" HEIGHT=\"30\" LABEL=\"b\"]"
                 "[BUTTON NAME=\"OFF\"][PAINT FILE=\"on.bmp\"][BUTTON NAME=\"PUSH\"][PAINT FILE=\"off.bmp\"][ENDBUTTON]"},
    {"text", "[WRITE BODY=\"はい\" LABEL=\"a\"][WRITE BODY=\"いいえ\" LABEL=\"b\"]"},
    {"mixed", "[BEGINBUTTON X=\"300\" Y=\"80\" WIDTH=\"40\" HEIGHT=\"30\" LABEL=\"a\"]"
              "[BUTTON NAME=\"OFF\"][PAINT FILE=\"off.bmp\"][ENDBUTTON][WRITE BODY=\"いいえ\" LABEL=\"b\"]"},
};

// Every button, in order: kind, rectangle, target and which pictures it has;
// and, if asked, the middle of the second choice button.
std::vector<std::string> Buttons(platform::Point* second = nullptr)
{
    std::vector<std::string> buttons;
    int choices = 0;
    for (const auto& element : Engine().GetButtons().GetElements()) {
        const auto& button = static_cast<const TAG::CButtonElement&>(*element);
        const auto& r = button.GetRect();
        std::ostringstream line;
        line << int(button.GetKind()) << " " << r.left << "," << r.top << "," << r.right << "," << r.bottom << " "
             << button.GetLabel().GetStr() << " " << button.GetCode() << !!button.PictureOf(TAG::CButtonElement::Off)
             << !!button.PictureOf(TAG::CButtonElement::On) << !!button.PictureOf(TAG::CButtonElement::Push);
        buttons.push_back(line.str());
        if (second && button.GetKind() == TAG::ButtonKind::Choice && ++choices == 2)
            *second = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    return buttons;
}

} // namespace

// A function button stands beside the choice and keeps its place.
TEST(SaveLoad, EverySlotKindTakenInAChoiceLoadsIntoTheSameChoice)
{
    for (const SlotKind& kind : SlotKinds) {
        for (const auto& [what, block] : ChoiceBlocks) {
            SCOPED_TRACE(std::string(kind.name) + " " + what);
            GameFolder game;
            game.Put("data/index.txt", std::string("[BACK COLOR=\"#336699\"][DEFAULTBUTTON PATH=\"{BASE}pictures\"]"
                                                   "[BEGINBUTTON NAME=\"f\" X=\"600\" WIDTH=\"40\" HEIGHT=\"30\" LABEL=\"_NULL\"]"
                                                   "[BUTTON NAME=\"OFF\"][PAINT FILE=\"off.bmp\"][ENDBUTTON][SELECT]") +
                                           block + "[ENDSELECT][LABEL LABEL=\"a\"][WAIT TIME=\"100000\"]"
                                           "[LABEL LABEL=\"b\"][SET VARIABLE=\"b\" ENTITY=\"1\"][WAIT TIME=\"100000\"]");
            game.Put("data/pictures/off.bmp", BmpFile(picturekit::Gradient));
            game.Put("data/pictures/on.bmp", BmpFile([](int x, int) { return 0xFF0000u + x; }));
            game.Put("system/option.qsd", testkit::InstantOptions);

            EngineRun original;
            std::vector<std::string> buttons, reloaded;
            platform::Point second{};
            original.DumpAt(10);
            original.At(10, [&](EngineRun&) {
                if (!kind.ownInChoice) kind.save(Engine());
                buttons = Buttons(&second);
            });
            original.Run(11);
            ASSERT_TRUE(original.errors.empty()) << original.errors.front();
            ASSERT_EQ(original.frames.at(9).state, EngineState::ChoiceWait);
            ASSERT_TRUE(game.Exists(kind.file));

            EngineRun loaded;
            loaded.At(5, [&](EngineRun&) { kind.load(Engine()); });
            // The reset's wipe takes the frames before.
            loaded.DumpAt(80);
            loaded.At(80, [&](EngineRun&) { reloaded = Buttons(); });
            loaded.Click(82, second.x, second.y);
            loaded.Run(100);
            for (const auto& error : loaded.errors) ADD_FAILURE() << error;
            EXPECT_EQ(loaded.frames.at(79).state, EngineState::ChoiceWait);
            EXPECT_EQ(reloaded, buttons);
            EXPECT_EQ(loaded.dumps.at(80).back, original.dumps.at(10).back);
            EXPECT_EQ(loaded.Tags(TagId::Set).back()->record.GetValue(TagAttributeKey::Variable).GetStr(), "b");
        }
    }
}

namespace {

// A scene of many paintings, each of which a load paints in a frame of its
// own: its load lasts some hundreds of frames.
std::string PaintedScene(int paintings)
{
    std::string script = "[DEFAULTTEXT X=\"40\" Y=\"360\" WIDTH=\"560\" HEIGHT=\"100\"][BACK COLOR=\"#336699\"]"
                         "[DEFAULTPAINT PATH=\"{BASE}\"][LOCK]";
    for (int n = 0; n < paintings; ++n)
        script += "[PAINT NAME=\"p" + std::to_string(n) + "\" FILE=\"dot.bmp\" X=\"" + std::to_string(n % 32 * 20) +
                  "\" Y=\"" + std::to_string(n / 32 * 20) + "\"]";
    return script + "[UNLOCK][TEXT BODY=\"読み込む場面です\"][C][SET VARIABLE=\"after\" ENTITY=\"1\"][WAIT TIME=\"100000\"]";
}

} // namespace

// A stop (SIGTERM closes the window as its close box does) at a dozen moments
// of a slow load, from the reset's wipe to the resume tag, leaves a resume
// save that returns to the loaded wait.
TEST(SaveLoad, AStopAtAnyMomentOfALoadLeavesAResumeSaveOfTheLoadedPlace)
{
    GameFolder game;
    game.Put("data/index.txt", PaintedScene(300));
    game.Put("data/dot.bmp", BmpFile(picturekit::Gradient));
    game.Put("system/option.qsd", testkit::InstantOptions);
    EngineRun original;
    original.At(400, [](EngineRun&) { Engine().Files().QuickSave(); });
    original.DumpAt(400);
    original.Run(401);
    ASSERT_EQ(original.frames.back().state, EngineState::ClickWait);

    EngineRun whole;
    whole.At(2, [](EngineRun&) { Engine().LoadQuick(); });
    whole.Run(400);
    const std::uint32_t loaded = whole.FramesIn(EngineState::ClickWait).at(0);
    ASSERT_GT(loaded, 300u);
    const std::string quick = game.Read("Save/index.q");

    std::set<std::string> resumed;
    for (std::uint32_t moment = 0; moment < 12; ++moment) {
        const std::uint32_t stop = 3 + moment * (loaded - 2) / 11;
        SCOPED_TRACE("stopped at frame " + std::to_string(stop) + " of " + std::to_string(loaded));
        std::filesystem::remove(game.Host("Save/index.a"));
        game.Put("Save/index.q", quick);
        EngineRun stopped;
        stopped.At(2, [](EngineRun&) { Engine().LoadQuick(); });
        stopped.Run(stop);
        ASSERT_TRUE(game.Exists("Save/index.a"));
        // The resume save holds the place itself: a later quick save may replace this one.
        std::filesystem::remove(game.Host("Save/index.q"));
        // Loading takes hundreds of frames: each resume save is loaded once.
        if (!resumed.insert(game.Read("Save/index.a")).second) continue;
        EngineRun again;
        again.At(2, [](EngineRun&) { Engine().LoadResume(); });
        again.DumpAt(loaded + 10);
        again.Click(loaded + 12);
        again.Run(loaded + 20);
        ASSERT_TRUE(again.errors.empty()) << again.errors.front();
        EXPECT_EQ(again.frames.at(loaded + 9).state, EngineState::ClickWait);
        EXPECT_EQ(again.dumps.at(loaded + 10).screen, original.dumps.at(400).screen);
        EXPECT_NE(MarkerOffset(again), 0u) << "a click reads on from the wait";
    }

    // Stopped while it loads, the resume save itself is left as it was.
    const auto before = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(game.Host("Save/index.a"), before);
    EngineRun stopped;
    stopped.At(2, [](EngineRun&) { Engine().LoadResume(); });
    stopped.Run(loaded / 2);
    EXPECT_EQ(std::filesystem::last_write_time(game.Host("Save/index.a")), before);
}

namespace {

// A story of every kind of wait, read by the keys: a click, a line and a page
// wait, a text choice after TL, a picture choice, and a last choice to skip
// to. The text layout, the background and the page change on the way.
const std::string Story =
    "[DEFAULTTEXT X=\"32\" Y=\"300\" BEAM=\"23\" LINE=\"5\"][DEFAULTBUTTON PATH=\"{BASE}pictures\"]"
    "[WINDOW NAME=\"枠\"][FADEWINDOW NAME=\"枠\" X=\"16\" Y=\"290\" WIDTH=\"608\" HEIGHT=\"170\"][BACK COLOR=\"#336699\"]"
    "はじめの文です。[C]続きの文です。[L]ページの終わりです。[P]"
    "どちらの道を行きますか？[TL][SELECT][WRITE BODY=\"明るい丘の道\" LABEL=\"丘\"][WRITE BODY=\"静かな森の道\" LABEL=\"森\"]"
    "[ENDSELECT][LABEL LABEL=\"丘\"][DEFAULTTEXT Y=\"200\" BEAM=\"20\"][BACK COLOR=\"#663399\"]丘の道を選びました。[P]"
    "絵を選んでください。[TL][SELECT]"
    "[BEGINBUTTON X=\"160\" Y=\"80\" WIDTH=\"40\" HEIGHT=\"30\" LABEL=\"昼\"][BUTTON NAME=\"OFF\"][PAINT FILE=\"sun.bmp\"][ENDBUTTON]"
    "[BEGINBUTTON X=\"360\" Y=\"80\" WIDTH=\"40\" HEIGHT=\"30\" LABEL=\"夜\"][BUTTON NAME=\"OFF\"][PAINT FILE=\"moon.bmp\"]"
    "[ENDBUTTON][ENDSELECT][LABEL LABEL=\"昼\"]お昼です。[P]"
    "最後の問いです。[TL][SELECT][WRITE BODY=\"はい\" LABEL=\"終\"][WRITE BODY=\"いいえ\" LABEL=\"終\"][ENDSELECT]"
    "[LABEL LABEL=\"森\"][LABEL LABEL=\"夜\"][LABEL LABEL=\"終\"]おしまいです。[P][END]";

struct StoryWait {
    const char* name;
    int number; // the waits of the story counted as it reaches them, from 0
    bool choice;
    int nextChoice; // where fast skip from it stops
};
const StoryWait StoryWaits[] = {
    {"click", 0, false, 3}, {"line", 1, false, 3}, {"page", 2, false, 3}, {"text choice", 3, true, 5},
    {"picture choice", 5, true, 7},
};

// The screen and the text as the reader left them, and the place in the script.
struct Shot {
    std::uint64_t screen = 0, back = 0;
    std::string text;
    std::uint32_t offset = 0;
};

Shot TakeShot()
{
    const TAG::CText& text = Engine().GetText();
    std::ostringstream state;
    state << "cursor " << text.GetCursor().column << "," << text.GetCursor().line << "," << text.GetCursor().indent
          << (text.IsShown() ? " shown " : " hidden ") << text.GetMessage().GetStr();
    // The back-log line for line: a route that adds or drops one shows another page.
    for (const auto& line : Engine().GetLog().GetLines()) state << "\nlog[" << line.GetStr() << "]";
    return {testkit::HashSurface(*Engine().Shown().GetScreenPlane().GetSurfaceInfo()),
            testkit::HashSurface(*Engine().Shown().GetBackPlane().GetSurfaceInfo()), state.str(), Engine().GetReader().GetOffset()};
}

// Reads by the keys: Enter at a click wait, Down and Enter (the first row) at
// a choice. Three frames into each wait, `atWait` gets its number and says
// whether to read on.
class StoryReader {
public:
    using AtWait = std::function<bool(EngineRun&, std::uint32_t frame, int wait)>;
    static constexpr std::uint32_t Frames = 400;

    StoryReader(EngineRun& run, AtWait atWait) : m_atWait(std::move(atWait))
    {
        for (std::uint32_t frame = 1; frame < Frames; ++frame) run.At(frame, [this, frame](EngineRun& r) { Step(r, frame); });
        run.CloseAtScriptEnd();
    }

private:
    void Step(EngineRun& run, std::uint32_t frame)
    {
        const EngineState state = Engine().GetGameState().State;
        if (state != EngineState::ClickWait && state != EngineState::ChoiceWait) m_settled = 0;
        else if (++m_settled == 3 && m_atWait(run, frame, ++m_wait)) {
            if (state == EngineState::ChoiceWait) run.Key(frame + 1, KeyCode::Down);
            run.Key(frame + 4, KeyCode::Enter);
        }
    }

    AtWait m_atWait;
    int m_settled = 0;
    int m_wait = -1;
};

} // namespace

TEST(SaveLoad, EveryWaitComesBackByEveryRouteAndFastSkipStopsAtTheNextChoice)
{
    GameFolder game;
    const std::string start = "[JUMP FILE=\"{BASE}story.txt\"]";
    game.Put("data/index.txt", start);
    game.Put("data/story.txt", Story);
    game.Put("data/pictures/sun.bmp", BmpFile([](int, int) { return 0xFFC020u; }));
    game.Put("data/pictures/moon.bmp", BmpFile([](int, int) { return 0x2040A0u; }));
    game.Put("system/option.qsd", testkit::InstantOptions);

    // The story read once: every wait's shot, and at each wait of the table
    // its quick save, slot and (at a choice) the choice auto-save.
    std::map<int, Shot> read;
    std::map<int, std::string> quick, ring;
    {
        EngineRun original;
        StoryReader reader(original, [&](EngineRun& r, std::uint32_t frame, int wait) {
            read[wait] = TakeShot();
            // The end screen has no pictures here.
            if (wait == 8) r.Close(frame + 1);
            Engine().Files().QuickSave();
            quick[wait] = game.Read("Save/index.q");
            Engine().Files().SaveSlot(wait);
            ring[wait] = game.Read("Save/index.s00");
            return true;
        });
        original.Run(StoryReader::Frames);
        ASSERT_TRUE(original.errors.empty()) << original.errors.front();
        ASSERT_EQ(read.size(), 9u);
    }

    enum class Route { StartScript, QuickHere, QuickElsewhere, Slot, ChoiceAutoSave };
    const std::pair<Route, const char*> routes[] = {{Route::StartScript, "the start script"},
                                                    {Route::QuickHere, "a quick load at the same place"},
                                                    {Route::QuickElsewhere, "a quick load from another place"},
                                                    {Route::Slot, "a slot"},
                                                    {Route::ChoiceAutoSave, "the choice auto-save"}};
    for (std::size_t w = 0; w < std::size(StoryWaits); ++w) {
        const StoryWait& saved = StoryWaits[w];
        for (const auto& [route, routeName] : routes) {
            if (route == Route::ChoiceAutoSave && !saved.choice) continue;
            SCOPED_TRACE(std::string(saved.name) + " by " + routeName);
            // Where the load is made: the same wait, the next wait of the
            // table (or the first for the last), or the story's first wait.
            const int place = route == Route::QuickHere    ? saved.number
                              : route == Route::Slot       ? 0
                                                           : StoryWaits[(w + 1) % std::size(StoryWaits)].number;
            game.Put("data/index.txt", route == Route::StartScript ? quick[saved.number] : start);
            // The run before ended in fast skip, which the options keep.
            game.Put("system/option.qsd", testkit::InstantOptions);
            enum class Phase { Reading, Loaded, Chosen, Skipping } phase =
                route == Route::StartScript ? Phase::Loaded : Phase::Reading;
            Shot loaded, skipped;
            EngineRun run;
            StoryReader reader(run, [&](EngineRun& r, std::uint32_t frame, int wait) {
                switch (phase) {
                case Phase::Reading:
                    if (wait < place) return true;
                    phase = Phase::Loaded;
                    // Down at the text choice put the mouse on its first row,
                    // where the row would be lit when that choice comes back.
                    r.Windows().MoveCursor({0, 0});
                    if (route == Route::Slot) Engine().LoadSlot(saved.number);
                    if (route == Route::ChoiceAutoSave) {
                        game.Put("Save/index.s00", ring[saved.number]);
                        Engine().LoadAutoSave(0);
                    }
                    if (route == Route::QuickHere || route == Route::QuickElsewhere) {
                        game.Put("Save/index.q", quick[saved.number]);
                        Engine().LoadQuick();
                    }
                    return false;
                case Phase::Loaded:
                    loaded = TakeShot();
                    phase = saved.choice ? Phase::Chosen : Phase::Skipping;
                    if (!saved.choice) r.Key(frame + 1, KeyCode::PageDown);
                    return saved.choice;
                case Phase::Chosen:
                    phase = Phase::Skipping;
                    r.Key(frame + 1, KeyCode::PageDown);
                    return false;
                case Phase::Skipping:
                    skipped = TakeShot();
                    r.Close(frame + 1);
                    break;
                }
                return false;
            });
            run.Run(StoryReader::Frames);
            for (const std::string& error : run.errors) ADD_FAILURE() << error;
            const Shot& before = read.at(saved.number);
            EXPECT_EQ(loaded.text, before.text);
            EXPECT_EQ(loaded.screen, before.screen);
            EXPECT_EQ(loaded.back, before.back);
            EXPECT_EQ(loaded.offset, before.offset);
            const Shot& next = read.at(saved.nextChoice);
            EXPECT_EQ(skipped.offset, next.offset) << "fast skip stops at the next choice";
            EXPECT_EQ(skipped.text, next.text);
            EXPECT_EQ(skipped.screen, next.screen);
        }
    }
}

TEST(SaveLoad, AQuickSaveThatCannotBeReadIsRefusedAndTheGameGoesOn)
{
    struct Case {
        const char* what;
        std::function<void(GameFolder&)> make; // Save/index.q
        const char8_t* reason;
    };
    const Case cases[] = {
        {"missing", [](GameFolder&) {}, u8"ファイルがありません"},
        {"empty", [](GameFolder& g) { g.Put("Save/index.q", ""); }, u8"空のファイルです"},
        {"a folder", [](GameFolder& g) { std::filesystem::create_directories(g.Host("Save/index.q")); }, u8"ファイルではなくフォルダです"},
        // Opened for reading, a FIFO without a writer would hold the player for good.
        {"a FIFO",
         [](GameFolder& g) {
             std::filesystem::create_directories(g.Host("Save"));
             ASSERT_EQ(mkfifo(g.Host("Save/index.q").c_str(), 0600), 0);
         },
         u8"普通のファイルではありません (FIFO や装置)"},
        // Refused by its size on the open that checked it: not a byte is read.
        {"over the bound",
         [](GameFolder& g) {
             g.Put("Save/index.q", "");
             std::filesystem::resize_file(g.Host("Save/index.q"), 3ull << 30);
         },
         u8"3221225472 バイトあり、上限の 67108864 バイトを超えています"},
    };
    // The menu's load, or a "continue" button's.
    for (const bool button : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (button ? " by the button" : " by the menu"));
            GameFolder game;
            game.Put("data/index.txt", "[BACK COLOR=\"#336699\"][BEGINBUTTON NAME=\"続き\" X=\"240\" Y=\"300\" WIDTH=\"160\" HEIGHT=\"40\""
                                       " LABEL=\"_QUICKLOAD\"][BUTTON NAME=\"OFF\"][PAINT FILE=\"{BASE}dot.bmp\"][ENDBUTTON]"
                                       "[TEXT BODY=\"保存する場面です\"][C][WAIT TIME=\"100000\"]");
            game.Put("data/dot.bmp", BmpFile(picturekit::Gradient));
            game.Put("system/option.qsd", testkit::InstantOptions);
            c.make(game);
            EngineRun run;
            std::size_t tagsBefore = 0;
            run.At(20, [&](EngineRun& r) {
                tagsBefore = r.trace.size();
                if (!button) Engine().LoadQuick();
            });
            if (button) run.Click(20, 320, 320);
            testing::internal::CaptureStderr();
            // Past the second a reset's wipe takes.
            run.Run(80);
            // A repeat is only counted, and said at the flush.
            platform::Stderr().Flush();
            const std::string said = testing::internal::GetCapturedStderr();

            // Nothing was reset: the wait goes on, no tag was read again, and the
            // close writes the resume save of the place.
            const auto left = std::ranges::find_if(run.frames.begin() + 9, run.frames.end(),
                                                   [](const auto& frame) { return frame.state != EngineState::ClickWait; });
            EXPECT_TRUE(left == run.frames.end()) << "the wait was left in frame " << left - run.frames.begin() + 1;
            EXPECT_EQ(run.trace.size(), tagsBefore);
            EXPECT_TRUE(run.errors.empty());
            EXPECT_TRUE(game.Exists("Save/index.a"));
            const std::string line = Utf8(u8"quiltor: セーブデータを読み込めません。 ") + game.Host("Save/index.q").string() + ": " +
                                     Utf8(c.reason);
            EXPECT_NE(said.find(line + "\n"), std::string::npos) << said;
            EXPECT_EQ(said.find(line), said.rfind(line)) << "said once";
        }
    }
}

namespace {

// The game folder's file system, but Save/index.q is replaced on the disk
// the moment after it is first opened for reading: an open by name after
// that finds the replacement, while the first one still holds the save.
class SaveReplacedAfterOpen : public platform::HostFileSystem {
public:
    SaveReplacedAfterOpen(std::string executable, std::function<void()> replace)
        : m_executable(std::move(executable)), m_replace(std::move(replace))
    {
    }
    using HostFileSystem::OpenRead;
    std::unique_ptr<platform::IReadFile> OpenRead(std::string_view name, std::error_code& why) override
    {
        std::unique_ptr<platform::IReadFile> file = HostFileSystem::OpenRead(name, why);
        if (file && name.ends_with("index.q") && m_replace) std::exchange(m_replace, nullptr)();
        return file;
    }
    std::string ExecutablePath() override { return m_executable; }

private:
    std::string m_executable;
    std::function<void()> m_replace;
};

} // namespace

TEST(SaveLoad, ASaveReplacedAfterItWasCheckedLoadsAsItWasChecked)
{
    using Path = std::filesystem::path;
    const std::pair<const char*, std::function<void(const Path&)>> replacements[] = {
        {"removed", [](const Path&) {}},
        {"a folder", [](const Path& save) { std::filesystem::create_directory(save); }},
        {"a FIFO", [](const Path& save) { ASSERT_EQ(mkfifo(save.c_str(), 0600), 0); }},
        {"a link to /dev/zero", [](const Path& save) { std::filesystem::create_symlink("/dev/zero", save); }},
        {"a file of 3 GiB in holes",
         [](const Path& save) {
             std::ofstream{save};
             std::filesystem::resize_file(save, 3ull << 30);
         }},
    };
    for (const auto& [what, replace] : replacements) {
        SCOPED_TRACE(what);
        GameFolder game;
        game.Put("data/index.txt", "[BACK COLOR=\"#336699\"][TEXT BODY=\"保存する場面です\"][C]"
                                   "[SET VARIABLE=\"after\" ENTITY=\"1\"][WAIT TIME=\"100000\"][END]");
        game.Put("system/option.qsd", testkit::InstantOptions);
        std::uint32_t savedAt = 0;
        {
            EngineRun saving;
            saving.At(20, [](EngineRun&) { Engine().Files().QuickSave(); });
            saving.Click(22);
            saving.Run(30);
            savedAt = MarkerOffset(saving);
        }
        ASSERT_NE(savedAt, 0u);
        const Path save = game.Host("Save/index.q");
        platform::InstallFileSystem(std::make_unique<SaveReplacedAfterOpen>(game.Name("quiltor"), [&, &replace = replace] {
            std::filesystem::remove(save);
            replace(save);
        }));
        std::filesystem::remove(game.Host("Save/index.a"));
        {
            EngineRun loaded;
            loaded.At(5, [](EngineRun&) { Engine().LoadQuick(); });
            loaded.Click(70);
            loaded.Run(80);
            for (const std::string& error : loaded.errors) ADD_FAILURE() << error;
            EXPECT_EQ(loaded.frames.at(68).state, EngineState::ClickWait) << "the saved wait";
            EXPECT_EQ(MarkerOffset(loaded), savedAt) << "the tag behind it";
        }
        EXPECT_TRUE(game.Exists("Save/index.a")) << "the close's resume save";
    }
}
