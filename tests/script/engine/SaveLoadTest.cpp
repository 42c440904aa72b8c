// Saves and loads end to end on the headless engine: each slot kind taken at
// a click wait, in a choice of text or pictures and outside any wait, then
// loaded, gives back the screen, the choice and the next tag.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>

#include "tests/draw/PictureFiles.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

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
    {"slot", "Save/index.003", [](CQuiltorEngine& e) { e.SaveSlot(3); }, [](CQuiltorEngine& e) { e.LoadSlot(3); }},
    {"quick", "Save/index.q", [](CQuiltorEngine& e) { e.QuickSave(); }, [](CQuiltorEngine& e) { e.LoadQuick(); }},
    {"resume", "Save/index.a", [](CQuiltorEngine& e) { e.SaveResume(); }, [](CQuiltorEngine& e) { e.LoadResume(); }, true},
    {"ring", "Save/index.s00", [](CQuiltorEngine& e) { e.AutoSave(); }, [](CQuiltorEngine& e) { e.LoadAutoSave(0); }, true},
};

// A scene worth saving: a coloured background, a framed window with text, a
// back-log line, variables, a CALL, then the wait under test and a marker.
std::string Scene(const std::string& wait)
{
    return "[DEFAULTTEXT X=\"40\" Y=\"360\" WIDTH=\"560\" HEIGHT=\"100\"][BACK COLOR=\"#336699\"]"
           "[SET VARIABLE=\"local\" ENTITY=\"5\"]"
           "[CALL LABEL=\"sub\"][JUMP LABEL=\"end\"][LABEL LABEL=\"sub\"]"
           "[TEXT BODY=\"保存する場面です\"]" + wait + "[SET VARIABLE=\"after\" ENTITY=\"1\"][WAIT TIME=\"100000\"]"
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
            loaded.DumpAt(80);
            loaded.Click(82);
            loaded.Run(120);
            ASSERT_TRUE(loaded.errors.empty()) << loaded.errors.front();
            EXPECT_EQ(loaded.dumps.at(80).screen, savedScreen);
            EXPECT_EQ(MarkerOffset(loaded), MarkerOffset(original));
            EXPECT_EQ(loaded.frames.at(79).state, original.frames.at(19).state);
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

std::string BmpFile(const picturekit::Pattern& pattern)
{
    const picturekit::Bytes file = picturekit::MakeBmp(picturekit::Bmp24(40, 30, pattern));
    return {file.begin(), file.end()};
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
    original.At(400, [](EngineRun&) { Engine().QuickSave(); });
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
