// The wait states on the virtual clock: frames of 1000/30 ms, input by frame.
#include <gtest/gtest.h>

#include "script/engine/KeyCodes.h"
#include "script/engine/MenuCommands.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"
#include "tests/script/dib/PictureKit.h"

using testkit::EngineRun;

namespace {

const std::string Hold = "[WAIT TIME=\"100000\"]";

std::string Set(const char* name)
{
    return std::string("[SET VARIABLE=\"") + name + "\" ENTITY=\"1\"]";
}

// The SET tags in order of their frames.
std::vector<std::uint32_t> SetFrames(const EngineRun& run)
{
    std::vector<std::uint32_t> frames;
    for (const auto* entry : run.Tags(TagId::Set)) frames.push_back(entry->frame);
    return frames;
}

} // namespace

TEST(EngineWait, WaitOf300msTakesNineOrTenFrames)
{
    GameFolder game;
    game.Put("data/index.txt", "[WAIT TIME=\"300\"]" + Set("after") + Hold);
    EngineRun run;
    run.Run(40);

    const auto waiting = run.FramesIn(EngineState::TimedWait);
    // The hold after the marker waits too; count the first wait's frames.
    const std::uint32_t end = SetFrames(run).at(0);
    const auto first = std::count_if(waiting.begin(), waiting.end(), [&](std::uint32_t f) { return f <= end; });
    EXPECT_GE(first, 9);
    EXPECT_LE(first, 10);
    const std::uint32_t elapsed = run.Tags(TagId::Set).at(0)->time - run.Tags(TagId::Wait).at(0)->time;
    EXPECT_GE(elapsed, 300u);
    EXPECT_LT(elapsed, 300u + 3 * 34);
}

TEST(EngineWait, WaitWithoutTimeIs300msAndNegativeIsNone)
{
    GameFolder game;
    game.Put("data/index.txt", "[WAIT]" + Set("a") + "[WAIT TIME=\"-5\"]" + Set("b") + Hold);
    EngineRun run;
    run.Run(40);

    auto sets = run.Tags(TagId::Set);
    auto waits = run.Tags(TagId::Wait);
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_GE(sets[0]->time - waits[0]->time, 300u);
    // A wait of 0 ms ends on its first frame.
    EXPECT_LE(sets[1]->frame - waits[1]->frame, 2u);
}

TEST(EngineWait, ClickEndsTheWaitEarly)
{
    GameFolder game;
    game.Put("data/index.txt", "[WAIT TIME=\"300\"]" + Set("after") + Hold);
    EngineRun run;
    run.Click(3);
    run.Run(40);

    // Pressed after frame 3, seen by the poll that follows: the marker runs
    // after the fourth frame.
    EXPECT_EQ(SetFrames(run).at(0), 4u);
}

TEST(EngineWait, TextTimeZeroShowsTheWholeMessageAtOnce)
{
    const std::string message = "あいうえおかきくけこ";
    std::uint64_t atOnce = 0;
    std::uint64_t timed = 0;
    {
        GameFolder game;
        game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]" + message + Set("shown") + Hold);
        EngineRun run;
        run.Run(10);
        ASSERT_EQ(run.FramesIn(EngineState::TextDisplay).size(), 1u);
        const std::uint32_t shown = SetFrames(run).at(0);
        EXPECT_EQ(shown, run.Tags(TagId::Write).at(0)->frame + 2);
        run.DumpAt(0); // unused: the dump below is taken in a run of its own
        GameFolder again;
        again.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]" + message + Set("shown") + Hold);
        EngineRun dumped;
        dumped.DumpAt(shown);
        dumped.Run(shown);
        atOnce = dumped.dumps.at(shown).screen;
    }
    {
        GameFolder game;
        game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"20\"]" + message + Set("shown") + Hold);
        EngineRun run;
        run.Run(60);
        const std::uint32_t shown = SetFrames(run).at(0);
        // One character a frame at most: ten characters take ten frames or more.
        EXPECT_GE(run.FramesIn(EngineState::TextDisplay).size(), 10u);
        GameFolder again;
        again.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"20\"]" + message + Set("shown") + Hold);
        EngineRun dumped;
        dumped.DumpAt(shown);
        dumped.Run(shown);
        timed = dumped.dumps.at(shown).screen;
    }
    EXPECT_EQ(atOnce, timed);
}

TEST(EngineWait, ClickDuringTimedTextShowsTheRestAndTheNextMessageAtOnce)
{
    GameFolder game;
    const std::string ten = "あいうえおかきくけこ";
    game.Put("data/index.txt", ten + Set("first") + ten + Set("second") + "[C]" + ten + Set("third") + Hold);
    EngineRun run;
    run.Click(3);  // during the first message
    run.Click(20); // ends the C wait
    run.Run(120);

    auto frames = SetFrames(run);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_LE(frames[0], 6u);
    // The latch shows the second message on its first frame.
    EXPECT_EQ(frames[1], frames[0] + 2);
    // The C tag cleared the latch: the third message takes its time again
    // (ten characters of 200 ms).
    const auto c = run.Tags(TagId::C).at(0);
    EXPECT_GE(run.Tags(TagId::Set).at(2)->time - c->time, 2000u);
}

TEST(EngineWait, KeysAdvanceTheClickWait)
{
    GameFolder game;
    game.Put("data/index.txt", "[C]" + Set("enter") + "[C]" + Set("ctrl") + Hold);
    EngineRun run;
    run.Key(3, KeyCode::Enter);
    run.Key(10, KeyCode::LeftCtrl);
    run.Run(30);

    auto frames = SetFrames(run);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], 4u);
    EXPECT_EQ(frames[1], 11u);
}

TEST(EngineWait, AutomaticReadingEndsAClickWaitAfter2000ms)
{
    GameFolder game;
    game.Put("data/index.txt", "[SYSTEM CONTROL=\"SKIPPATTERN\" NAME=\"2\"][C]" + Set("read") + Hold);
    EngineRun run;
    run.Run(100);

    const std::uint32_t waited = run.Tags(TagId::Set).at(0)->time - run.Tags(TagId::C).at(0)->time;
    EXPECT_GE(waited, 2000u);
    EXPECT_LE(waited, 2000u + 3 * 34);
}

TEST(EngineWait, HiddenWindowsReturnToTheWaitThatHidThem)
{
    GameFolder game;
    game.Put("system/option.qsd", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]");
    game.Put("data/index.txt", "あ[C]" + Set("after") + Hold);
    EngineRun run;
    run.Key(5, KeyCode::Space);  // hides the windows of the click wait
    run.Click(10);               // shows them again
    run.Click(15);               // advances: the marker runs after frame 16
    run.Run(40);

    const auto hidden = run.FramesIn(EngineState::WindowHidden);
    ASSERT_FALSE(hidden.empty());
    EXPECT_EQ(hidden.front(), 6u);
    EXPECT_EQ(hidden.back(), 10u);
    EXPECT_EQ(run.frames.at(10).state, EngineState::ClickWait);
    EXPECT_EQ(SetFrames(run).at(0), 16u);
}

// After a stall (a long run of tags, a slow picture) the frame timer catches
// up with frames that follow at once: they show what has changed since, and
// a wait where nothing changes presents nothing.
TEST(EngineWait, FramesTheTimerCatchesUpShowNothingTwice)
{
    struct Case {
        const char* what;
        std::string script;
        std::uint32_t stallAt; // a frame of the wait
        bool changes;          // the window changes after the stall
        std::uint32_t restartAt = 0;
    };
    // A picture, so that every step of a blind over it shows.
    const std::string scene = "[BACK FILE=\"{BASE}back.bmp\" EFFECT=\"NONE\"]";
    const Case cases[] = {
        {"a timed wait", scene + "[WAIT TIME=\"2000\"]", 10, false},
        {"a transition", scene + "[WAIT TIME=\"100\"][BACK COLOR=\"#602040\" EFFECT=\"BLEND\"]", 10, true},
        {"timed text", "[SYSTEM CONTROL=\"TEXT\" TIME=\"20\"]" + scene + "あいうえおかきくけこさしすせそ", 6, true},
        {"the end screen, faded in", scene + "[END]", 80, false},
        {"the blind of a restart", scene + "[WAIT TIME=\"2000\"]", 12, true, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        dibkit::WritePicture(game, "data/back.bmp", 640, 480, dibkit::Gradient);
        game.Put("data/index.txt", c.script + Hold);
        EngineRun run;
        run.RecordPresents();
        run.At(c.stallAt, [](EngineRun& r) { r.Clock().Advance(150); });
        if (c.restartAt) run.Command(c.restartAt, MenuCommand::History);
        run.Run(c.stallAt + 20);

        ASSERT_FALSE(run.presented.empty());
        std::size_t after = 0, repeated = 0;
        for (std::size_t i = 1; i < run.presented.size(); ++i) {
            if (run.presented[i].frame < c.stallAt) continue;
            ++after;
            repeated += run.presented[i].picture == run.presented[i - 1].picture;
        }
        EXPECT_EQ(repeated, 0u);
        EXPECT_EQ(after != 0, c.changes);
        EXPECT_TRUE(run.errors.empty());
    }
}
