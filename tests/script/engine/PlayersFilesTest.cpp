// The player's files on the in-memory file system, without an engine: the
// play they keep is a stand-in. Names, the ring of choice auto-saves, the
// overwrite question, the writer's bound beside the reader's, and global
// variables that cannot be written, are damaged or are UTF-8. Through the
// real engine, SaveFilesTest.cpp plays the same files end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "frame/file/FileBounds.h"
#include "platform/Dialogs.h"
#include "platform/MemoryFileSystem.h"
#include "platform/MessageBox.h"
#include "platform/StderrLines.h"
#include "platform/TextCodec.h"
#include "script/engine/PlayersFiles.h"
#include "script/lang/ScriptReader.h"
#include "script/lang/Set.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/kit/WallSeconds.h"

using kivotasuGameKit::CTextString;
using Moment = CPlayersFiles::Moment;

namespace {

// A play at a wait of Z:\data\index.txt, whose save is its local variables
// and whose options a line; its reset is the test's to make.
class StandIn : public IKeptPlay {
public:
    const CTextString& NameStem() const override { return m_stem; }
    Script HeldScript() const override { return {reader.GetName(), reader.Text()}; }
    bool StoryEnded() const override { return ended; }
    bool AutoSaves() const override { return autoSaves; }
    bool AsksOverwrite() const override { return asksOverwrite; }
    void WriteSave(kivotasuGameKit::CTextFileWriter& writer) override
    {
        writer.Write(CTextString("[SAVE CONTROL=\"0\"]\n"));
        CSet::GetInstance().WriteLocals(writer);
    }
    void WriteOptions(kivotasuGameKit::CTextFileWriter& writer) override { writer.Write(CTextString("[SYSTEM CONTROL=\"DISPLAYMODE\" NAME=\"0\"]\n")); }
    void Reset() override {}
    void Take(kivotasuGameKit::CFile& save) override { reader.Take(save); }

    CScriptReader reader;
    bool ended = false;
    bool autoSaves = true;
    bool asksOverwrite = false;

private:
    CTextString m_stem{"Z:/data/index"};
};

// The disk, the boxes and the dialogs of one test, and a run of the files
// over them (a test may start another).
struct Kept {
    Kept() : disk(platform::MemoryFileSystem::Install())
    {
        auto shownBoxes = std::make_unique<platform::HeadlessMessageBoxes>();
        boxes = shownBoxes.get();
        platform::InstallMessageBoxes(std::move(shownBoxes));
        auto shownDialogs = std::make_unique<platform::HeadlessDialogs>();
        dialogs = shownDialogs.get();
        platform::InstallDialogs(std::move(shownDialogs));
        CSet::GetInstance().Clear();
    }
    ~Kept()
    {
        platform::InstallFileSystem(nullptr);
        platform::InstallMessageBoxes(std::make_unique<platform::HeadlessMessageBoxes>());
        platform::InstallDialogs(nullptr);
        CSet::GetInstance().Clear();
    }

    platform::MemoryFileSystem& disk;
    platform::HeadlessMessageBoxes* boxes = nullptr;
    platform::HeadlessDialogs* dialogs = nullptr;
    StandIn play;
    CPlayersFiles files{play};
};

std::string SetTo(const std::string& name, const std::string& value)
{
    return "[SET VARIABLE=\"" + name + "\" ENTITY=\"" + value + "\"]";
}

std::optional<std::string> ValueOf(const char* name)
{
    CTextString text(std::string("{") + name + "}");
    try {
        CSet::GetInstance().Expand(text);
    } catch (const EScript&) {
        return std::nullopt;
    }
    return text.GetStr();
}

bool IsSetTo(const char* name, const std::string& entity) { return ValueOf(name) == entity; }

// What stderr said since the capture began, repeats counted.
std::string Said()
{
    platform::Stderr().Flush();
    return testing::internal::GetCapturedStderr();
}

// The lines of stderr that say the globals file was left as it was.
std::size_t KeptLines(const std::string& said)
{
    const std::string part = platform::Cp932ToUtf8("グローバル変数のファイルを上書きせずに残します。 /Save/index.g: ");
    std::size_t times = 0;
    for (std::size_t at = said.find(part); at != std::string::npos; at = said.find(part, at + 1)) ++times;
    return times;
}

} // namespace

TEST(PlayersFiles, NamesLieInTheSaveFolderBesideTheScriptFolder)
{
    Kept kept;
    std::vector<std::string> names;
    for (int code : {3, -1, -2, -3, 999, 1000, 1009}) names.push_back(kept.files.GetSaveFileName(code).GetStr());
    EXPECT_EQ(names, (std::vector<std::string>{"Z:/Save/index.003", "Z:/Save/index.q", "Z:/Save/index.a", "Z:/Save/index.g",
                                               "Z:/Save/index.999", "Z:/Save/index.s00", "Z:/Save/index.s09"}));
    EXPECT_TRUE(kept.disk.Exists("Z:\\Save")) << "made when a name is built";
    CTextString time;
    EXPECT_FALSE(kept.files.GetSaveTime(3, time));
    kept.disk.SetNow({2026, 3, 4, 5, 6, 7});
    kept.disk.Put("Z:\\Save\\index.003", "");
    ASSERT_TRUE(kept.files.GetSaveTime(3, time));
    EXPECT_EQ(time.GetStr(), "2026/03/04 05:06:07");
}

// Each moment writes its row of the table, at each place play stands: the
// resume save only mid-story (the play's save) or during a load (the save
// being loaded), the global variables and the options whatever the place.
TEST(PlayersFiles, EachMomentWritesItsRowAtEveryPlace)
{
    using Stands = CPlayersFiles::Stands;
    // The files each writes: the resume save, the global variables, the options.
    const std::pair<Moment, const char*> rows[] = {{Moment::Close, "rgo"},    {Moment::ReturnToTitle, "-go"}, {Moment::OpenScript, "rgo"},
                                                   {Moment::StoryEnd, "-go"}, {Moment::Load, "-g-"},          {Moment::Saved, "-g-"}};
    const std::string loaded = "[SAVE CONTROL=\"0\"]\nbeing loaded";
    for (const auto& [moment, writes] : rows) {
        for (const Stands stands : {Stands::MidStory, Stands::Loading, Stands::Ended}) {
            SCOPED_TRACE(std::to_string(int(moment)) + " at " + std::to_string(int(stands)));
            Kept kept;
            kept.disk.Put("Z:\\Save\\index.q", loaded);
            if (stands == Stands::Loading) kept.files.Load(CPlayersFiles::QuickCode);
            for (const char* file : {"Z:\\Save\\index.a", "Z:\\Save\\index.g", "Z:\\system\\option.qsd"}) kept.disk.Put(file, "old");
            kept.play.ended = stands == Stands::Ended;
            ASSERT_EQ(kept.files.Standing(), stands);
            kept.files.Keep(moment);
            const std::string resume = kept.disk.Get("Z:\\Save\\index.a");
            if (writes[0] == '-' || stands == Stands::Ended) EXPECT_EQ(resume, "old");
            else if (stands == Stands::Loading) EXPECT_EQ(resume, loaded);
            else EXPECT_TRUE(resume.starts_with("[SAVE CONTROL=\"0\"]\n") && resume != loaded) << resume;
            EXPECT_EQ(kept.disk.Get("Z:\\Save\\index.g") != "old", writes[1] == 'g');
            EXPECT_EQ(kept.disk.Get("Z:\\system\\option.qsd") != "old", writes[2] == 'o');
        }
    }
}

// Each auto-save moves the ring down one place: entry 0 is the newest, at
// most ten remain, and the numbered slots are never touched. The ring moves
// only once the new entry is written whole: neither a value with no saved
// form nor the auto-save flag off moves it, nor a folder left where the new
// entry is written, which is named.
TEST(PlayersFiles, TheRingOfTenAutoSavesRotates)
{
    Kept kept;
    kept.disk.Put("Z:\\Save\\index.999", "slot");
    const auto ring = [&] {
        std::vector<std::string> entries;
        for (int entry = 0; entry < 10; ++entry) entries.push_back(kept.disk.Get("Z:\\Save\\index.s0" + std::to_string(entry)));
        return entries;
    };
    for (int n = 0; n < 12; ++n) {
        CSet::GetInstance().Set("n", std::to_string(n));
        kept.files.AutoSave();
    }
    const std::vector<std::string> rotated = ring();
    for (int entry = 0; entry < 10; ++entry)
        EXPECT_NE(rotated[entry].find(SetTo("n", std::to_string(11 - entry))), std::string::npos) << "entry " << entry;
    EXPECT_FALSE(kept.disk.Exists("Z:\\Save\\index.s10"));
    EXPECT_FALSE(kept.disk.Exists("Z:\\Save\\index.s00.new")) << "the new entry moved into place";
    EXPECT_EQ(kept.disk.Get("Z:\\Save\\index.999"), "slot");

    CSet::GetInstance().Set("n", "a,b");
    kept.files.AutoSave();
    EXPECT_TRUE(ring() == rotated);
    CSet::GetInstance().Set("n", "12");
    kept.play.autoSaves = false;
    kept.files.AutoSave();
    EXPECT_TRUE(ring() == rotated);
    kept.play.autoSaves = true;
    kept.disk.CreateFolder("Z:\\Save\\index.s00.new");
    testing::internal::CaptureStderr();
    kept.files.AutoSave();
    const std::string said = Said();
    EXPECT_TRUE(ring() == rotated);
    EXPECT_NE(said.find("/Save/index.s00.new: "), std::string::npos) << said;
}

TEST(PlayersFiles, OverwritingASlotAsksWhenTheOptionSaysSo)
{
    Kept kept;
    const auto slot = [&] { return kept.disk.Get("Z:\\Save\\index.002"); };
    kept.disk.Put("Z:\\Save\\index.002", "old");
    // Off: no question.
    kept.files.SaveSlot(2);
    EXPECT_TRUE(kept.dialogs->Shown().empty());
    EXPECT_NE(slot(), "old");

    // On: "いいえ" (and closing the question) keeps the slot, "はい" writes it;
    // an empty slot needs no question.
    kept.disk.Put("Z:\\Save\\index.002", "old");
    kept.play.asksOverwrite = true;
    kept.dialogs->PushAnswer(2);
    kept.files.SaveSlot(2);
    EXPECT_EQ(slot(), "old");
    kept.files.SaveSlot(2);
    EXPECT_EQ(slot(), "old");
    kept.files.SaveSlot(5);
    EXPECT_TRUE(kept.disk.Exists("Z:\\Save\\index.005"));
    kept.dialogs->PushAnswer(1);
    kept.files.SaveSlot(2);
    EXPECT_NE(slot(), "old");
    const auto& shown = kept.dialogs->Shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].titleSjis, "上書き確認");
    ASSERT_EQ(shown[0].buttons.size(), 2u);
    EXPECT_EQ(shown[0].buttons[0].textSjis, "はい");
    EXPECT_EQ(shown[0].buttons[1].textSjis, "いいえ");
}

// The writer refuses what its reader would refuse, counting the file's own
// bytes as the reader does: a save and a globals file of exactly the reader's
// bound are written and read back; a byte more is refused, and the old file
// stays.
TEST(PlayersFiles, TheWritersBoundIsTheReaders)
{
    using kivotasuGameKit::FileKind;
    using kivotasuGameKit::MostBytes;
    for (const std::uint64_t over : {0, 1}) {
        SCOPED_TRACE(over ? "a byte over" : "at the bound");
        Kept kept;
        // A local and a global that make each file the length wanted.
        CSet::GetInstance().Set("local", "");
        CSet::GetInstance().Set("global", "", true);
        kept.files.QuickSave();
        const std::size_t save = kept.disk.Get("Z:\\Save\\index.q").size(), globals = kept.disk.Get("Z:\\Save\\index.g").size();
        CSet::GetInstance().Set("local", std::string(MostBytes(FileKind::Save) + over - save, 'y'));
        CSet::GetInstance().Set("global", std::string(MostBytes(FileKind::Text) + over - globals, 'x'), true);
        kept.disk.Put("Z:\\Save\\index.g", "old");
        kept.disk.Put("Z:\\Save\\index.q", "old");
        testing::internal::CaptureStderr();
        kept.files.QuickSave();
        EXPECT_EQ(kept.disk.Get("Z:\\Save\\index.q").size(), over ? 3 : MostBytes(FileKind::Save));
        EXPECT_EQ(kept.disk.Get("Z:\\Save\\index.g").size(), over ? 3 : MostBytes(FileKind::Text));
        kept.files.Load(CPlayersFiles::QuickCode);
        const std::string said = Said();
        EXPECT_EQ(said.find(platform::Cp932ToUtf8("上限")) != std::string::npos, over != 0) << said.substr(0, 300);
        EXPECT_EQ(kept.play.reader.GetSize(), over ? 3 : MostBytes(FileKind::Save)) << "loaded";
        CSet::GetInstance().Clear();
        CPlayersFiles(kept.play).LoadGlobals();
        EXPECT_EQ(CSet::GetInstance().IsDefined(CTextString("global")), over == 0) << "read back";
    }
}

namespace {

// Message boxes that note what a file held when each was shown.
class FileAtBoxes : public platform::IMessageBoxService {
public:
    FileAtBoxes(platform::MemoryFileSystem& files, std::string file) : m_files(files), m_file(std::move(file)) {}
    platform::MessageBoxAnswer Show(std::string_view, std::string_view, platform::MessageBoxStyle style, bool) override
    {
        held.push_back(m_files.Get(m_file));
        return platform::DismissAnswer(style);
    }

    std::vector<std::string> held;

private:
    platform::MemoryFileSystem& m_files;
    std::string m_file;
};

} // namespace

// A folder in the way of the global variables' file costs that file only:
// every kind of save is written, and the failure is logged and shown once,
// after the save is in place.
TEST(PlayersFiles, ASaveIsKeptWhenTheGlobalVariablesCannotBeWritten)
{
    const std::pair<const char*, std::function<void(CPlayersFiles&)>> saves[] = {
        {"Z:\\Save\\index.003", [](CPlayersFiles& files) { files.SaveSlot(3); }},
        {"Z:\\Save\\index.q", [](CPlayersFiles& files) { files.QuickSave(); }},
        {"Z:\\Save\\index.a", [](CPlayersFiles& files) { files.Keep(Moment::OpenScript); }},
        {"Z:\\Save\\index.s00", [](CPlayersFiles& files) { files.AutoSave(); }}};
    for (const auto& [file, save] : saves) {
        SCOPED_TRACE(file);
        Kept kept;
        kept.disk.CreateFolder("Z:\\Save");
        kept.disk.CreateFolder("Z:\\Save\\index.g");
        testkit::ScopedErrorLogRecorder log;
        auto noting = std::make_unique<FileAtBoxes>(kept.disk, file);
        const std::vector<std::string>& held = noting->held;
        platform::InstallMessageBoxes(std::move(noting));
        testing::internal::CaptureStderr();
        // As a run starts.
        kept.files.LoadGlobals();
        save(kept.files);
        save(kept.files);
        Said();
        ASSERT_EQ(held.size(), 1u) << "said once";
        EXPECT_TRUE(held[0].starts_with("[SAVE CONTROL=\"0\"]")) << "the save is in place when the failure is said";
        EXPECT_TRUE(kept.disk.Get(file).starts_with("[SAVE CONTROL=\"0\"]"));
        EXPECT_TRUE(log->Contains("CPlayersFiles::SaveGlobals"));
    }
}

// The processor time of reading the globals file holding stored, on a disk
// of its own: the reading runs on this thread alone.
double GlobalsReadSeconds(const std::string& stored)
{
    Kept kept;
    kept.disk.Put("Z:\\Save\\index.g", stored);
    testkit::ScopedErrorLogRecorder log;
    testing::internal::CaptureStderr();
    const double seconds = testkit::ThreadSeconds([&] { kept.files.LoadGlobals(); }, 1);
    Said();
    return seconds;
}

// A reading in one pass costs a file at most ten times its damage cut to a
// tenth, a rescan per entry a hundred.
void ReadInOnePass(const std::string& stored, const std::string& tenth)
{
    const auto [read, tenthRead] =
        testkit::LeastInTurns([&] { return GlobalsReadSeconds(stored); }, [&] { return GlobalsReadSeconds(tenth); });
    EXPECT_TRUE(testkit::CostsAtMost(30, read, tenthRead)) << "processor time of the reading";
}

// Whatever cannot be read, at the start, between entries or at the end, is
// skipped with one log line a run, every good entry serves the run (one value
// holds brackets), and a run of any length is read in one pass. A file with
// damage is left byte for byte at the close, which stderr says once, with the
// offset.
TEST(PlayersFiles, ABadGlobalVariableIsSkippedAndTheFileLeftAsItIs)
{
    std::string damagedEntries;
    for (int n = 0; n < 100000; ++n) damagedEntries += n % 2 ? "[SET VARIABLE=\"bad\" ENTITY=\"1\"\n" : SetTo("bad", "{missing}") + "\n";
    const std::pair<const char*, std::string> damages[] = {
        {"none", ""},
        {"unknown variable", SetTo("bad", "{missing}")},
        {"unclosed", "[SET VARIABLE=\"bad\" ENTITY=\"1\""},
        {"lone bracket", "["},
        {"binary", std::string("\0\xfe\x7f[\x81\x01{\xe0", 8)},
        {"lone lead byte", "\x81"},
        {"unknown key", "[SET VARIABLE=\"bad\" ENTITY=\"1\" \x01]"},
        {"1 MiB of [", std::string(std::size_t{1} << 20, '[')},
        {"100,000 damaged entries", damagedEntries},
    };
    const std::vector<std::pair<std::string, std::string>> goods = {{"first", "1"}, {"second", "[2]"}, {"third", "3"}};
    for (const auto& [kind, damage] : damages) {
        for (std::size_t place : {std::size_t{0}, std::size_t{1}, goods.size()}) {
            SCOPED_TRACE(std::string(kind) + " before entry " + std::to_string(place));
            std::string stored, tenth;
            std::size_t offset = 0;
            for (std::size_t n = 0; n <= goods.size(); ++n) {
                if (n == place) offset = stored.size(), stored += damage, tenth += damage.substr(0, damage.size() / 10);
                if (n < goods.size()) stored += SetTo(goods[n].first, goods[n].second) + "\n", tenth += SetTo(goods[n].first, goods[n].second) + "\n";
            }
            ReadInOnePass(stored, tenth);
            Kept kept;
            kept.disk.Put("Z:\\Save\\index.g", stored);
            testkit::ScopedErrorLogRecorder log;
            testing::internal::CaptureStderr();
            kept.files.LoadGlobals();
            std::string seen;
            for (const auto& [name, entity] : goods) seen += IsSetTo(name.c_str(), entity) ? '1' : '0';
            EXPECT_EQ(seen + (ValueOf("bad") ? '1' : '0'), "1110") << "first, second, third, bad";
            kept.files.Keep(Moment::Close);
            const std::string said = Said();
            EXPECT_EQ(std::ranges::count_if(log->Messages(), [](const std::string& line) { return line.find("LoadGlobals") != std::string::npos; }),
                      damage.empty() ? 0 : 1);
            EXPECT_EQ(log->Contains("の " + std::to_string(offset) + " バイト目から"), !damage.empty()) << "the run's offset";
            EXPECT_TRUE(kept.disk.Get("Z:\\Save\\index.g") == stored) << "byte for byte";
            EXPECT_EQ(KeptLines(said), damage.empty() ? 0u : 1u) << said;
            EXPECT_EQ(said.find(std::to_string(offset) + platform::Cp932ToUtf8(" バイト目から")) != std::string::npos, !damage.empty())
                << said;
        }
    }
}

namespace {

// Damage as a broken writer, a bad disk or a hand edit leaves it: bytes of
// any value, the characters of a tag and lead bytes made likely.
std::string Junk(std::mt19937& random, std::size_t bytes)
{
    static const std::string_view pieces[] = {"[", "]", "\"", "\x81", "\xe0", "[SET ", " VARIABLE=", "=\"", "\n", "[x "};
    std::string junk;
    while (junk.size() < bytes) {
        if (random() % 3 == 0) junk += pieces[random() % std::size(pieces)];
        else junk += static_cast<char>(random());
    }
    return junk;
}

// Damage placed before each of four entries and after the last.
struct Damage {
    std::string what;
    std::array<std::string, 5> around;
};

std::array<std::string, 5> Repeated(std::string_view before, std::string_view after)
{
    return {std::string(before), std::string(before), std::string(before), std::string(before), std::string(after)};
}

} // namespace

// Every intact entry outlives the damage around it, whatever it holds, and
// the file keeps every byte: the named rows, then random damage of many
// seeds, kilobytes of it, so that what the reading costs is the damage's. A
// "[" refused once is never read again, so the hostile rows cost no more than
// the rest.
TEST(PlayersFiles, EveryIntactGlobalVariableOutlivesTheDamageAroundIt)
{
    const std::pair<const char*, const char*> goods[] = {{"first", "1"}, {"second", "[2]"}, {"third", "三つ"}, {"fourth", "[[4]x]"}};
    std::mt19937 random(51);
    std::string chain;
    for (int n = 0; n < 20000; ++n) chain += "[SET VARIABLE=";
    std::vector<Damage> damages = {
        {"inside two unclosed brackets", {"[x [y\n", "", "", "", "] ]\n"}},
        {"32 KiB of random bytes each side", {Junk(random, 32 << 10), "", "", "", Junk(random, 32 << 10)}},
        {"an unclosed entry before each", Repeated("[SET VARIABLE=\"bad\" ENTITY=\"1\"\n", "")},
        {"a lead byte before each", Repeated("\x81", "\x81")},
        {"a quote before each", Repeated("\"", "\"")},
        {"an open SET tag before each", Repeated("[SET ", "]")},
        {"an open SET tag with a value before each", Repeated("[SET VARIABLE=\"bad\" [SET ", "]]]]]]]]")},
        {"a long chain of open SET tags around the entries", {chain, "", "", "", std::string(20000, ']')}},
        {"a long chain of SET tags that close far behind", {"", "", "", "", chain + std::string(1 << 16, 'x') + std::string(20000, ']')}},
    };
    for (int seed = 0; seed < 200; ++seed) {
        Damage damage{"seed " + std::to_string(seed), {}};
        for (std::string& junk : damage.around) junk = Junk(random, random() % 4096);
        damages.push_back(std::move(damage));
    }
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::string stored, tenth;
        for (std::size_t n = 0; n < damage.around.size(); ++n) {
            const std::string entry = n < std::size(goods) ? SetTo(goods[n].first, goods[n].second) + "\n" : "";
            stored += damage.around[n] + entry;
            tenth += damage.around[n].substr(0, damage.around[n].size() / 10) + entry;
        }
        ReadInOnePass(stored, tenth);
        Kept kept;
        kept.disk.Put("Z:\\Save\\index.g", stored);
        testkit::ScopedErrorLogRecorder log;
        testing::internal::CaptureStderr();
        kept.files.LoadGlobals();
        std::string intact;
        for (const auto& [name, entity] : goods) intact += IsSetTo(name, entity) ? '1' : '0';
        EXPECT_EQ(intact, "1111") << "first, second, third, fourth";
        kept.files.Keep(Moment::Close);
        const std::string said = Said();
        EXPECT_TRUE(kept.disk.Get("Z:\\Save\\index.g") == stored) << "byte for byte";
        EXPECT_EQ(KeptLines(said), 1u) << said;
    }
}

// A globals file saved as UTF-8 (the README's two lines, or kanji-only
// names) is named as UTF-8 when read, and left byte for byte run after run:
// each run says once, in a box during play and on stderr, that its global
// variables are not kept. Converted, it reads whole and is written again.
TEST(PlayersFiles, AGlobalsFileInUtf8IsLeftAsItIsUntilConverted)
{
    const std::string files[] = {
        "[SET VARIABLE=\"起動回数\" ENTITY=\"0\"]\n[SET VARIABLE=\"見た結末\" ENTITY=\"なし\"]\n",
        "[SET VARIABLE=\"起動回数\" ENTITY=\"0\"]\n",
    };
    for (const std::string& sjis : files) {
        const std::string utf8 = platform::Cp932ToUtf8(sjis);
        SCOPED_TRACE(utf8);
        Kept kept;
        kept.disk.Put("Z:\\Save\\index.g", utf8);
        for (int run = 0; run < 2; ++run) {
            CPlayersFiles files(kept.play);
            platform::HeadlessMessageBoxes& boxes = *kept.boxes;
            testing::internal::CaptureStderr();
            files.LoadGlobals();
            files.QuickSave();
            files.Keep(Moment::Close);
            const std::string said = Said();
            EXPECT_TRUE(kept.disk.Get("Z:\\Save\\index.g") == utf8) << "byte for byte, run " << run;
            std::istringstream lines(said);
            std::size_t named = 0;
            for (std::string line; std::getline(lines, line);) named += line.find("iconv") != std::string::npos && line.find("/Save/index.g") != std::string::npos;
            EXPECT_EQ(named, 1u) << "named as UTF-8 with its command: " << said;
            EXPECT_EQ(KeptLines(said), 1u) << said;
            EXPECT_NE(said.find(platform::Cp932ToUtf8("index.g: UTF-8 で書かれています。")), std::string::npos) << said;
            EXPECT_EQ(std::ranges::count_if(boxes.History(), [](const auto& box) { return box.textSjis.find("上書きせずに残します") != std::string::npos; }),
                      run + 1);
        }
        kept.disk.Put("Z:\\Save\\index.g", sjis);
        CPlayersFiles mended(kept.play);
        mended.LoadGlobals();
        EXPECT_TRUE(IsSetTo("起動回数", "0"));
        CSet::GetInstance().Set("起動回数", "1", true);
        mended.Keep(Moment::Close);
        EXPECT_NE(kept.disk.Get("Z:\\Save\\index.g").find(SetTo("起動回数", "1")), std::string::npos);
    }
}
