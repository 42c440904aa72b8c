// The transition state through the headless engine: what each frame of a
// wipe leaves on the back plane, how many frames an EFFECT time takes on the
// virtual clock, and what ends a transition early.
#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <tuple>

#include "script/dib/DibInfoCache.h"
#include "tests/kit/EngineHarness.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/script/GameFolder.h"
#include "tests/script/dib/PictureKit.h"

using testkit::EngineRun;

namespace {

const std::string Hold = "[WAIT TIME=\"100000\"]";
const std::string Red = "[BACK COLOR=\"#FF0000\" EFFECT=\"NONE\"]";
const std::string Done = "[SET VARIABLE=\"done\" ENTITY=\"1\"]";
constexpr std::uint32_t RedRgb = 0xFF0000, BlueRgb = 0x0000FF;

std::string BlueWith(const std::string& effect) { return "[BACK COLOR=\"#0000FF\" EFFECT=\"" + effect + "\"]"; }

struct Sample {
    EngineState state;
    double red, blue; // shares of the back plane
    int top, bottom;  // black samples in each half (of 9600 at 640 x 480)
    std::uint32_t centre; // the colour of the middle pixel
};

// Every fourth pixel of the back plane: the shares of red and of blue, the
// black ones of each half, the middle one.
Sample Take()
{
    CQuiltorEngine& engine = *CQuiltorEngine::GetInstance();
    auto& surface = *engine.Shown().GetBackPlane().GetSurfaceInfo();
    kivotasuGameKit::CSurfaceLock lock(surface);
    int red = 0, blue = 0, all = 0, black[2] = {};
    std::uint32_t centre = 0;
    for (int y = 0; y < surface.GetHeight(); y += 4) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(surface.GetPixelBytes() + std::ptrdiff_t(y) * surface.GetPitch());
        for (int x = 0; x < surface.GetWidth(); x += 4, ++all) {
            const std::uint32_t rgb = row[x] & 0xFFFFFF;
            red += rgb == RedRgb;
            blue += rgb == BlueRgb;
            black[y >= surface.GetHeight() / 2] += rgb == 0;
            if (2 * x == surface.GetWidth() && 2 * y == surface.GetHeight()) centre = rgb;
        }
    }
    return {engine.GetGameState().State, double(red) / all, double(blue) / all, black[0], black[1], centre};
}

struct Recorded {
    std::vector<Sample> frames;
    // The frames of the last run of transition frames, and the first frame after it.
    std::vector<Sample> Transition() const
    {
        std::size_t end = frames.size();
        while (end > 0 && frames[end - 1].state != EngineState::Transition) --end;
        std::size_t begin = end;
        while (begin > 0 && frames[begin - 1].state == EngineState::Transition) --begin;
        return {frames.begin() + std::ptrdiff_t(begin), frames.begin() + std::ptrdiff_t(end)};
    }
    Sample After() const
    {
        std::size_t end = frames.size();
        while (end > 0 && frames[end - 1].state != EngineState::Transition) --end;
        return end < frames.size() ? frames[end] : Sample{};
    }
    std::vector<std::string> errors;
    bool done = false;
};

Recorded Play(GameFolder& game, const std::string& script, std::uint32_t frames,
              const std::function<void(EngineRun&)>& setup = {})
{
    game.Put("data/index.txt", script + Done + Hold);
    EngineRun run;
    Recorded recorded;
    for (std::uint32_t frame = 1; frame <= frames; ++frame)
        run.At(frame, [&](EngineRun&) { recorded.frames.push_back(Take()); });
    if (setup) setup(run);
    run.Run(frames);
    recorded.errors = run.errors;
    recorded.done = !run.Tags(TagId::Set).empty();
    return recorded;
}

class TwoHalves : public ::testing::TestWithParam<const char*> {};

// Kinds 21 to 27 dissolve the old picture over the first half and form the
// new one over the second, over twice the EFFECT time.
TEST_P(TwoHalves, TheOldPictureGoesFirstThenTheNewComes)
{
    GameFolder game;
    const Recorded run = Play(game, Red + BlueWith(GetParam()), 90);
    const std::vector<Sample> frames = run.Transition();
    // 800 ms twice at 30 frames a second.
    ASSERT_NEAR(double(frames.size()), 48, 2);
    std::size_t firstNew = 0;
    while (firstNew < frames.size() && frames[firstNew].blue == 0) ++firstNew;
    EXPECT_NEAR(double(firstNew), frames.size() / 2.0, 1.5);
    for (std::size_t i = 0; i < firstNew; ++i) EXPECT_GT(frames[i].red, 0.99) << "frame " << i;
    EXPECT_GT(frames.back().blue, 0.9);
    EXPECT_EQ(run.After().blue, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Kinds21To27, TwoHalves,
                         ::testing::Values("MOSAIC", "CUTIN", "WAVE", "STRETCH_LEFT", "STRETCH_RIGHT", "STRETCH_TOP",
                                           "STRETCH_BOTTOM"));

// One frame per 1/30 s of the EFFECT time, twice as many for the kinds that
// run in two halves and for BLACKBLIND, one for NONE; a wipe only ever adds
// to the new picture.
TEST(EngineWipe, FramesFollowTheEffectTime)
{
    const std::pair<const char*, int> kinds[] = {{"BLIND", 30}, {"SPIRAL", 30}, {"LEFT", 30}, {"BOTTOM", 30},
                                                 {"MOSAIC", 60}, {"BLACKBLIND", 60}, {"NONE", 1}};
    for (const auto& [kind, frames] : kinds) {
        SCOPED_TRACE(kind);
        GameFolder game;
        game.Put("system/option.qsd", "[SYSTEM CONTROL=\"EFFECT\" TIME=\"1000\"]");
        const Recorded run = Play(game, Red + BlueWith(kind), 100);
        const std::vector<Sample> transition = run.Transition();
        EXPECT_NEAR(double(transition.size()), frames, 1.5);
        if (std::string(kind) != "MOSAIC" && std::string(kind) != "BLACKBLIND") {
            for (std::size_t i = 1; i < transition.size(); ++i) EXPECT_GE(transition[i].blue, transition[i - 1].blue);
        }
        EXPECT_EQ(run.After().blue, 1.0);
    }
}

// At 800 x 600 the wipes cover the larger screen to its last line.
TEST(EngineWipe, WipesCoverTheLargerScreen)
{
    for (const char* kind : {"BLIND_TOP", "BLIND_RIGHT", "STRIPE_V1", "STRETCH_BOTTOM", "SPIRAL"}) {
        SCOPED_TRACE(kind);
        GameFolder game;
        int width = 0, height = 0;
        const Recorded run = Play(game, "[SCREEN NAME=\"1\"]" + Red + BlueWith(kind), 60, [&](EngineRun& r) {
            r.At(50, [&](EngineRun&) { CQuiltorEngine::GetInstance()->Shown().GetBackPlane().GetSize(&width, &height); });
        });
        EXPECT_EQ(width, 800);
        EXPECT_EQ(height, 600);
        const std::vector<Sample> frames = run.Transition();
        EXPECT_NEAR(double(frames.size()), std::string(kind) == "STRETCH_BOTTOM" ? 48 : 24, 1.5);
        EXPECT_GT(frames.back().blue, 0.9);
        EXPECT_EQ(run.After().blue, 1.0);
        EXPECT_TRUE(run.errors.empty());
    }
}

// BLACKBLIND: the old picture is blinded to black, then the new one comes.
TEST(EngineWipe, BlackBlindGoesThroughBlack)
{
    GameFolder game;
    const Recorded run = Play(game, Red + BlueWith("BLACKBLIND"), 90);
    const std::vector<Sample> frames = run.Transition();
    const Sample& middle = frames[frames.size() / 2];
    EXPECT_LT(middle.red, 0.01);
    EXPECT_LT(middle.blue, 0.2);
    EXPECT_GT(frames[frames.size() / 4].red, 0.1);
}

TEST(EngineWipe, AClickOrGraphicSkipEndsTheTransitionOnTheNewPicture)
{
    {
        GameFolder game;
        const Recorded run = Play(game, Red + BlueWith("CIRCLE"), 40, [](EngineRun& r) { r.Click(8); });
        const std::vector<Sample> frames = run.Transition();
        EXPECT_LE(frames.size(), 8u);
        EXPECT_LT(frames.back().blue, 0.5);
        EXPECT_EQ(run.After().blue, 1.0);
    }
    {
        GameFolder game;
        const Recorded run = Play(game, Red + BlueWith("CIRCLE"), 40, [](EngineRun& r) {
            r.At(0, [](EngineRun&) { CQuiltorEngine::GetInstance()->GetGameState().SkipModes[1] = 1; });
        });
        EXPECT_EQ(run.Transition().size(), 1u);
        EXPECT_EQ(run.After().blue, 1.0);
    }
}

boost::shared_ptr<DIB::CDibInfo> OutOfMemory(const kivotasuGameKit::CTextString&) { throw std::bad_alloc(); }

// A picture name whose picture cannot be had, whether the file is missing or
// its plane cannot be made, turns the transition into a blend: no error, the
// game goes on, the log names the picture.
TEST(EngineWipe, AnEffectPictureThatCannotBeHadBlends)
{
    for (bool memory : {false, true}) {
        SCOPED_TRACE(memory ? "out of memory" : "no file");
        GameFolder game;
        CDibInfoCache::GetInstance().Clear();
        if (memory) CDibInfoCache::GetInstance().SetLoader(&OutOfMemory);
        testkit::ScopedErrorLogRecorder log;
        const Recorded run = Play(game, Red + BlueWith("nowhere.bmp"), 60);
        EXPECT_TRUE(log->Contains("nowhere.bmp"));
        CDibInfoCache::GetInstance().SetLoader(nullptr);
        const std::vector<Sample> frames = run.Transition();
        EXPECT_NEAR(double(frames.size()), 24, 1.5);
        // Half way the colours are mixed: neither red nor blue.
        EXPECT_EQ(frames[frames.size() / 2].red + frames[frames.size() / 2].blue, 0.0);
        EXPECT_TRUE(run.errors.empty());
        EXPECT_TRUE(run.done);
        EXPECT_EQ(run.After().blue, 1.0);
    }
}

// A picture name draws the picture keyed onto the new screen, which shows
// from the first frame of the transition.
TEST(EngineWipe, AnEffectPictureIsDrawnKeyedOntoTheScreen)
{
    GameFolder game;
    CDibInfoCache::GetInstance().Clear();
    // Green (the top-left colour) is the key; the right half is white.
    dibkit::WritePicture(game, "data/curtain.bmp", 640, 480,
                         [](int x, int) { return x < 320 ? 0xFF00FF00u : 0xFFFFFFFFu; });
    const Recorded run = Play(game, Red + BlueWith("{BASE}curtain.bmp"), 60);
    const std::vector<Sample> frames = run.Transition();
    EXPECT_NEAR(double(frames.size()), 24, 1.5);
    // The first is sampled as the transition begins, before it draws.
    EXPECT_NEAR(frames.at(1).blue, 0.5, 0.01);
    EXPECT_NEAR(run.After().blue, 0.5, 0.01);
    EXPECT_TRUE(run.errors.empty());
}

// Restarting with a dropped script blacks the screen with a top-down blind
// over 1024 ms before the new game starts, from black: whatever the screen
// plane filled with before (a BACK COLOR's colour, the end screen's white),
// and even when the end screen was still fading in.
TEST(EngineWipe, ResetComesDownAsABlind)
{
    // Without {QUILTOR} the end screen is white; its fade-in takes 2048 ms.
    const std::tuple<const char*, std::string, std::uint32_t> cases[] = {
        {"a picture", "[BACK FILE=\"{BASE}red.bmp\" EFFECT=\"NONE\"]", 5}, {"a BACK COLOR", Red, 5},
        {"the end screen", "[END]", 80}, {"the end screen in its fade-in", "[END]", 10}};
    for (const auto& [what, script, dropAt] : cases) {
        SCOPED_TRACE(what);
        GameFolder game;
        dibkit::WritePicture(game, "data/red.bmp", 640, 480, [](int, int) { return 0xFFFF0000u; });
        // Its text stands in the top half.
        game.Put("data/next.txt", "一頁目。" + Hold);
        const Recorded run = Play(game, script, dropAt + 54, [&, at = dropAt](EngineRun& r) {
            r.At(at, [&game](EngineRun& dropped) { dropped.Windows().DropFile(dropped.Window(), game.Name("data\\next.txt")); });
        });
        // From the frame after the drop.
        ASSERT_GT(run.frames.size(), dropAt);
        const std::vector<Sample> frames(run.frames.begin() + dropAt, run.frames.end());
        std::size_t first = 0, last = 0;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].top + frames[i].bottom > 0 && first == 0) first = i;
            if (frames[i].bottom < 9600 && frames[i].top + frames[i].bottom > 0) last = i;
        }
        // 1024 ms at 30 frames a second (the first and last rows of a block
        // open a little after the start and before the end), each frame darker
        // than the one before, the top ahead of the bottom.
        EXPECT_NEAR(double(last - first + 1), 29, 3);
        for (std::size_t i = first + 1; i <= last; ++i) {
            EXPECT_GE(frames[i].top, frames[i - 1].top);
            EXPECT_GE(frames[i].bottom, frames[i - 1].bottom);
        }
        const Sample& middle = frames[(first + last) / 2];
        EXPECT_GT(middle.top, middle.bottom + 3000);
        EXPECT_EQ(frames.back().bottom, 9600) << "the new game's first page not on black";
        // The new game reads on once the blind is down, whatever the old one was showing.
        const auto shown = std::ranges::find(frames, EngineState::TextDisplay, &Sample::state);
        ASSERT_NE(shown, frames.end()) << "no page shown after the blind";
        EXPECT_LE(shown - frames.begin(), 32);
    }
}

// The end screen fades its (here missing, so white) picture in by the blend
// wipe over 2048 ms, each step over the last.
TEST(EngineWipe, TheEndScreenComesByItsBlend)
{
    GameFolder game;
    std::vector<std::uint32_t> centre;
    for (const Sample& frame : Play(game, Red + "[END]", 99).frames)
        if (frame.state == EngineState::ScriptEnd) centre.push_back(frame.centre);

    ASSERT_GT(centre.size(), 70u);
    // Red turns white: green and blue climb together, never back.
    std::size_t steps = 0;
    for (std::size_t i = 1; i < centre.size(); ++i) {
        EXPECT_EQ(centre[i] >> 16, 0xFFu);
        EXPECT_GE(centre[i] & 0xFF, centre[i - 1] & 0xFF);
        steps += centre[i] != centre[i - 1];
    }
    EXPECT_GT(steps, 20u);
    EXPECT_EQ(centre.back(), 0xFFFFFFu);
}

// The end screen stops the music with the values of the tag that ended the
// script; at the end of the text there is none, and no earlier tag's TIME
// stands in for it.
TEST(EngineWipe, TheEndScreenReadsOnlyTheTagThatEndedTheScript)
{
    const std::pair<std::string, std::string> endings[] = {{"[WAIT TIME=\"300\"]", ""},
                                                            {"[WAIT TIME=\"300\"][END TIME=\"700\"]", "700"}};
    for (const auto& [script, time] : endings) {
        GameFolder game;
        game.Put("data/index.txt", script);
        EngineRun run;
        std::string seen = "unseen";
        for (std::uint32_t frame = 1; frame < 40; ++frame) {
            run.At(frame, [&](EngineRun&) {
                if (CQuiltorEngine::GetInstance()->GetGameState().State == EngineState::ScriptEnd && seen == "unseen")
                    seen = CTagAttributes::GetCurrent().GetValue(TagAttributeKey::Time).GetStr();
            });
        }
        run.Run(40);
        EXPECT_EQ(seen, time) << script;
    }
}

} // namespace
