// Animations as the click waits show them: the wait cursors of C, L and P,
// stepped on the virtual clock and presented straight from the back plane.
#include <gtest/gtest.h>

#include "frame/file/FileWriter.h"
#include "tests/draw/PictureFiles.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

namespace {

constexpr std::uint32_t Colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};

// A sheet of four 16 x 16 frames side by side, one colour each.
std::string Sheet()
{
    const picturekit::Bytes file =
        picturekit::MakeBmp(picturekit::Bmp24(64, 16, [](int x, int) { return Colours[x / 16]; }));
    return std::string(file.begin(), file.end());
}

std::string Animation(const char* name, int firstFrame, int frames, int time = 200)
{
    std::string tags = std::string("[BEGINANIMATE NAME=\"") + name + "\" FILE=\"data/sheet.bmp\" TIME=\"" +
                       std::to_string(time) + "\"]";
    for (int frame = firstFrame; frame < firstFrame + frames; ++frame)
        tags += std::string("[ANIMATE NAME=\"") + name + "\" X=\"" + std::to_string(frame * 16) +
                "\" Y=\"0\" WIDTH=\"16\" HEIGHT=\"16\"]";
    return tags;
}

// After one character at (32, 300) the text cursor, and so the wait cursor, stands at (56, 300).
const std::string Text = "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTTEXT X=\"32\" Y=\"300\"]あ";
constexpr int CursorX = 56 + 8, CursorY = 300 + 8;

// The presented colour under the cursor, frame by frame, as runs of one
// colour with the time each began.
struct Shown {
    std::uint32_t colour;
    std::uint32_t since;
};

std::vector<Shown> WatchCursor(EngineRun& run, std::uint32_t frames)
{
    auto runs = std::make_shared<std::vector<Shown>>();
    for (std::uint32_t frame = 1; frame < frames; ++frame) {
        run.At(frame, [runs](EngineRun& r) {
            const std::uint32_t colour = r.Displays().PictureAt(CursorX, CursorY);
            if (runs->empty() || runs->back().colour != colour) runs->push_back({colour, r.Clock().Now()});
        });
    }
    run.Run(frames);
    return *runs;
}

} // namespace

TEST(Animation, TheWaitCursorStepsEveryTimeOnTheVirtualClock)
{
    GameFolder game;
    game.Put("data/sheet.bmp", Sheet());
    game.Put("data/index.txt", Animation("P", 0, 4) + Text + "[P]");
    EngineRun run;
    const std::vector<Shown> runs = WatchCursor(run, 80);
    for (const auto& error : run.errors) ADD_FAILURE() << error;
    // Black before the wait; then the four frames round and round.
    ASSERT_GE(runs.size(), 8u);
    EXPECT_EQ(runs[0].colour, 0u);
    for (std::size_t i = 1; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].colour, Colours[(i - 1) % 4]) << i;
        // Each frame stands for its TIME: stepped by the first frame wait past it.
        if (i >= 2 && i + 1 < runs.size()) {
            EXPECT_GT(runs[i].since - runs[i - 1].since, 200u) << i;
            EXPECT_LE(runs[i].since - runs[i - 1].since, 200u + 34u) << i;
        }
    }
}

TEST(Animation, EachWaitShowsItsOwnCursorOrTheNextOne)
{
    // Animations C (red) and P (blue) exist, L does not.
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"[C]", Colours[0]}, {"[L]", Colours[2]}, {"[P]", Colours[2]}, {"[C VIEW=\"0\"]", 0}};
    for (const auto& [wait, colour] : cases) {
        SCOPED_TRACE(wait);
        GameFolder game;
        game.Put("data/sheet.bmp", Sheet());
        game.Put("data/index.txt", Animation("C", 0, 1) + Animation("P", 2, 1) + Text + wait);
        EngineRun run;
        const std::vector<Shown> runs = WatchCursor(run, 20);
        EXPECT_EQ(runs.back().colour, colour);
        EXPECT_TRUE(run.errors.empty());
    }
}

TEST(Animation, SavedLinesRebuildTheSameFrames)
{
    GameFolder game;
    game.Put("data/sheet.bmp", Sheet());
    game.Put("data/index.txt", "[BEGINANIMATE NAME=\"P\" FILE=\"data/sheet.bmp\" TIME=\"150\"]"
                               "[ANIMATE NAME=\"P\" X=\"16\" Y=\"0\" WIDTH=\"16\" HEIGHT=\"16\"]"
                               "[ANIMATE NAME=\"P\" X=\"48\" Y=\"2\" WIDTH=\"-5\" HEIGHT=\"8\"][ANIMATE NAME=\"P\"]"
                               "[ANIMATE NAME=\"Q\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    std::string saved;
    run.At(3, [&](EngineRun&) {
        {
            kivotasuGameKit::CTextFileWriter writer(game.Internal("anim.txt"));
            CQuiltorEngine::GetInstance()->GetAnimations().WriteAll(writer);
        }
        saved = game.Read("anim.txt");
    });
    run.Run(4);
    // A frame of an animation that does not exist is an error (and the end
    // screen follows); missing numbers and a negative size count as 0.
    ASSERT_FALSE(run.errors.empty());
    EXPECT_EQ(run.errors.front(), kivotasuGameKit::CTextString("その名前は使用されていません。").GetStr());
    const std::string frames = "[ANIMATE NAME=\"P\" X=\"16\" Y=\"0\" WIDTH=\"16\" HEIGHT=\"16\"]\n"
                               "[ANIMATE NAME=\"P\" X=\"48\" Y=\"2\" WIDTH=\"0\" HEIGHT=\"8\"]\n"
                               "[ANIMATE NAME=\"P\" X=\"0\" Y=\"0\" WIDTH=\"0\" HEIGHT=\"0\"]\n";
    EXPECT_EQ(saved, "\n[DEFAULTANIMATE EFFECT=\"BLEND\"]\n[BEGINANIMATE TIME=\"150\" WIDTH=\"64\" "
                     "HEIGHT=\"16\" NAME=\"P\" FILE=\"data/sheet.bmp\" ERASE=\"NONE\"]\n" + frames);

    // Replayed, the lines give the same animation.
    GameFolder again;
    again.Put("data/sheet.bmp", Sheet());
    again.Put("data/index.txt", saved + "[WAIT TIME=\"100000\"]");
    EngineRun replay;
    std::string rewritten;
    replay.At(3, [&](EngineRun&) {
        {
            kivotasuGameKit::CTextFileWriter writer(again.Internal("anim.txt"));
            CQuiltorEngine::GetInstance()->GetAnimations().WriteAll(writer);
        }
        rewritten = again.Read("anim.txt");
    });
    replay.Run(4);
    EXPECT_TRUE(replay.errors.empty());
    EXPECT_EQ(rewritten, saved);
}
