// A player killed at random moments while it saves (quick save, a numbered
// slot and the auto-save ring, over and over) leaves every save file whole:
// each one there reads to its resume tag and loads. QUILTOR_SAVE_KILLS sets
// the number of kills (tools/save-kill-test.sh runs a long campaign).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>

#include "script/lang/TagLexer.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

namespace {

constexpr int DefaultKills = 10;
const char* const Script = "[BACK COLOR=\"#204060\"][DEFAULTTEXT X=\"40\" Y=\"360\" WIDTH=\"560\" HEIGHT=\"100\"]"
                           "[LABEL LABEL=\"again\"][TEXT BODY=\"何度でも保存します\"][C][JUMP LABEL=\"again\"]";

int Kills()
{
    const char* text = std::getenv("QUILTOR_SAVE_KILLS");
    return text ? std::max(1, std::atoi(text)) : DefaultKills;
}

// The child: saves every frame until it is killed.
[[noreturn]] void SaveForever()
{
    EngineRun run;
    for (std::uint32_t frame = 2; frame < 1000000; ++frame) {
        run.At(frame, [frame](EngineRun&) {
            CSet::GetInstance().Set("n", std::to_string(frame));
            CQuiltorEngine& engine = *CQuiltorEngine::GetInstance();
            engine.Files().QuickSave();
            engine.Files().SaveSlot(0);
            engine.Files().AutoSave();
        });
    }
    run.Run(1000000);
    _exit(0);
}

// Whole: every tag closes, from the SAVE that opens it to the resume tag.
::testing::AssertionResult ReadsToItsEnd(const std::string& text)
{
    if (!text.starts_with("[SAVE CONTROL=\"0\"]")) return ::testing::AssertionFailure() << "head: " << text.substr(0, 40);
    std::size_t pos = 0;
    CTagAttributes record;
    TagReadResult result;
    TagId last = TagId::Comment;
    while ((result = CTagLexer(text, pos).ReadTag(record)) == TagRead) last = record.GetId();
    const bool resumes = last == TagId::C || last == TagId::Jump; // a save outside a click wait jumps back
    if (result != TextEnd || !resumes) return ::testing::AssertionFailure() << "tail: " << text.substr(text.size() - 60);
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(SaveKill, EverySaveFileIsWholeAfterAnyKill)
{
    GameFolder game;
    game.Put("data/index.txt", Script);
    game.Put("system/option.qsd", testkit::InstantOptions);
    std::mt19937 random(std::random_device{}());
    const int kills = Kills();
    int filesSeen = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForever();
        // A loaded machine starts the child slowly: the random moment counts
        // from its first save.
        for (int waited = 0; waited < 3000 && !game.Exists("Save/index.q"); ++waited) usleep(10000);
        usleep(useconds_t(std::uniform_int_distribution<int>(0, 300000)(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        for (const auto& entry : std::filesystem::directory_iterator(game.Host("Save"))) {
            const std::string name = entry.path().filename().string();
            // A kill leaves the writer's temporary files beside the saves.
            if (name == "index.g" || !name.starts_with("index.") || name.ends_with(".tmp")) continue;
            ++filesSeen;
            EXPECT_TRUE(ReadsToItsEnd(game.Read("Save/" + name))) << name << " after kill " << kill;
        }
    }
    EXPECT_GT(filesSeen, 0);

    // Every file the last kill left loads (a kill between the ring's renames
    // and its new entry leaves a gap in the ring).
    std::vector<std::pair<std::string, std::function<void(CQuiltorEngine&)>>> loads = {
        {"Save/index.q", [](CQuiltorEngine& e) { e.LoadQuick(); }},
        {"Save/index.000", [](CQuiltorEngine& e) { e.LoadSlot(0); }},
    };
    for (int entry = 0; entry < 10; ++entry)
        loads.emplace_back("Save/index.s0" + std::to_string(entry), [entry](CQuiltorEngine& e) { e.LoadAutoSave(entry); });
    for (const auto& [file, load] : loads) {
        if (!game.Exists(file)) continue;
        EngineRun run;
        run.At(2, [&load = load](EngineRun&) { load(*CQuiltorEngine::GetInstance()); });
        run.Run(60);
        EXPECT_TRUE(run.errors.empty()) << file << ": " << run.errors.front();
        EXPECT_EQ(run.frames.back().state, EngineState::ClickWait) << file;
    }
}
