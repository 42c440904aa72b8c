// Saves and loads end to end on the headless engine: each slot kind taken at
// a click wait, in a choice and outside any wait, then loaded, gives back the
// screen and the next tag; the ring of choice auto-saves; global variables
// across loads and restarts.
#include <gtest/gtest.h>

#include <functional>

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
};

const SlotKind SlotKinds[] = {
    {"slot", "Save/index.003", [](CQuiltorEngine& e) { e.SaveSlot(3); }, [](CQuiltorEngine& e) { e.LoadSlot(3); }},
    {"quick", "Save/index.q", [](CQuiltorEngine& e) { e.QuickSave(); }, [](CQuiltorEngine& e) { e.LoadQuick(); }},
    {"resume", "Save/index.a", [](CQuiltorEngine& e) { e.SaveResume(); }, [](CQuiltorEngine& e) { e.LoadResume(); }},
    {"ring", "Save/index.s00", [](CQuiltorEngine& e) { e.AutoSave(); }, [](CQuiltorEngine& e) { e.LoadAutoSave(0); }},
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
