// The dispatcher on the real engine: which tags hand control back to the main
// loop, COND, and what ends a script.
#include <gtest/gtest.h>

#include <set>

#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

namespace {

// Fast skip: every wait ends without waiting a frame of its own, so only a
// tag that returns to the main loop puts a frame wait before the next tag.
const std::string FastSkip = "[SYSTEM CONTROL=\"SKIPPATTERN\" NAME=\"1\"]";
const std::string Marker = "[SET VARIABLE=\"marker\" ENTITY=\"1\"]";

struct Case {
    std::string setup;
    std::string tag;
};

// Runs setup, the tag and the marker; gives the frames of the tag and the marker.
std::pair<std::uint32_t, std::uint32_t> FramesOf(const Case& c, TagId id)
{
    GameFolder game;
    game.Put("data/index.txt", FastSkip + c.setup + c.tag + Marker + "[WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(120);
    auto tags = run.Tags(id);
    auto markers = run.Tags(TagId::Set);
    if (tags.empty() || markers.empty()) return {0, 0};
    return {tags.front()->frame, markers.back()->frame};
}

} // namespace

TEST(EngineTags, ReturningTagsEndTheFramesPass)
{
    const std::vector<std::pair<TagId, Case>> cases = {
        {TagId::Act, {"", "[ACT NAME=\"a\"]"}},
        {TagId::EndAct, {"[ACT NAME=\"a\"]", "[ENDACT NAME=\"a\"]"}},
        {TagId::EndAllAct, {"", "[ENDALLACT]"}},
        {TagId::HideAct, {"[ACT NAME=\"a\"]", "[HIDEACT NAME=\"a\"]"}},
        {TagId::Back, {"", "[BACK NAME=\"b\"]"}},
        {TagId::Paint, {"", "[PAINT NAME=\"p\"]"}},
        {TagId::EndPaint, {"[PAINT NAME=\"p\"]", "[ENDPAINT NAME=\"p\"]"}},
        {TagId::EndAllPaint, {"", "[ENDALLPAINT]"}},
        {TagId::HidePaint, {"[PAINT NAME=\"p\"]", "[HIDEPAINT NAME=\"p\"]"}},
        {TagId::Save, {"", "[SAVE CONTROL=\"1\"]"}},
        {TagId::Screen, {"", "[SCREEN NAME=\"0\"]"}},
        {TagId::Select, {"", "[SELECT]"}},
        {TagId::Unlock, {"[LOCK]", "[UNLOCK]"}},
        {TagId::Visual, {"", "[VISUAL NAME=\"v\"]"}},
        {TagId::Wait, {"", "[WAIT TIME=\"10\"]"}},
        {TagId::Write, {"", "あいう"}},
        {TagId::C, {"", "[C]"}},
        {TagId::L, {"", "[L]"}},
        {TagId::P, {"", "[P]"}},
    };
    for (const auto& [id, c] : cases) {
        auto [tag, marker] = FramesOf(c, id);
        EXPECT_NE(marker, 0u) << c.tag;
        EXPECT_GT(marker, tag) << c.tag;
    }
}

TEST(EngineTags, EndSelectAndEndLeaveTheDispatcherForTheirStates)
{
    for (const auto& [script, state] : {std::pair<std::string, EngineState>{"[SELECT]はい[ENDSELECT]", EngineState::ChoiceWait},
                                        {"[END]", EngineState::ScriptEnd}}) {
        GameFolder game;
        game.Put("data/index.txt", script + Marker);
        EngineRun run;
        run.Run(10);
        ASSERT_FALSE(run.trace.empty()) << script;
        EXPECT_EQ(run.trace.back().after, state) << script;
        EXPECT_TRUE(run.Tags(TagId::Set).empty()) << script;
        EXPECT_EQ(run.frames.back().state, state) << script;
    }
}

TEST(EngineTags, OtherTagsContinueInTheSameFrame)
{
    const std::string tags =
        "[COMMENT][DEFAULTACT EFFECT=\"NONE\"][BEGINANIMATE NAME=\"a\"][ANIMATE NAME=\"a\"][DEFAULTANIMATE]"
        "[DEFAULTBACK PATH=\"bg\"][BGM FILE=\"m.mid\"][DEFAULTBGM PATH=\"bgm\"][ENDBGM][BUTTON]"
        "[BEGINBUTTON NAME=\"b\"][ENDBUTTON][DEFAULTBUTTON][CURSOR NAME=\"C\" FILE=\"c.ani\"][CUT NAME=\"c\"][DEFAULTCUT]"
        "[JUMP LABEL=\"on\"][LABEL LABEL=\"on\"][LABEL LABEL=\"read\"][DEFAULTJUMP PATH=\"sc\"][CALL LABEL=\"sub\"]"
        "[LOCK][DEFAULTLOCK EFFECT=\"NONE\"][LOG BODY=\"l\"][DEFAULTLOG][MOVIE][DEFAULTPAINT]"
        "[SOUND FILE=\"s.wav\"][DEFAULTSOUND PATH=\"se\"][ENDSOUND][SYSTEM CONTROL=\"MIDIDEVICE\"]"
        "[TEXT BODY=\"あ\"][DEFAULTTEXT][NAMETEXT X=\"1\" Y=\"2\"][SYMBOL NAME=\"s\"][TITLE BODY=\"t\"][DEFAULTVISUAL]"
        "[ENDVISUAL][WINDOW NAME=\"w\"][BEGINWINDOW][DEFAULTWINDOW][FADEWINDOW NAME=\"w\"][TL][TP]";
    GameFolder game;
    // Back to normal skipping after the marker, so the last wait holds.
    game.Put("data/index.txt", FastSkip + "[WAIT TIME=\"10\"]" + tags + Marker +
                                   "[SYSTEM CONTROL=\"SKIPPATTERN\" NAME=\"0\"][WAIT TIME=\"100000\"]"
                                   "[LABEL LABEL=\"sub\"][SET VARIABLE=\"called\" ENTITY=\"1\"][ENDCALL]");
    EngineRun run;
    run.Run(30);

    for (const auto& error : run.errors) ADD_FAILURE() << error;
    auto wait = run.Tags(TagId::Wait);
    auto markers = run.Tags(TagId::Set);
    ASSERT_EQ(markers.size(), 2u); // the called SET, then the marker
    // Every tag from COMMENT to the marker ran in one frame: all 46 tags that
    // continue, but PASTE, which needs a cut.
    const std::uint32_t frame = run.Tags(TagId::Comment).at(0)->frame;
    EXPECT_GT(frame, wait.front()->frame);
    std::set<TagId> seen;
    bool inside = false;
    for (const auto& entry : run.trace) {
        inside = inside || entry.record.GetId() == TagId::Comment;
        if (!inside) continue;
        EXPECT_EQ(entry.frame, frame) << TagNames[static_cast<std::size_t>(entry.record.GetId())];
        seen.insert(entry.record.GetId());
        if (&entry == markers.back()) break;
    }
    EXPECT_EQ(seen.size(), 45u);
    EXPECT_EQ(seen.count(TagId::Paste), 0u);
}

TEST(EngineTags, CondZeroSkipsTheTagAndDoubleZeroRunsIt)
{
    GameFolder game;
    game.Put("data/index.txt", "[SET VARIABLE=\"a\" ENTITY=\"1\" COND=\"0\"][SET VARIABLE=\"b\" ENTITY=\"1\" COND=\"00\"]"
                               "[JUMP LABEL=\"away\" COND=\"0\"][SET VARIABLE=\"c\" ENTITY=\"1\" COND=\"\"]"
                               "[WAIT TIME=\"100000\"][LABEL LABEL=\"away\"]");
    EngineRun run;
    run.Run(5);

    auto sets = run.Tags(TagId::Set);
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_FALSE(sets[0]->ran);
    EXPECT_TRUE(sets[1]->ran);
    EXPECT_TRUE(sets[2]->ran);
    EXPECT_FALSE(run.Tags(TagId::Jump).front()->ran);
    EXPECT_EQ(run.Tags(TagId::Label).size(), 0u); // the skipped JUMP went nowhere
    kivotasuGameKit::CTextString b("{b}{c}");
    CSet::GetInstance().Expand(b);
    EXPECT_EQ(b.GetStr(), "11");
    kivotasuGameKit::CTextString a("{a}");
    EXPECT_THROW(CSet::GetInstance().Expand(a), EScript);
}

TEST(EngineTags, TitleSetsTheCaptionAndAnEmptyBodyKeepsIt)
{
    GameFolder game;
    game.Put("data/index.txt", "[TITLE BODY=\"物語\"][TITLE BODY=\"\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(5);
    EXPECT_EQ(run.Windows().State(run.Window())->captionSjis, "物語");
}

TEST(EngineTags, UnclosedTagIsReportedAndEndsTheScript)
{
    GameFolder game;
    game.Put("system/option.qsd", "[SYSTEM CONTROL=\"ERROR\" NAME=\"1\"]\n");
    game.Put("data/index.txt", "[SET VARIABLE=\"a\" ENTITY=\"1\"][WAIT TIME=\"50\"][SET VARIABLE=\"b\"");
    EngineRun run;
    run.Answer(platform::MessageBoxAnswer::Cancel); // read on
    run.Run(30);

    ASSERT_FALSE(run.errors.empty());
    EXPECT_EQ(run.errors.front(), "タグが閉じていません。");
    ASSERT_FALSE(run.Boxes().History().empty());
    EXPECT_EQ(run.Boxes().History().front().titleSjis, "スクリプトエラー");
    EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
}

TEST(EngineTags, ScriptErrorsAreRecordedWithoutABoxInModeZero)
{
    GameFolder game;
    game.Put("data/index.txt", "[SET VARIABLE=\"a\" ENTITY=\"{nothing}\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(10);

    // The expansion error of the value ends the script; the end screen then
    // reports its missing picture.
    ASSERT_FALSE(run.errors.empty());
    EXPECT_NE(run.errors.front().find("{nothing}"), std::string::npos);
    EXPECT_TRUE(run.Boxes().History().empty());
    EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
}

TEST(EngineTags, TheTagWhoseHandlerRaisedIsInTheTrace)
{
    GameFolder game;
    game.Put("data/index.txt", "[SET VARIABLE=\"a\" ENTITY=\"1\"][BACK FILE=\"nowhere.bmp\"][WAIT TIME=\"100000\"]");
    EngineRun run;
    run.Run(10);

    ASSERT_FALSE(run.errors.empty());
    const auto backs = run.Tags(TagId::Back);
    ASSERT_EQ(backs.size(), 1u);
    EXPECT_TRUE(backs[0]->ran);
    EXPECT_TRUE(backs[0]->raised);
    EXPECT_EQ(backs[0]->record.GetValue(TagAttributeKey::File).GetStr(), "nowhere.bmp");
    EXPECT_FALSE(run.Tags(TagId::Set).at(0)->raised);
    EXPECT_TRUE(run.Tags(TagId::Wait).empty()) << "the error ended the script";
}
