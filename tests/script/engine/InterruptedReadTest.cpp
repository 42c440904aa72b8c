// A read the close interrupts (of a script, a picture, a save) is a close,
// not a fault: nothing is said, and the resume save keeps the place before
// the tag that read (or the wait whose button read, or, during a load, the
// save being loaded), which loads back into a game that goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#include "script/engine/KeyCodes.h"
#include "platform/TextCodec.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/dib/PictureKit.h"
#include "tests/script/GameFolder.h"
#include "tests/script/ScriptTestKit.h"

using testkit::EngineRun;

namespace {

CQuiltorEngine& Engine() { return *CQuiltorEngine::GetInstance(); }

// The input that reaches the read, in the first run and after the resume load.
using Input = std::function<void(EngineRun&, std::uint32_t)>;
const Input Click = [](EngineRun& run, std::uint32_t frame) { run.Click(frame); };

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

// Runs the player, which says nothing on stderr and reports no script error.
void RunSilently(EngineRun& run, std::uint32_t frames)
{
    testing::internal::CaptureStderr();
    run.Run(frames);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (const std::string& error : run.errors) ADD_FAILURE() << error;
}

// The ways a fresh player goes from the resume save, given the input again.
std::vector<std::string> WaysOnResume(const Input& input)
{
    EngineRun resumed;
    resumed.At(2, [](EngineRun&) { Engine().LoadResume(); });
    input(resumed, 60);
    RunSilently(resumed, 100);
    return Ways(resumed);
}

const std::string Stay = "[WAIT TIME=\"100000\"][END]";
const std::string Arrive = "[SET VARIABLE=\"way\" ENTITY=\"arrived\"]" + Stay;

} // namespace

TEST(InterruptedRead, AJumpCallReturnOrChoiceWhoseScriptReadIsInterruptedResumesAtItsTag)
{
    struct Case {
        const char *what, *interrupted; // the file whose reads are interrupted, from frame from
        std::uint32_t from;
        std::string index, other; // data/index.txt, data/other.txt
        Input input;
        std::vector<std::string> ways;
        bool slow = false; // read slowly, and the close box clicked two chunks into the read
    };
    const std::string back = "[SET VARIABLE=\"way\" ENTITY=\"back\"]" + Stay;
    const std::string jump = "[TEXT BODY=\"前\"][C][JUMP FILE=\"data/other.txt\"][SET VARIABLE=\"way\" ENTITY=\"past\"]";
    const Case cases[] = {
        {"JUMP", "data/other.txt", 0, jump, Arrive, Click, {"arrived"}},
        {"CALL", "data/other.txt", 0, "[TEXT BODY=\"前\"][C][CALL FILE=\"data/other.txt\"]" + back,
         "[SET VARIABLE=\"way\" ENTITY=\"arrived\"][ENDCALL]", Click, {"arrived", "back"}},
        {"ENDCALL", "data/index.txt", 3, "[CALL FILE=\"data/other.txt\"]" + back, "[TEXT BODY=\"中\"][C][ENDCALL]", Click, {"back"}},
        {"a choice's jump", "data/other.txt", 0,
         "[SELECT][WRITE BODY=\"北へ行く\" FILE=\"data/other.txt\"][WRITE BODY=\"南へ行く\" LABEL=\"south\"][ENDSELECT]"
         "[LABEL LABEL=\"south\"][SET VARIABLE=\"way\" ENTITY=\"south\"]" + Stay, Arrive,
         [](EngineRun& run, std::uint32_t frame) { run.Key(frame, KeyCode::Down); run.Key(frame + 3, KeyCode::Enter); }, {"arrived"}},
        {"a picture", "data/pic.bmp", 0, "[TEXT BODY=\"前\"][C][BACK FILE=\"data/pic.bmp\"]" + Arrive, "", Click, {"arrived"}},
        {"a function button's jump at a click wait", "data/other.txt", 0,
         "[DEFAULTWINDOW CONTROL=\"TRH\"][WINDOW NAME=\"w\"][FADEWINDOW NAME=\"w\" X=\"0\" Y=\"280\" WIDTH=\"640\" HEIGHT=\"200\"]"
         "[BEGINBUTTON NAME=\"go\" X=\"500\" Y=\"440\" WIDTH=\"40\" HEIGHT=\"20\" FILE=\"data/other.txt\"][ENDBUTTON]"
         "前[C][SET VARIABLE=\"way\" ENTITY=\"past\"]" + Stay, Arrive,
         [](EngineRun& run, std::uint32_t frame) { run.Click(frame, 510, 450); }, {"arrived"}},
        {"a JUMP to a long script on a slow disk", "data/other.txt", 0, jump, Arrive + std::string(std::size_t{24} << 20, ' '),
         Click, {"arrived"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        game.Put("data/index.txt", c.index);
        game.Put("data/other.txt", c.other);
        dibkit::WritePicture(game, "data/pic.bmp", 8, 8, dibkit::Gradient);
        game.Put("system/option.qsd", testkit::InstantOptions);
        std::uint32_t chunks = 0, closedAt = 0; // of the slow read
        {
            EngineRun closed;
            closed.At(c.from, [&](EngineRun& run) {
                if (!c.slow) return game.InterruptReads(c.interrupted);
                game.OnChunkRead(c.interrupted, [&](std::size_t) {
                    run.Clock().Advance(300); // a slow disk's time for a chunk
                    if (++chunks == 2) closedAt = run.Clock().Now(), run.Windows().Feed(run.Window(), platform::WM_CLOSE);
                    return platform::ReadResult::Done;
                });
            });
            c.input(closed, 5);
            RunSilently(closed, 40);
            EXPECT_TRUE(Ways(closed).empty()) << "a tag after the read ran";
            // Not a chunk more: the close ends the player at once, as a signal does.
            EXPECT_EQ(chunks, c.slow ? 2u : 0u);
            EXPECT_LE(c.slow ? closed.Clock().Now() - closedAt : 0u, 3000u) << "milliseconds from the close to the end";
        }
        EXPECT_TRUE(game.Exists("Save/index.a")) << "no resume save";
        game.InterruptReads(c.interrupted, false);
        EXPECT_EQ(WaysOnResume(c.input), c.ways);
    }
}

// Nothing is said of a start script, a global variables' file or an end
// picture not read whole, and none is written over: the end screen has no
// place to keep (the resume save of an earlier run stays), and the globals
// are sound.
TEST(InterruptedRead, AStartScriptGlobalsFileOrEndPictureWhoseReadIsInterruptedIsKeptWithoutAWord)
{
    const std::string waiting = "[TEXT BODY=\"始め\"][C][WAIT TIME=\"100000\"]";
    const std::vector<std::string> pictures = {"data/Element/Quiltor01.jpg", "data/Element/Quiltor02.jpg", "data/Element/Quiltor03.jpg"};
    for (const auto& [interrupted, index, kept, bytes] :
         {std::tuple{std::vector<std::string>{"data/index.txt"}, waiting, "Save/index.a", "earlier"},
          std::tuple{std::vector<std::string>{"Save/index.g"}, waiting, "Save/index.g", "[SET VARIABLE=\"回数\" ENTITY=\"3\"]"},
          std::tuple{pictures, std::string("[SET VARIABLE=\"QUILTOR\" ENTITY=\"{BASE}\"][END]"), "Save/index.a", "earlier"}}) {
        SCOPED_TRACE(interrupted.front());
        GameFolder game;
        game.Put("data/index.txt", index);
        for (const std::string& picture : pictures) game.Put(picture, "a picture");
        game.Put(kept, bytes);
        for (const std::string& file : interrupted) game.InterruptReads(file);
        EngineRun run;
        RunSilently(run, 20);
        EXPECT_TRUE(game.Exists("Save/index.a"));
        EXPECT_EQ(game.Read(kept), bytes);
    }
}

// The save being loaded, from a wait or from the end screen, becomes the
// resume save, the very file, however much of it was read: a copy where the
// file system refuses links, and no temporary left where the resume save is
// its link already. An interrupted load of the resume save itself leaves it be.
// On a slow disk the close box comes two chunks into the load: the copy reads
// only what the load did not, after the global variables and the options are
// written, from the open the load read through (a save replaced meanwhile is
// copied as it was, where links are made too: its name has moved on), and
// ends the player within three seconds; a copy that cannot be made in time
// keeps the resume save before, which the line names.
TEST(InterruptedRead, AnInterruptedLoadKeepsTheSaveBeingLoadedAsTheResumeSave)
{
    GameFolder game;
    game.Put("data/index.txt", "[TEXT BODY=\"一つ目\"][C][TEXT BODY=\"二つ目\"][C][SET VARIABLE=\"way\" ENTITY=\"on\"][C][END]");
    {
        game.Put("system/option.qsd", testkit::InstantOptions);
        EngineRun saving;
        saving.Click(5);
        saving.At(15, [](EngineRun&) { Engine().Files().QuickSave(); });
        saving.Run(17);
    }
    const std::string quick = game.Read("Save/index.q");
    ASSERT_NE(quick, "");
    struct Case {
        const char* loaded;
        EngineState at; // the state the load leaves the player in: the wait before it, or the end screen
        bool linked = false; // the resume save is a link of the quick save already
        std::optional<std::errc> refused = {};
        std::size_t mib = 0; // the save padded to these MiB, read on a slow disk
        bool copied = true; // in time: else the resume save before stays
    };
    const auto refused = std::errc::operation_not_permitted;
    const Case cases[] = {
        {"Save/index.q", EngineState::ClickWait},
        {"Save/index.a", EngineState::ClickWait},
        {"Save/index.q", EngineState::ScriptEnd},
        {"Save/index.q", EngineState::ClickWait, true},
        {"Save/index.q", EngineState::ClickWait, false, refused},
        {"Save/index.q", EngineState::ScriptEnd, false, std::errc::cross_device_link},
        {"Save/index.q", EngineState::ClickWait, false, {}, 4},
        {"Save/index.q", EngineState::ClickWait, false, refused, 6},
        {"Save/index.q", EngineState::ClickWait, false, refused, 20, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.loaded) + (c.at == EngineState::ScriptEnd ? " on the end screen" : " at a wait") +
                     (c.linked ? ", linked" : "") + (c.refused ? ", links refused" : "") + (c.mib ? ", MiB " + std::to_string(c.mib) : ""));
        const bool resume = std::string_view(c.loaded) == "Save/index.a";
        // Bytes past the resume tag, which no load reads.
        const std::string save = quick + std::string(c.mib ? (c.mib << 20) - quick.size() : 0, ' ');
        for (const char* file : {"Save/index.a", "Save/index.g"}) std::filesystem::remove(game.Host(file));
        game.Put("Save/index.q", save);
        game.Put("system/option.qsd", testkit::InstantOptions);
        if (c.linked) std::filesystem::create_hard_link(game.Host("Save/index.q"), game.Host("Save/index.a"));
        else game.Put("Save/index.a", resume ? save : "earlier");
        game.RefuseLinks(c.refused);
        std::uint64_t bytes = 0;
        std::uint32_t chunks = 0, closedAt = 0;
        bool writtenFirst = true; // the options and the globals, before the copy's first chunk
        std::string said;
        {
            EngineRun closed;
            if (c.at == EngineState::ScriptEnd) for (const std::uint32_t frame : {5u, 10u, 15u}) closed.Click(frame);
            closed.At(24, [&](EngineRun& run) {
                if (!c.mib) return game.InterruptReads(c.loaded);
                game.OnChunkRead(c.loaded, [&](std::size_t n) {
                    run.Clock().Advance(300); // a slow disk's time for a chunk
                    bytes += n;
                    if (++chunks == 2) {
                        closedAt = run.Clock().Now(), run.Windows().Feed(run.Window(), platform::WM_CLOSE);
                        // Replaced meanwhile: the copy is of the save as its load opened it.
                        game.Put("Save/index.q.new", std::string(save.size(), 'x'));
                        std::filesystem::rename(game.Host("Save/index.q.new"), game.Host("Save/index.q"));
                    }
                    if (chunks == 3) writtenFirst = game.Read("system/option.qsd").starts_with("[SYSTEM CONTROL=\"DISPLAYMODE\"") && game.Exists("Save/index.g");
                    return platform::ReadResult::Done;
                });
            });
            closed.At(25, [resume](EngineRun&) { resume ? Engine().LoadResume() : Engine().LoadQuick(); });
            // Interrupted, the load is over: the close at the run's end reads the save as it can.
            if (!c.mib) closed.At(26, [&](EngineRun&) { game.InterruptReads(c.loaded, false); });
            testing::internal::CaptureStderr();
            closed.Run(30);
            said = testing::internal::GetCapturedStderr();
            EXPECT_TRUE(closed.errors.empty());
            EXPECT_EQ(closed.frames.back().state, c.at);
            EXPECT_LE(c.mib ? closed.Clock().Now() - closedAt : 0u, 3000u) << "milliseconds from the close to the end";
        }
        EXPECT_TRUE(game.Read("Save/index.a") == (c.copied ? save : "earlier")) << "byte for byte";
        EXPECT_EQ(said, c.copied ? "" : platform::Cp932ToUtf8("quiltor: セーブデータを保存できませんでした。 ") + game.Host("Save/index.a").string() +
                                            platform::Cp932ToUtf8(": 読み込み中の index.q を閉じるまでに写しきれません。再開では、これまでの index.a を開きます。\n"));
        EXPECT_TRUE(writtenFirst);
        // The copy read what the load did not; or, out of time, a chunk.
        EXPECT_EQ(bytes, c.copied ? save.size() * (c.mib > 0) : std::uint64_t{3} << 20);
        for (const auto& entry : std::filesystem::directory_iterator(game.Host("Save")))
            EXPECT_FALSE(entry.path().string().ends_with(".tmp")) << entry.path();
        // A later quick save replaces its file: the resume save stays.
        std::filesystem::remove(game.Host("Save/index.q"));
        game.OnChunkRead(c.loaded, {});
        if (c.copied) {
            EXPECT_EQ(WaysOnResume(Click), std::vector<std::string>{"on"});
        }
    }
}
