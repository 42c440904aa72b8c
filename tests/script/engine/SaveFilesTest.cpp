// The player's files through the real engine: what every way play ends
// writes, global variables across loads and restarts, saves that cannot be
// written or would not read back, and stored files that are damaged, too
// large or of an older form. The files' own rows, without an engine, are in
// PlayersFilesTest.cpp.
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <functional>
#include <optional>
#include <sstream>

#include "frame/AppManager.h"
#include "frame/file/File.h"
#include "script/dib/DIB32Ex.h"
#include "script/lang/TagLexer.h"
#include "script/lang/TagSalvage.h"
#include "platform/Dialogs.h"
#include "platform/MemoryFileSystem.h"
#include "platform/TerminationSignals.h"
#include "platform/TextCodec.h"
#include "script/engine/InputState.h"
#include "script/engine/KeyCodes.h"
#include "script/engine/MenuCommands.h"
#include "tests/kit/EngineHarness.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/script/GameFolder.h"

using testkit::EngineRun;

namespace {

CQuiltorEngine& Engine() { return *CQuiltorEngine::GetInstance(); }

// A game in memory: the player is Z:\quiltor, unless the file system puts it
// elsewhere, its start script data\index.txt beside it.
class MemoryGame {
public:
    explicit MemoryGame(std::unique_ptr<platform::MemoryFileSystem> owned = std::make_unique<platform::MemoryFileSystem>())
        : m_savedDir(kivotasuGameKit::CFile::GetCurrentDir()), files(*owned),
          folder(files.ExecutablePath().substr(0, files.ExecutablePath().rfind('\\') + 1))
    {
        platform::InstallFileSystem(std::move(owned));
        files.Put(folder + "system\\option.qsd", testkit::InstantOptions);
    }
    ~MemoryGame()
    {
        platform::InstallFileSystem(nullptr);
        kivotasuGameKit::CFile::SetCurrentDir(m_savedDir);
    }

    // Runs the script for the frames, doing each action at its frame.
    std::unique_ptr<EngineRun> Play(const std::string& script, std::uint32_t frames,
                                    std::vector<std::pair<std::uint32_t, std::function<void()>>> actions = {})
    {
        files.Put(folder + "data\\index.txt", script);
        auto run = std::make_unique<EngineRun>();
        for (auto& [frame, action] : actions) run->At(frame, [action](EngineRun&) { action(); });
        run->Run(frames);
        return run;
    }

private:
    std::string m_savedDir;

public:
    platform::MemoryFileSystem& files;
    const std::string folder;
};

const std::string Hold = "[WAIT TIME=\"100000\"]";

std::string SetTo(const std::string& name, const std::string& value)
{
    return "[SET VARIABLE=\"" + name + "\" ENTITY=\"" + value + "\"]";
}

std::string value(const char* name)
{
    kivotasuGameKit::CTextString text(std::string("{") + name + "}");
    CSet::GetInstance().Expand(text);
    return text.GetStr();
}

// The SET tags of the variable that ran (a load runs the save's own SET lines too).
std::size_t SetsOf(const EngineRun& run, const char* name)
{
    std::size_t n = 0;
    for (const auto* entry : run.Tags(TagId::Set)) n += entry->ran && entry->record.GetValue(TagAttributeKey::Variable).GetStr() == name;
    return n;
}

std::size_t Times(const std::string& said, const std::string& part)
{
    std::size_t times = 0;
    for (std::size_t at = said.find(part); at != std::string::npos; at = said.find(part, at + 1)) ++times;
    return times;
}

// The lines of stderr that say it, not those that count its repeats.
std::size_t LinesSaying(const std::string& said, const std::string& part)
{
    std::istringstream lines(said);
    std::size_t n = 0;
    for (std::string line; std::getline(lines, line);) n += line.find(part) != std::string::npos && !line.ends_with(" times)");
    return n;
}

// A green 64 x 48 BMP, its folder in place.
void PutPicture(const std::string& name)
{
    kivotasuGameKit::Draw::CFastPlane picture;
    picture.CreateMemorySurface(64, 48, kivotasuGameKit::ARGB8888);
    picture.SetFillColor(0xFF20C040);
    picture.Clear();
    ASSERT_EQ(picture.GetSurfaceInfo()->SaveBitmap(name.c_str(), nullptr), 0);
}

// As the window's close box asks it.
void AskClose() { kivotasuGameKit::CAppManager::GetInstance()->GetMyWindowApp()->PostClose(); }

bool IsSet(const char* name)
{
    try {
        value(name);
    } catch (const EScript&) {
        return false;
    }
    return true;
}

} // namespace

// Loading writes the globals, resets and reads them back: a global keeps its
// newest value, a local one not in the save is gone; a restart reads them too.
TEST(SaveFiles, GlobalVariablesSurviveLoadsAndRestarts)
{
    MemoryGame game;
    game.files.Put("Z:\\Save\\index.g", SetTo("seen", "1"));
    std::string seen, later;
    bool laterKept = true;
    game.Play(SetTo("seen", "2") + SetTo("local", "a") + "[C]" + SetTo("seen", "3") + SetTo("later", "b") + "[C]" + Hold, 200,
              {{5, [] { Engine().Files().SaveSlot(1); }},
               {6, [] { CInputState::GetInstance().Event = InputEvent::Decide; }},
               {20, [] { Engine().LoadSlot(1); }},
               {150, [&] {
                    seen = value("seen");
                    laterKept = IsSet("later");
                }}});
    EXPECT_EQ(seen, "3");
    EXPECT_FALSE(laterKept);
    EXPECT_NE(game.files.Get("Z:\\Save\\index.g").find(SetTo("seen", "3")), std::string::npos);
    EXPECT_EQ(game.files.Get("Z:\\Save\\index.001").find("seen"), std::string::npos) << "globals stay out of saves";

    game.Play(Hold, 3, {{1, [&] { seen = value("seen"); }}});
    EXPECT_EQ(seen, "3") << "read at the start of a run";
}

// Once the story has ended (END, or an error that ended it), the resume save
// of the play before still plays on; a save taken from the menu on the end
// screen loads back onto it without a word, and a close there keeps that
// resume save.
TEST(SaveFiles, ASaveTakenOnTheEndScreenLoadsBackOntoItAndTheResumeSaveBeforeStays)
{
    const std::pair<const char*, const char*> ends[] = {{"END", "[END]\n"}, {"an error", "[BACK FILE=\"{missing}\"]\n\n"}};
    for (const auto& [what, end] : ends) {
        SCOPED_TRACE(what);
        MemoryGame game;
        game.Play("[C]" + SetTo("after", "1") + "[C]" + end, 10);
        const std::string resume = game.files.Get("Z:\\Save\\index.a");
        ASSERT_FALSE(resume.empty()) << "the play before stopped at its first wait";

        // To the end, saved there, the resume save loaded and played on (the
        // load's wipe takes a second).
        EngineRun ended;
        for (const std::uint32_t frame : {5u, 10u, 100u, 105u}) ended.Click(frame);
        ended.Command(20, MenuCommand::QuickSave), ended.Command(21, MenuCommand::SaveSlot + 1), ended.Command(22, MenuCommand::LoadResume);
        ended.Run(115);
        ASSERT_EQ(ended.frames.at(21).state, EngineState::ScriptEnd);
        EXPECT_EQ(SetsOf(ended, "after"), 2u) << "before the end, and from the kept resume save";
        ASSERT_EQ(ended.frames.back().state, EngineState::ScriptEnd);

        for (const std::uint32_t load : {MenuCommand::QuickLoad, MenuCommand::LoadSlot + 1}) {
            SCOPED_TRACE(load);
            EngineRun loaded;
            loaded.Command(2, load);
            testing::internal::CaptureStderr();
            loaded.Run(60);
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_EQ(loaded.frames.back().state, EngineState::ScriptEnd);
            EXPECT_EQ(said.find("script error"), std::string::npos) << said;
            EXPECT_TRUE(game.files.Get("Z:\\Save\\index.a") == resume) << "kept at the close";
        }
    }
}

namespace {

// Where play stands when a way of ending meets it.
enum class Place { Wait, Choice, End, ErrorEnd, ErrorBoxEnd, LastByte, Loading };

// A click wait, a choice and four ends: END, which counts the times it is
// reached, an error under ERROR 0 and one under ERROR 1, each named in a
// global, and a wait on the script's last byte, without END.
const std::string Story = "[TEXT BODY=\"はじめ\"][C][SELECT][WRITE BODY=\"結末\" LABEL=\"end\"][WRITE BODY=\"誤り\" LABEL=\"error\"]"
                          "[WRITE BODY=\"箱\" LABEL=\"box\"][WRITE BODY=\"最後\" LABEL=\"last\"][ENDSELECT][LABEL LABEL=\"end\"]" +
                          SetTo("見た結末", "A") + SetTo("回数", "{回数},1,+") + "[END][LABEL LABEL=\"box\"][SYSTEM CONTROL=\"ERROR\" NAME=\"1\"]"
                          "[LABEL LABEL=\"error\"]" + SetTo("見た結末", "B") + "[BACK FILE=\"{missing}\"]"
                          "[LABEL LABEL=\"last\"][TEXT BODY=\"おわり\"][C]";

// The input that takes play to the place; the frame from which it stands there.
std::uint32_t Reach(EngineRun& run, Place place)
{
    if (place == Place::Loading) run.Command(5, MenuCommand::QuickLoad);
    if (place == Place::Wait || place == Place::Loading) return 8;
    run.Click(5);
    if (place == Place::Choice) return 15;
    // The keys once the choice is up, a few frames after the click.
    const int downs = int(place) - int(Place::End) + 1;
    for (int item = 0; item < downs; ++item) run.Key(15 + 3 * item, KeyCode::Down);
    const std::uint32_t chosen = 15 + 3 * downs;
    run.Key(chosen, KeyCode::Enter);
    run.At(chosen + 5, [](EngineRun& r) { r.Clock().Advance(3000); }); // past the end screen's fade-in
    return chosen + 10;
}

} // namespace

// Every way play ends or starts over, at the places it can stand: the resume
// save is the place, mid-story only (during a load, the save being loaded;
// none once the story has ended, at a wait on the last byte of a script
// without END too, nor at a return to the title); the global variables and
// the options are written at each, whatever the place. A way that does not
// close is seen before the close that follows it. The scene-skip switch, a
// global, is set just before each way that is input.
TEST(SaveFiles, EveryWayPlayEndsWritesTheResumeSaveOfItsPlaceAndThePlayersFiles)
{
    GameFolder game;
    game.Put("data/index.txt", Story);
    const std::string start = game.Name("data\\index.txt");
    using Way = std::function<void(EngineRun&, std::uint32_t)>;
    // The command, what is up when it comes readied first: the headless dialogs' and boxes' answers.
    const auto command = [](std::uint32_t id, std::function<void(EngineRun&)> ready = [](EngineRun&) {}) {
        return Way([=](EngineRun& r, std::uint32_t at) { r.At(at, ready), r.Command(at, id); });
    };
    const auto closedWhileUp = [](EngineRun& r) { r.Dialogs().CloseWhileUp(r.Window()); };
    // Alt+F4 in the game reaches the engine as the close box's message (the
    // window system's translation has its own test).
    const Way closeBox = [](EngineRun& r, std::uint32_t at) { r.Close(at); };
    struct Row {
        const char* what;
        Place place;
        Way way; // none: the place itself ends the story
        const char* resume; // what the resume save holds: the play before's, a wait's, a choice's, the loaded save
        bool closes = true;
        int signal = 0, ends = 1; // raised in a child instead of the way (its request cannot be taken back); ENDs reached
    };
    const char *earlier = "earlier", *atWait = "\n[C FILE=", *atChoice = "[ENDSELECT FILE=", *loaded = "読み込み中のセーブデータ";
    const Row rows[] = {
        {"the close box", Place::Wait, closeBox, atWait}, {"the close box", Place::Choice, closeBox, atChoice},
        {"the close box", Place::End, closeBox, earlier}, {"the close box", Place::LastByte, closeBox, earlier},
        {"the close box", Place::Loading, closeBox, loaded},
        {"Alt+F4 in the menu", Place::End, [&](EngineRun& r, std::uint32_t at) { r.At(at, closedWhileUp), r.RightClick(at); }, earlier},
        {"Alt+F4 in a dialog", Place::Choice, command(MenuCommand::Settings, closedWhileUp), atChoice},
        // The box of a quick save that a folder keeps from being written.
        {"Alt+F4 in a box", Place::Wait, command(MenuCommand::QuickSave, [&](EngineRun& r) {
             std::filesystem::create_directories(game.Host("Save/index.q")), r.Boxes().CloseWhileUp(r.Window());
         }), atWait},
        {"SIGTERM", Place::End, nullptr, earlier, true, SIGTERM}, {"SIGINT", Place::Wait, nullptr, atWait, true, SIGINT},
        {"SIGTERM", Place::Loading, nullptr, loaded, true, SIGTERM},
        // A closed terminal, a dropped remote session.
        {"SIGHUP", Place::Wait, nullptr, atWait, true, SIGHUP}, {"SIGHUP", Place::End, nullptr, earlier, true, SIGHUP},
        {"SIGHUP", Place::Loading, nullptr, loaded, true, SIGHUP},
        {"the exit question", Place::Choice, command(MenuCommand::Exit, [](EngineRun& r) { r.Dialogs().PushAnswer(1); }), atChoice},
        {"a return to the title", Place::Wait, command(MenuCommand::ReturnToTitle), earlier, false},
        {"a return to the title", Place::End, command(MenuCommand::ReturnToTitle), earlier, false},
        {"a return to the title, closed on the second end screen", Place::End, [](EngineRun& r, std::uint32_t at) {
             r.Command(at, MenuCommand::ReturnToTitle), r.Click(at + 40), r.Key(at + 45, KeyCode::Down), r.Key(at + 48, KeyCode::Enter);
             r.At(at + 52, [](EngineRun& run) { run.CloseAtScriptEnd(); });
         }, earlier, true, 0, 2},
        {"a dropped script", Place::End, [&](EngineRun& r, std::uint32_t at) {
             r.At(at, [&](EngineRun& run) { run.Windows().DropFile(run.Window(), start); });
         }, earlier, false},
        {"a reopened script", Place::Wait, command(MenuCommand::OpenScript, [&](EngineRun& r) { r.Dialogs().PushFile(start); }), atWait, false},
        {"a script of the history", Place::Choice, command(MenuCommand::History), atChoice, false},
        {"END", Place::End, nullptr, earlier, false}, {"an error end under ERROR 0", Place::ErrorEnd, nullptr, earlier, false},
        {"an error end under ERROR 1", Place::ErrorBoxEnd, nullptr, earlier, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + " at place " + std::to_string(int(row.place)));
        std::filesystem::remove_all(game.Host("Save"));
        game.Put("system/option.qsd", testkit::InstantOptions);
        game.Put("Save/index.g", SetTo("見た結末", "なし") + SetTo("回数", "0"));
        game.Put("Save/index.a", earlier);
        if (row.place == Place::Loading) game.Put("Save/index.q", loaded);
        game.InterruptReads("Save/index.q", row.place == Place::Loading);
        const Way way = row.signal ? [&](EngineRun& r, std::uint32_t at) { r.At(at, [&](EngineRun&) { std::raise(row.signal); }); } : row.way;
        std::optional<std::array<std::string, 3>> seen;
        const auto files = [&] { return std::array{game.Read("Save/index.a"), game.Read("Save/index.g"), game.Read("system/option.qsd")}; };
        // True when the way closed the player, not the run's own close.
        const auto play = [&] {
            EngineRun run;
            const std::uint32_t at = Reach(run, row.place);
            const std::uint32_t last = way ? at + 100 : at;
            if (way) run.Command(at, MenuCommand::SceneSkip), way(run, at + 2);
            if (!row.closes) run.At(way ? at + 45 : at, [&](EngineRun&) { seen = files(); });
            run.Run(last + 1);
            return run.frames.size() <= last;
        };
        // The signal as a terminal leaves it, whatever started the test (nohup ignores SIGHUP).
        if (row.signal) EXPECT_EXIT((std::signal(row.signal, SIG_DFL), platform::CloseOnTerminationSignals(), std::exit(play() ? 0 : 1)),
                                    testing::ExitedWithCode(0), "");
        else EXPECT_EQ(play(), row.closes) << "closed by the way";
        const auto [resume, globals, options] = seen.value_or(files());
        EXPECT_NE(resume.find(row.resume), std::string::npos) << resume;
        const char* ending = row.place == Place::End ? "A" : row.place == Place::ErrorEnd || row.place == Place::ErrorBoxEnd ? "B" : "なし";
        for (const std::string& global : {SetTo("回数", std::to_string(row.place == Place::End ? row.ends : 0)), SetTo("見た結末", ending)})
            EXPECT_NE(globals.find(global), std::string::npos) << global << " in " << globals;
        EXPECT_EQ(globals.find(SetTo("スキップ機能", "1")) != std::string::npos, way != nullptr) << globals;
        EXPECT_TRUE(options.starts_with("[SYSTEM CONTROL=\"DISPLAYMODE\"")) << options;
    }
}

// A full disk or a read-only folder costs the file, never the game: the old
// file stays byte for byte and the wait goes on. What was not saved is said
// once, by its host path and the system's reason, on stderr and, during play
// but for a choice's auto-save, in a box whatever the ERROR mode; at the close
// nothing waits for the user (a retry there that fails alike is counted by
// stderr's fold, not said again). The ring of auto-saves does not move.
// A failed globals write during a load keeps the global just set. A save or
// globals file a byte over what its reader takes is refused so, on any disk.
TEST(SaveFiles, AFileThatCannotBeWrittenIsSaidOnceAndTheOldOneKept)
{
    struct Case {
        const char *what, *file;
        std::string old; // empty: none before
        std::function<void()> act; // after the fault; none: only the close writes it
        bool box;
        std::size_t big = 0; // the fault, not the disk: a variable of these bytes (a global for the globals) set first
    };
    using kivotasuGameKit::FileKind;
    using kivotasuGameKit::MostBytes;
    const std::string options = std::string(testkit::InstantOptions) + "[SYSTEM CONTROL=\"ERROR\" NAME=\"1\"]";
    const auto load = [] { CSet::GetInstance().Set("g", "1", true), Engine().LoadSlot(9); };
    // The globals file but for the big value: one byte over, the writer's bound is the reader's, not one near it.
    const std::size_t rest = SetTo("big", "").size() + SetTo("g", "1").size() + 2;
    const Case cases[] = {
        {"new slot", "Save/index.003", "", [] { Engine().Files().SaveSlot(3); }, true},
        {"old slot", "Save/index.004", "old", [] { Engine().Files().SaveSlot(4); }, true},
        {"quick save", "Save/index.q", "old", [] { Engine().Files().QuickSave(); }, true},
        {"auto-save", "Save/index.s00", "old", [] { Engine().Files().AutoSave(); }, false},
        {"resume save", "Save/index.a", "old", nullptr, false},
        {"options", "system/option.qsd", options, nullptr, false},
        {"globals", "Save/index.g", SetTo("g", "0") + "\n", load, true},
        {"a quick save over the bound of a load", "Save/index.q", "old", [] { Engine().Files().QuickSave(); }, true, MostBytes(FileKind::Save)},
        {"globals over the bound of a text", "Save/index.g", SetTo("g", "0") + "\n", load, true, MostBytes(FileKind::Text) + 1 - rest},
    };
    for (const bool readOnly : {false, true}) {
        for (const Case& c : cases) {
            if (c.big && readOnly) continue;
            SCOPED_TRACE(std::string(c.what) + (c.big ? "" : readOnly ? ", read-only" : ", no space"));
            const bool globals = c.file == std::string("Save/index.g");
            MemoryGame game;
            const std::string file = std::string("Z:\\") + c.file;
            game.files.Put("Z:\\system\\option.qsd", options);
            if (!c.old.empty()) game.files.Put(file, c.old);
            testkit::ScopedErrorLogRecorder log;
            std::string global;
            testing::internal::CaptureStderr();
            // The globals case loads slot 9 and reads on at its second click;
            // the second wait leaves the end unread, so the close writes the resume save.
            auto run = game.Play("[C]" + SetTo("after", "1") + "[C]" + Hold + Hold, 60, {
                {2, [&] { Engine().Files().SaveSlot(9); }},
                {3, [&] {
                     if (c.big) CSet::GetInstance().Set("big", std::string(c.big, 'x'), globals);
                     else if (readOnly) game.files.SetReadOnly(true);
                     else game.files.SetCapacity(0);
                     if (c.act) c.act();
                 }},
                {6, [] { CInputState::GetInstance().Event = InputEvent::Decide; }},
                {45, [] { CInputState::GetInstance().Event = InputEvent::Decide; }},
                {50, [&] { global = IsSet("g") ? value("g") : ""; }}});
            const std::string said = testing::internal::GetCapturedStderr();
            const std::string path = std::string("/") + c.file;
            if (c.old.empty()) EXPECT_FALSE(game.files.Exists(file));
            else EXPECT_TRUE(game.files.Get(file) == c.old) << "byte for byte";
            EXPECT_EQ(LinesSaying(said, path), 1u) << said;
            const auto boxes = run->Boxes().History();
            ASSERT_EQ(boxes.size(), c.box ? 1u : 0u) << "none at the close";
            if (c.box) {
                EXPECT_NE(boxes[0].textSjis.find(path), std::string::npos) << boxes[0].textSjis;
                EXPECT_NE(boxes[0].textSjis.find(c.big ? "上限" : readOnly ? "読み取り専用" : "空き領域"), std::string::npos);
            }
            EXPECT_TRUE(run->errors.empty()) << "no script error: " << run->errors.front();
            EXPECT_EQ(SetsOf(*run, "after"), 1u) << "the click after the failure reads on";
            EXPECT_TRUE(!globals || global == "1") << "the global kept in memory: " << global;
        }
    }
}

namespace {

// The game folder's files, noting at each write of the options whether the
// resume save was in place.
class OptionsAfterResume : public platform::HostFileSystem {
public:
    explicit OptionsAfterResume(const GameFolder& game) : m_game(game) {}
    std::string ExecutablePath() override { return m_game.Name("quiltor"); }
    using HostFileSystem::CreateWrite;
    std::unique_ptr<platform::IWriteFile> CreateWrite(std::string_view name, std::error_code& why) override
    {
        if (name.ends_with("option.qsd")) resumeFirst.push_back(m_game.Exists("Save/index.a"));
        return HostFileSystem::CreateWrite(name, why);
    }

    std::vector<bool> resumeFirst;

private:
    const GameFolder& m_game;
};

} // namespace

// Options that cannot be written cost the options only: a run stopped in a
// click wait still leaves a resume save that loads back into that wait. A
// game folder without system/ gets it, as it gets Save/; a folder in the
// options file's place is left, unwritten. The reader's place is written
// first, so a kill during a slow options write cannot lose it.
TEST(SaveFiles, TheResumeSaveIsMadeWhateverBecomesOfTheOptions)
{
    struct Folder {
        const char* what;
        std::function<void(GameFolder&)> make;
        bool optionsWritten;
    };
    const Folder folders[] = {
        {"without system/", [](GameFolder& game) { std::filesystem::remove_all(game.Host("system")); }, true},
        {"option.qsd a folder", [](GameFolder& game) { std::filesystem::create_directories(game.Host("system/option.qsd")); }, false},
    };
    for (const Folder& folder : folders) {
        SCOPED_TRACE(folder.what);
        GameFolder game;
        game.Put("data/index.txt", std::string(testkit::InstantOptions) + "[DEFAULTTEXT X=\"40\" Y=\"360\" WIDTH=\"560\" HEIGHT=\"100\"]"
                                   "[TEXT BODY=\"止める場面です\"][C]" + SetTo("after", "1") + Hold);
        folder.make(game);
        testkit::ScopedErrorLogRecorder log;
        auto noting = std::make_unique<OptionsAfterResume>(game);
        const std::vector<bool>& resumeFirst = noting->resumeFirst;
        platform::InstallFileSystem(std::move(noting));
        {
            EngineRun stopped;
            stopped.Run(20);
            ASSERT_EQ(stopped.frames.back().state, EngineState::ClickWait);
            EXPECT_TRUE(stopped.errors.empty() && stopped.Boxes().History().empty()) << "said on stderr alone at the close";
        }
        EXPECT_EQ(resumeFirst, folder.optionsWritten ? std::vector<bool>{true} : std::vector<bool>{})
            << "the close's one options write, after the resume save";
        EXPECT_EQ(std::filesystem::is_regular_file(game.Host("system/option.qsd")) &&
                      game.Read("system/option.qsd").starts_with("[SYSTEM"),
                  folder.optionsWritten);
        EXPECT_EQ(log->Contains("CPlayersFiles::SaveOptions"), !folder.optionsWritten);

        EngineRun resumed;
        resumed.At(2, [](EngineRun&) { Engine().LoadResume(); });
        resumed.Click(100);
        resumed.Run(110);
        EXPECT_EQ(resumed.frames.at(98).state, EngineState::ClickWait);
        EXPECT_EQ(SetsOf(resumed, "after"), 1u);
    }
}

// Every save and load used to add an empty back-log line (the reset's and the
// closing indent tag's): the lines and the indent come back as they were.
TEST(SaveFiles, LoadingGivesTheBackLogBackLineForLine)
{
    MemoryGame game;
    std::vector<std::deque<kivotasuGameKit::CTextString>> logs;
    std::vector<std::int32_t> indents;
    const auto keep = [&] {
        logs.push_back(Engine().GetLog().GetLines());
        indents.push_back(Engine().GetLog().GetIndentCount());
    };
    game.Play("[DEFAULTTEXT X=\"40\" Y=\"360\" WIDTH=\"560\" HEIGHT=\"100\"]「ひとつめの台詞[TL]ふたつめ[C]" + Hold, 140,
              {{5, keep}, {6, [] { Engine().Files().QuickSave(); }}, {8, [] { Engine().LoadQuick(); }}, {60, keep},
               {61, [] { Engine().Files().QuickSave(); }}, {63, [] { Engine().LoadQuick(); }}, {120, keep}});
    ASSERT_EQ(logs.size(), 3u);
    EXPECT_GE(logs[0].size(), 2u);
    EXPECT_NE(indents[0], 0) << "the open bracket indents";
    EXPECT_EQ(logs[1], logs[0]);
    EXPECT_EQ(logs[2], logs[0]);
    EXPECT_EQ(indents[2], indents[0]);
}

// Relative PATHs: names are saved with the PATH in front and must not get it twice.
TEST(SaveFiles, ASaveMadeWithRelativePathsLoads)
{
    MemoryGame game;
    game.files.CreateFolder("Z:\\data");
    game.files.CreateFolder("Z:\\data\\pic");
    PutPicture("Z:\\data\\pic\\a.bmp");
    game.files.Put("Z:\\data\\second.txt", "[BACK FILE=\"a.bmp\"][CUT FILE=\"a.bmp\" X=\"0\" Y=\"0\" WIDTH=\"8\" HEIGHT=\"8\"]"
                                           "[C]" + SetTo("after", "1") + Hold);
    std::string music, picture;
    auto saved = game.Play("[DEFAULTBACK PATH=\"data/pic/\"][DEFAULTCUT PATH=\"data/pic/\"][DEFAULTBGM PATH=\"data/bgm/\"]"
                           "[BGM FILE=\"m.wav\"][DEFAULTJUMP PATH=\"data/\"][JUMP FILE=\"second.txt\"]",
                           60, {{10, [] { Engine().Files().SaveSlot(7); }}});
    ASSERT_TRUE(saved->errors.empty()) << saved->errors.front();
    const std::string text = game.files.Get("Z:\\Save\\index.007");
    EXPECT_NE(text.find("FILE=\"data/pic/a.bmp\""), std::string::npos) << text;

    auto loaded = game.Play(Hold, 120, {{2, [] { Engine().LoadSlot(7); }}, {80, [&] {
                                            music = Engine().GetBgm().GetFileName().GetStr();
                                            if (auto* back = Engine().GetBacks().GetFirstPicture(); back && back->IsLoaded())
                                                picture = back->GetFile().GetStr();
                                        }},
                                        {81, [] { CInputState::GetInstance().Event = InputEvent::Decide; }}});
    EXPECT_TRUE(loaded->errors.empty()) << loaded->errors.front();
    EXPECT_EQ(music, "data/bgm/m.wav");
    EXPECT_EQ(picture, "data/pic/a.bmp");
    EXPECT_EQ(SetsOf(*loaded, "after"), 1u) << "the resume tag found the relative script";
}

namespace {

// A player installed in a folder whose name the tag lexer cannot read as it stands.
class AwkwardFolder : public platform::MemoryFileSystem {
public:
    std::string ExecutablePath() override { return "Z:\\say \"yes\" ]\\quiltor"; }
};

kivotasuGameKit::CTextString TitleOf(const std::string& save)
{
    std::size_t pos = 0;
    CTagAttributes record;
    CTagLexer lexer(save, pos);
    while (lexer.ReadTag(record) == TagRead)
        if (record.GetId() == TagId::Title) return record.GetBody();
    return {};
}

} // namespace

// What the scripts' own tags give, "!" and "@" inside, is saved as it
// stands: the caption, a variable, a global, a picture's file and the names
// of the scripts, through an auto-save, a quick save and the resume save at
// the close; host paths with a double quote or "]" are written through
// {KARUTEMI}. Each loads back and plays on, and the globals file is written
// again. A choice text that has no such form refuses the save in a box and
// leaves the old file, and so does a dropped script's name that holds ",".
TEST(SaveFiles, TextsAndPathsReadBackWholeOrTheSaveIsRefused)
{
    MemoryGame game(std::make_unique<AwkwardFolder>());
    const std::string data = game.folder + "data\\";
    game.files.CreateFolder(data);
    PutPicture(data + "やった!.bmp");
    game.files.Put(game.folder + "Save\\index.g", SetTo("家", "ゆう@うち") + SetTo("回数", "1"));
    game.files.Put(data + "ゆう@うち.txt", "[BACK FILE=\"{BASE}やった!.bmp\"][C]" + SetTo("after", "1") + "[C]" + Hold);
    const std::string script = "[TITLE BODY=\"ドキドキ!学園\"]" + SetTo("回数", "{回数},1,+") + SetTo("気分", "やった!") +
                               "[CALL FILE=\"{BASE}ゆう@うち.txt\"]" + Hold;
    auto played = game.Play(script, 10, {{5, [] { Engine().Files().AutoSave(); }}, {5, [] { Engine().Files().QuickSave(); }}});
    EXPECT_TRUE(played->errors.empty() && played->Boxes().History().empty()) << "nothing refused";
    ASSERT_EQ(played->frames.back().state, EngineState::ClickWait);
    const std::string text = game.files.Get(game.folder + "Save\\index.q");
    EXPECT_NE(text.find("[ENDCALL FILE=\"{KARUTEMI}data/index.txt\""), std::string::npos) << text;
    EXPECT_NE(game.files.Get(game.folder + "Save\\index.g").find(SetTo("回数", "2")), std::string::npos);

    const std::pair<const char*, std::function<void()>> loads[] = {
        {"auto", [] { Engine().LoadAutoSave(0); }}, {"quick", [] { Engine().LoadQuick(); }}, {"resume", [] { Engine().LoadResume(); }}};
    for (const auto& [what, load] : loads) {
        SCOPED_TRACE(what);
        std::vector<std::string> seen;
        auto loaded = game.Play(script, 90, {{2, load}, {70, [&] {
                                                  auto* back = Engine().GetBacks().GetFirstPicture();
                                                  seen = {value("気分"), value("家"), back && back->IsLoaded() ? back->GetFile().GetStr() : ""};
                                              }},
                                             {75, [] { CInputState::GetInstance().Event = InputEvent::Decide; }}});
        EXPECT_TRUE(loaded->errors.empty()) << loaded->errors.front();
        EXPECT_EQ(seen, (std::vector<std::string>{"やった!", "ゆう@うち", "Z:/say \"yes\" ]/data/やった!.bmp"}));
        EXPECT_EQ(loaded->Tags(TagId::Title).back()->record.GetBody().GetStr(), "ドキドキ!学園");
        EXPECT_EQ(SetsOf(*loaded, "気分"), 2u) << "by the script, then by the load";
        EXPECT_EQ(SetsOf(*loaded, "after"), 1u) << "played on past the saved wait";
    }

    // Plain text in a choice keeps its "]", which no tag value can hold; a
    // path is named in the box by its host form, with the cure.
    const std::string dropped = game.folder + "a, b.txt";
    game.files.Put(dropped, "[C]" + Hold);
    const struct {
        const char* what;
        std::string script, save, old; // the quick save as it stays ("": none)
        std::function<void()> before;
        std::vector<std::string> shown;
    } refusals[] = {
        {"a choice", "[SELECT]はい]です[ENDSELECT]" + Hold, game.folder + "Save\\index.q", text, [] {}, {"セーブできません"}},
        {"a dropped script", Hold, "Z:\\Save\\a, b.q", "", [&] {
             static_cast<platform::HeadlessWindowSystem&>(platform::Windows()).DropFile(Engine().GetApp()->GetHWnd(), dropped);
         }, {"\n/say \"yes\" ]/a, b.txt", "名前を変えるか、ゲームの data フォルダに置いて"}},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE(c.what);
        testkit::ScopedErrorLogRecorder log;
        auto refused = game.Play(c.script, 60, {{2, c.before}, {50, [] { Engine().Files().QuickSave(); }}});
        EXPECT_EQ(game.files.Exists(c.save) ? game.files.Get(c.save) : "", c.old) << "the old save stays";
        // Said in a box, not as a script error; the choice's auto-save and the
        // resume save at the close are refused on stderr alone.
        const auto boxes = refused->Boxes().History();
        ASSERT_EQ(boxes.size(), 1u);
        for (const std::string& part : c.shown) EXPECT_NE(boxes[0].textSjis.find(part), std::string::npos) << boxes[0].textSjis;
        EXPECT_TRUE(refused->errors.empty());
        EXPECT_NE(refused->frames.back().state, EngineState::ScriptEnd);
    }
}

// The caption is cut to its bytes at a character boundary: a lone lead byte
// would swallow the closing quote.
TEST(SaveFiles, TheCaptionIsCutAtACharacterBoundary)
{
    MemoryGame game;
    std::string title = "a";
    for (int i = 0; i < 150; ++i) title += "あ";
    game.Play("[TITLE BODY=\"" + title + "\"]" + Hold, 4, {{2, [] { Engine().Files().QuickSave(); }}});
    EXPECT_EQ(TitleOf(game.files.Get("Z:\\Save\\index.q")).GetStr(), title.substr(0, 259));
}

// Stored files fail line by line: a bad options line is logged and the
// options after it keep their values; a bad game-folder line does not keep
// the game from starting.
TEST(SaveFiles, ABadStoredLineNeverStopsTheGame)
{
    MemoryGame game;
    game.files.Put("Z:\\system\\option.qsd", std::string(testkit::InstantOptions) + "[SYSTEM CONTROL=\"TEXT\" TIME=\"{nothing}\"]"
                                                                         "[SYSTEM CONTROL=\"OVERWRITE\" NAME=\"1\"]");
    game.files.Put("Z:\\system\\GameFolder.qsd", "[SET VARIABLE=\"x\" ENTITY=\"{missing}\"]" + SetTo("folder", "1"));
    testkit::ScopedErrorLogRecorder log;
    std::uint8_t overwrite = 0;
    bool folderRan = false;
    auto run = game.Play(SetTo("started", "1") + Hold, 5, {{2, [&] {
                             overwrite = Engine().GetGameState().OverwriteCheck;
                             folderRan = IsSet("folder");
                         }}});
    EXPECT_EQ(overwrite, 1);
    EXPECT_TRUE(folderRan);
    EXPECT_EQ(run->Tags(TagId::Set).back()->record.GetValue(TagAttributeKey::Variable).GetStr(), "started")
        << "the start script ran";
    EXPECT_TRUE(log->Contains("option.qsd"));
    EXPECT_TRUE(log->Contains("GameFolder.qsd"));
    EXPECT_NE(game.files.Get("Z:\\system\\option.qsd").find("OVERWRITE\" NAME=\"1\""), std::string::npos)
        << "the rewritten options keep it";
}

// An options file the run did not read whole is left byte for byte, run
// after run, and the close says once that the options are not kept (of a
// read the close interrupted, only a fault found before); the lines read still
// serve the run.
TEST(SaveFiles, AnOptionsFileNotReadWholeIsLeftAsItIs)
{
    struct Case {
        const char* what;
        std::string stored;
        const char* why;    // null: nothing said
        bool overwrite;     // its OVERWRITE line was read
        bool close = false; // asked before the options are read
    };
    const std::string overwrite = std::string(testkit::InstantOptions) + "[SYSTEM CONTROL=\"OVERWRITE\" NAME=\"1\"]\n";
    const std::string error = "[SYSTEM CONTROL=\"ERROR\" NAME=\"1\"]";
    const std::size_t bound = kivotasuGameKit::MostBytes(kivotasuGameKit::FileKind::Text);
    const std::string utf8 = overwrite + platform::Cp932ToUtf8(SetTo("メモ", "設定のファイルです"));
    const Case cases[] = {
        {"UTF-8", utf8, "UTF-8 で書かれています。", true},
        {"over the bound", overwrite + std::string(bound + 1 - overwrite.size(), ' '),
         " バイトあり、上限の 33554432 バイトを超えています。", false},
        {"a wait amid it", overwrite + "[C]" + error, " バイト目から先を読んでいません。", true},
        {"an unclosed tag", overwrite + error.substr(0, error.size() - 1), " バイト目から先を読んでいません。", true},
        {"a close before it is read", overwrite, nullptr, false, true},
        {"UTF-8, and a close before it is read", utf8, "UTF-8 で書かれています。", false, true},
    };
    const std::string kept = platform::Cp932ToUtf8("設定のファイルを上書きせずに残します。 /system/option.qsd: ");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryGame game;
        game.files.Put("Z:\\system\\option.qsd", c.stored);
        for (int run = 0; run < 2; ++run) {
            testing::internal::CaptureStderr();
            std::uint8_t overwritten = 0;
            game.Play(Hold + Hold, 4, {{0, c.close ? AskClose : [] {}}, {2, [&] { overwritten = Engine().GetGameState().OverwriteCheck; }}});
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_TRUE(game.files.Get("Z:\\system\\option.qsd") == c.stored) << "byte for byte, run " << run;
            EXPECT_EQ(Times(said, kept), c.why ? 1u : 0u) << said;
            EXPECT_TRUE(!c.why || said.find(platform::Cp932ToUtf8(c.why)) != std::string::npos) << said;
            EXPECT_EQ(overwritten, c.overwrite ? 1 : 0);
        }
    }
}

// Files far beyond any save (the deepest CALL stack saves in 3.5 MB) are
// refused unread, each by the bound of its kind (the globals are text): the
// global variables keep theirs, a load leaves the game where it was, and the
// globals file that was not read is not written over.
TEST(SaveFiles, AStoredFileFarLargerThanAnySaveIsNotRead)
{
    GameFolder game;
    game.Put("system/option.qsd", testkit::InstantOptions);
    game.Put("data/index.txt", "[C]" + SetTo("after", "1") + Hold + Hold);
    for (const auto& [name, kind] : {std::pair{"Save/index.g", kivotasuGameKit::FileKind::Text}, {"Save/index.q", kivotasuGameKit::FileKind::Save}}) {
        game.Put(name, SetTo("huge", "1"));
        std::filesystem::resize_file(game.Host(name), kivotasuGameKit::MostBytes(kind) + 1);
    }
    const std::string stored = game.Read("Save/index.g");
    testkit::ScopedErrorLogRecorder log;
    EngineRun run;
    bool huge = true;
    run.At(3, [&](EngineRun&) { Engine().LoadQuick(); huge = IsSet("huge"); });
    run.Click(5);
    testing::internal::CaptureStderr();
    run.Run(10);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(huge);
    EXPECT_EQ(SetsOf(run, "after"), 1u) << "the click wait goes on";
    EXPECT_TRUE(log->Contains("index.g") && log->Contains("index.q"));
    EXPECT_TRUE(game.Exists("Save/index.a")) << "the resume save is written";
    EXPECT_TRUE(game.Read("Save/index.g") == stored) << "byte for byte";
    EXPECT_TRUE(log->Contains("CPlayersFiles::SaveGlobals"));
    // One line names the file, its size and the bound.
    const std::string bound = std::to_string((std::uint64_t{32} << 20) + 1) + platform::Cp932ToUtf8(" バイトあり、上限の ") +
                              std::to_string(std::uint64_t{32} << 20);
    const std::size_t path = said.find(game.Host("Save/index.g").string());
    ASSERT_NE(path, std::string::npos) << said;
    const std::string line = said.substr(path, said.find('\n', path) - path);
    EXPECT_NE(line.find(bound), std::string::npos) << said;
}

namespace {

class CountedFolder : public platform::MemoryFileSystem {
public:
    std::string ExecutablePath() override
    {
        ++lookups;
        return MemoryFileSystem::ExecutablePath();
    }
    std::size_t lookups = 0;
};

// Faults as bits, none when a globals file of many entries fared as it
// should: read whole and rewritten with every entry, the program's folder
// looked up once for them all; or, the close asked at the start, read no
// further than its first stretch and left byte for byte without a word.
int ReadGlobalsClosing(bool closing, const std::function<void()>& askClose)
{
    constexpr std::size_t entries = 100000;
    const auto name = [](std::size_t n) { return "v" + std::to_string(1000000 + n); };
    // Spaced as the writer never spaces them, so that a rewrite shows.
    std::string stored, past;
    for (std::size_t n = 0; n < entries; ++n) {
        if (past.empty() && stored.size() >= StopAskedEvery) past = name(n);
        stored += SetTo(name(n), std::to_string(n)) + " ";
    }
    MemoryGame game(std::make_unique<CountedFolder>());
    auto& files = static_cast<CountedFolder&>(game.files);
    files.Put("Z:\\Save\\index.g", stored);
    testkit::ScopedErrorLogRecorder log;
    bool last = false;
    game.Play(Hold + Hold, 4, {{0, askClose}, {2, [&] { last = IsSet(name(entries - 1).c_str()); }}});
    const std::string file = files.Get("Z:\\Save\\index.g");
    const bool rewritten = std::ranges::count(file, '\n') == std::ptrdiff_t(entries);
    return (closing ? IsSet(past.c_str()) : !last) | (closing ? file != stored : !rewritten) << 1 |
           log->Contains("上書きせずに残します") << 2 | (files.lookups > 100) << 3;
}

} // namespace

// A close, asked by the window or by a signal, interrupts the reading of a large
// globals file: what was not read is not lost to a rewrite. Read whole,
// it is rewritten without a folder lookup per value (for 32 MiB those took a
// second of the close's processor time). The signal in a child: its request
// cannot be taken back.
TEST(SaveFilesDeathTest, AClosePutsAnEndToReadingTheGlobalVariables)
{
    EXPECT_EQ(ReadGlobalsClosing(false, [] {}), 0);
    EXPECT_EQ(ReadGlobalsClosing(true, AskClose), 0);
    EXPECT_EXIT((platform::CloseOnTerminationSignals(), std::raise(SIGTERM), std::exit(ReadGlobalsClosing(true, [] {}))),
                testing::ExitedWithCode(0), "");
}

// A choice saved before saves held picture buttons loads as it always did.
TEST(SaveFiles, AChoiceSavedInTheOlderFormStillLoads)
{
    MemoryGame game;
    // Only the load leads into the choice.
    const std::string script = Hold + "[SELECT][WRITE BODY=\"はい\" LABEL=\"a\"][WRITE BODY=\"いいえ\" LABEL=\"b\"][ENDSELECT]"
                               "[LABEL LABEL=\"a\"]" + SetTo("way", "a") + Hold + "[LABEL LABEL=\"b\"]" + SetTo("way", "b") + Hold;
    game.files.Put("Z:\\data\\index.txt", script);
    game.files.Put("Z:\\Save\\index.001",
                   "[SAVE CONTROL=\"0\"]\n[LOCK]\n[BACK COLOR=\"#336699\" WIDTH=\"0\" HEIGHT=\"0\"]\n\n[UNLOCK]\n"
                   "[SET VARIABLE=\"BASE\" ENTITY=\"{KARUTEMI}data/\"]\n[SAVE CONTROL=\"1\"]\n\n[SELECT]\n"
                   "[WRITE BODY=\"はい\" LABEL=\"a\"]\n[WRITE BODY=\"いいえ\" LABEL=\"b\"]\n"
                   "[ENDSELECT FILE=\"{KARUTEMI}data/index.txt\" NAME=\"" + std::to_string(script.find("[LABEL")) + "\"]\n");
    EngineRun run;
    run.At(50, [](EngineRun&) { Engine().LoadSlot(1); });
    run.Key(130, KeyCode::Up);
    run.Key(133, KeyCode::Enter);
    run.Run(140);
    EXPECT_EQ(run.frames.at(128).state, EngineState::ChoiceWait);
    EXPECT_TRUE(run.errors.empty());
    ASSERT_EQ(SetsOf(run, "way"), 1u);
    EXPECT_EQ(run.Tags(TagId::Set).back()->record.GetValue(TagAttributeKey::Entity).GetStr(), "b");
}
