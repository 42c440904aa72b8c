// A request to close that cuts the read of a script or a save short is a
// close, not a fault: nothing is said, and the resume save keeps the place
// before the tag that read (or, during a load, the save being loaded), which
// loads back into a game that goes on.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "script/engine/KeyCodes.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/dib/PictureKit.h"
#include "tests/script/GameFolder.h"
#include "tests/script/ScriptTestKit.h"

using testkit::EngineRun;

namespace {

CQuiltorEngine& Engine() { return *CQuiltorEngine::GetInstance(); }

// The ENTITY of every SET of "way" that ran.
std::vector<std::string> Ways(const EngineRun& run)
{
    std::vector<std::string> ways;
    for (const auto* entry : run.Tags(TagId::Set)) {
        if (entry->record.GetValue(TagAttributeKey::Variable).GetStr() == "way")
            ways.push_back(entry->record.GetValue(TagAttributeKey::Entity).GetStr());
    }
    return ways;
}

constexpr const char* Arrive = "[SET VARIABLE=\"way\" ENTITY=\"arrived\"][WAIT TIME=\"100000\"][END]";

} // namespace

TEST(CloseCut, AJumpCallReturnOrChoiceWhoseScriptReadIsCutResumesAtItsTag)
{
    using namespace KeyCode;
    struct Case {
        const char* what;
        const char* index;
        const char* other; // data/other.txt
        const char* cut;
        std::uint32_t cutFrom;
        // The input that reaches the read, in the first run and after the resume load.
        std::function<void(EngineRun&, std::uint32_t)> input;
        std::vector<std::string> ways;
    };
    const auto click = [](EngineRun& run, std::uint32_t frame) { run.Click(frame); };
    const Case cases[] = {
        {"JUMP", "[TEXT BODY=\"前\"][C][JUMP FILE=\"data/other.txt\"][SET VARIABLE=\"way\" ENTITY=\"past\"]", Arrive,
         "data/other.txt", 0, click, {"arrived"}},
        {"CALL",
         "[TEXT BODY=\"前\"][C][CALL FILE=\"data/other.txt\"][SET VARIABLE=\"way\" ENTITY=\"back\"][WAIT TIME=\"100000\"][END]",
         "[SET VARIABLE=\"way\" ENTITY=\"arrived\"][ENDCALL]", "data/other.txt", 0, click, {"arrived", "back"}},
        {"ENDCALL", "[CALL FILE=\"data/other.txt\"][SET VARIABLE=\"way\" ENTITY=\"back\"][WAIT TIME=\"100000\"][END]",
         "[TEXT BODY=\"中\"][C][ENDCALL]", "data/index.txt", 3, click, {"back"}},
        {"a choice's jump",
         "[SELECT][WRITE BODY=\"北へ行く\" FILE=\"data/other.txt\"][WRITE BODY=\"南へ行く\" LABEL=\"south\"][ENDSELECT]"
         "[LABEL LABEL=\"south\"][SET VARIABLE=\"way\" ENTITY=\"south\"][WAIT TIME=\"100000\"][END]",
         Arrive, "data/other.txt", 0,
         [](EngineRun& run, std::uint32_t frame) {
             run.Key(frame, Down);
             run.Key(frame + 3, Enter);
         },
         {"arrived"}},
        {"a picture",
         "[TEXT BODY=\"前\"][C][BACK FILE=\"data/pic.bmp\"][SET VARIABLE=\"way\" ENTITY=\"arrived\"][WAIT TIME=\"100000\"][END]",
         "", "data/pic.bmp", 0, click, {"arrived"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", c.index);
        game.Put("data/other.txt", c.other);
        dibkit::WritePicture(game, "data/pic.bmp", 8, 8, dibkit::Gradient);
        game.Put("system/option.qsd", testkit::InstantOptions);
        {
            EngineRun cut;
            cut.At(c.cutFrom, [&](EngineRun&) { game.CutReads(c.cut); });
            c.input(cut, 5);
            testing::internal::CaptureStderr();
            cut.Run(40);
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_EQ(said, "");
            EXPECT_TRUE(cut.errors.empty()) << cut.errors.front();
            EXPECT_TRUE(Ways(cut).empty()) << "a tag after the read ran";
        }
        if (!game.Exists("Save/index.a")) {
            ADD_FAILURE() << "no resume save";
            continue;
        }
        game.CutReads(c.cut, false);
        EngineRun resumed;
        resumed.At(2, [](EngineRun&) { Engine().LoadResume(); });
        c.input(resumed, 60);
        resumed.Run(100);
        for (const std::string& error : resumed.errors) ADD_FAILURE() << error;
        EXPECT_EQ(Ways(resumed), c.ways);
    }
}

// Nothing is said of the start script, and the end screen has no place to
// keep: the resume save of an earlier run stays as it was.
TEST(CloseCut, AStartScriptReadThatIsCutSaysNothingAndKeepsTheResumeSave)
{
    GameFolder game;
    game.Put("data/index.txt", "[TEXT BODY=\"始め\"][C][WAIT TIME=\"100000\"]");
    game.Put("Save/index.a", "earlier");
    game.CutReads("data/index.txt");
    EngineRun run;
    testing::internal::CaptureStderr();
    run.Run(20);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "");
    EXPECT_TRUE(run.errors.empty()) << run.errors.front();
    EXPECT_EQ(game.Read("Save/index.a"), "earlier");
}

// Not read whole, the global variables' file is not written over; but it is
// sound, so the close says nothing of it.
TEST(CloseCut, AGlobalsFileWhoseReadIsCutIsKeptWithoutAWord)
{
    GameFolder game;
    game.Put("data/index.txt", "[TEXT BODY=\"始め\"][C][WAIT TIME=\"100000\"]");
    game.Put("Save/index.g", "[SET VARIABLE=\"回数\" ENTITY=\"3\"]");
    game.CutReads("Save/index.g");
    EngineRun run;
    testing::internal::CaptureStderr();
    run.Run(20);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "");
    EXPECT_TRUE(game.Exists("Save/index.a"));
    EXPECT_EQ(game.Read("Save/index.g"), "[SET VARIABLE=\"回数\" ENTITY=\"3\"]");
}

// The save being loaded becomes the resume save, the very file, however much
// of it was read; and a cut load of the resume save itself leaves it be.
TEST(CloseCut, ALoadWhoseReadIsCutKeepsTheSaveBeingLoadedAsTheResumeSave)
{
    GameFolder game;
    game.Put("data/index.txt", "[TEXT BODY=\"一つ目\"][C][TEXT BODY=\"二つ目\"][C][SET VARIABLE=\"way\" ENTITY=\"on\"]"
                               "[WAIT TIME=\"100000\"][END]");
    game.Put("system/option.qsd", testkit::InstantOptions);
    {
        EngineRun saving;
        saving.Click(5);
        saving.At(15, [](EngineRun&) { Engine().QuickSave(); });
        saving.Run(17);
    }
    const std::string quick = game.Read("Save/index.q");
    ASSERT_NE(quick, "");
    for (const bool resume : {false, true}) {
        SCOPED_TRACE(resume ? "the resume save" : "the quick save");
        const char* const loaded = resume ? "Save/index.a" : "Save/index.q";
        game.Put("Save/index.a", resume ? quick : "");
        game.CutReads(loaded);
        {
            // At the first wait, not the saved second one.
            EngineRun cut;
            cut.At(10, [&](EngineRun&) { resume ? Engine().LoadResume() : Engine().LoadQuick(); });
            testing::internal::CaptureStderr();
            cut.Run(20);
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_EQ(said, "");
            EXPECT_TRUE(cut.errors.empty()) << cut.errors.front();
            EXPECT_EQ(cut.frames.at(18).state, EngineState::ClickWait) << "the wait before the load";
        }
        EXPECT_EQ(game.Read("Save/index.a"), quick);
        game.CutReads(loaded, false);
        // A later quick save replaces its file: the resume save stays.
        std::filesystem::remove(game.Host("Save/index.q"));
        EngineRun resumed;
        resumed.At(2, [](EngineRun&) { Engine().LoadResume(); });
        resumed.Click(60);
        resumed.Run(80);
        for (const std::string& error : resumed.errors) ADD_FAILURE() << error;
        EXPECT_EQ(Ways(resumed), std::vector<std::string>{"on"});
        game.Put("Save/index.q", quick);
    }
}

// On the end screen too: the story has ended, but a load had begun.
TEST(CloseCut, ALoadCutOnTheEndScreenKeepsTheSaveBeingLoadedAsTheResumeSave)
{
    GameFolder game;
    game.Put("data/index.txt", "[TEXT BODY=\"一つ目\"][C][TEXT BODY=\"二つ目\"][C][SET VARIABLE=\"way\" ENTITY=\"on\"][C][END]");
    game.Put("system/option.qsd", testkit::InstantOptions);
    game.Put("Save/index.a", "earlier");
    {
        EngineRun saving;
        saving.Click(5);
        saving.At(15, [](EngineRun&) { Engine().QuickSave(); });
        saving.Run(17);
    }
    const std::string quick = game.Read("Save/index.q");
    ASSERT_NE(quick, "");
    game.Put("Save/index.a", "earlier");
    {
        EngineRun cut;
        for (const std::uint32_t frame : {5u, 10u, 15u}) cut.Click(frame);
        cut.At(25, [&](EngineRun&) {
            ASSERT_EQ(cut.frames.back().state, EngineState::ScriptEnd);
            game.CutReads("Save/index.q");
            Engine().LoadQuick();
        });
        cut.Run(30);
        EXPECT_TRUE(cut.errors.empty()) << cut.errors.front();
    }
    EXPECT_EQ(game.Read("Save/index.a"), quick);
    game.CutReads("Save/index.q", false);
    EngineRun resumed;
    resumed.At(2, [](EngineRun&) { Engine().LoadResume(); });
    resumed.Click(60);
    resumed.Run(80);
    for (const std::string& error : resumed.errors) ADD_FAILURE() << error;
    EXPECT_EQ(Ways(resumed), std::vector<std::string>{"on"});
}
