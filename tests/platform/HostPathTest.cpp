#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/HostFileSystem.h"
#include "platform/HostNameResolver.h"
#include "platform/HostPath.h"
#include "platform/MemoryFileSystem.h"
#include "platform/PlayerPath.h"
#include "platform/ReplacingFile.h"
#include "platform/TextCodec.h"
#include "tests/kit/TempFolder.h"

namespace fs = std::filesystem;

namespace {

// "表示" in UTF-8 and in Shift-JIS: 0x95 0x5C 0x8E 0xA6, a backslash second byte.
const std::string HyoujiUtf8 = "\xE8\xA1\xA8\xE7\xA4\xBA";
const std::string HyoujiSjis = "\x95\x5C\x8E\xA6";

TEST(HostPathTest, DriveZIsTheHostRoot)
{
    EXPECT_EQ(platform::ToHostPath("Z:\\home\\a\\x.txt"), "/home/a/x.txt");
    EXPECT_EQ(platform::ToHostPath("z:/home//a/"), "/home/a/");
    EXPECT_EQ(platform::ToHostPath("Z:\\"), "/");
    EXPECT_EQ(platform::ToHostPath("save\\a.txt"), "save/a.txt");
    EXPECT_EQ(platform::ToHostPath("\\tmp"), "/tmp");
    EXPECT_EQ(platform::ToHostPath("C:\\game\\x"), std::nullopt);
    EXPECT_EQ(platform::ToHostPath("\\\\srv\\share\\x"), std::nullopt);
    EXPECT_EQ(platform::ToHostPath(std::string("Z:\\a\0b", 6)), std::nullopt);
    EXPECT_EQ(platform::ToHostPath(""), std::nullopt);

    EXPECT_EQ(platform::ToInternalPath("/home/a/x.txt"), "Z:\\home\\a\\x.txt");
    EXPECT_EQ(platform::ToInternalPath("/"), "Z:\\");
    EXPECT_EQ(platform::ToInternalPath("/tmp/"), "Z:\\tmp\\");
    EXPECT_EQ(platform::ToInternalPath("rel/x"), "rel\\x");
}

// Maps the game drive for one scope.
class ScopedGameDrive {
public:
    explicit ScopedGameDrive(const std::string& folder) { platform::MapGameDrive(folder); }
    ~ScopedGameDrive() { platform::MapGameDrive(""); }
};

TEST(HostPathTest, GameDriveIsThePlayersFolderKeptAsBytes)
{
    const std::string game = "/tmp/Jos\xC3\xA9-\xF0\x9F\x8E\xAE/game"; // José-🎮: no Shift-JIS form
    EXPECT_EQ(platform::ToHostPath("G:\\data\\x.txt"), std::nullopt) << "no drive before it is mapped";
    ScopedGameDrive drive(game + "/");
    const struct {
        const char* internal;
        std::string host;
    } both[] = {
        {"G:\\data\\x.txt", game + "/data/x.txt"},
        {"G:\\", game + "/"},
        {"G:\\" "\x95\x5C\x8E\xA6", game + "/" + HyoujiUtf8},
    };
    for (const auto& path : both) {
        EXPECT_EQ(platform::ToHostPath(path.internal), path.host) << path.internal;
        EXPECT_EQ(platform::ToInternalPath(path.host), path.internal) << path.host;
    }
    EXPECT_EQ(platform::ToHostPath("g:/system/option.qsd"), game + "/system/option.qsd");
    EXPECT_EQ(platform::ToHostPath("G:data"), game + "/data") << "the drive has no current folder";
    EXPECT_EQ(platform::ToInternalPath(game), "G:\\");
    // Beside the game folder and outside it the host root stays Z:.
    EXPECT_EQ(platform::ToInternalPath(game + "x/a"), platform::Utf8ToCp932("Z:\\tmp\\Jos\xC3\xA9-\xF0\x9F\x8E\xAE\\gamex\\a"));
    EXPECT_EQ(platform::ToInternalPath("/home/a"), "Z:\\home\\a");
    EXPECT_EQ(platform::ToHostPath("Z:\\home\\a"), "/home/a");
    EXPECT_EQ(platform::ToHostPath("C:\\a"), std::nullopt);
    // Lock names of players in different game folders differ.
    EXPECT_EQ(platform::ExpandGameDrive("G:?quiltor"), game + "?quiltor");
    EXPECT_EQ(platform::ExpandGameDrive("Z:?quiltor"), "Z:?quiltor");
    // A player in the host root maps the root itself.
    platform::MapGameDrive("/");
    EXPECT_EQ(platform::ToHostPath("G:\\data\\x.txt"), "/data/x.txt");
}

TEST(HostPathTest, ShownTextNamesInternalPathsByTheirHostPaths)
{
    ScopedGameDrive drive("/home/a/game");
    const auto utf8 = [](const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); };
    const struct {
        std::string sjis;
        std::string shown;
    } cases[] = {
        // The bracket's second byte is a letter: the drive still starts a path.
        {"画像『G:/data/背景.bmp』が読み込めません。", utf8(u8"画像『/home/a/game/data/背景.bmp』が読み込めません。")},
        {"ファイルが無い G:\\data\\" + HyoujiSjis + ".mid", utf8(u8"ファイルが無い /home/a/game/data/") + HyoujiUtf8 + ".mid"},
        {"ファイル Z:\\tmp\\x.jpg が開けません。「z:/a」\"Z:/b\"", utf8(u8"ファイル /tmp/x.jpg が開けません。「/a」\"/b\"")},
        // Each path ends at the blank behind it, so the next is converted too.
        {"G:\\a.mid Z:\\tmp\\c.bmp\tG:/d", utf8(u8"/home/a/game/a.mid /tmp/c.bmp\t/home/a/game/d")},
        // No drive of ours, no drive after a letter or digit, no separator.
        {"C:\\x AG:/x 1Z:/x Z:x", "C:\\x AG:/x 1Z:/x Z:x"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::ShownText(c.sjis), c.shown) << c.shown;
}

TEST(HostPathTest, NamesOnTheGameDriveMatchWithoutCaseBelowItsFolder)
{
    TempFolder folder;
    folder.Put("Jos\xC3\xA9/game/Data/Index.txt", "x");
    ScopedGameDrive drive((folder.Host() / "Jos\xC3\xA9/game").string());
    EXPECT_EQ(platform::ResolveHostPath("G:\\DATA\\index.TXT"), (folder.Host() / "Jos\xC3\xA9/game/Data/Index.txt").string());
    platform::HostFileSystem files;
    EXPECT_NE(files.OpenRead("G:\\data\\index.txt"), nullptr);
    // A start script saved in capitals is found too.
    folder.Put("Jos\xC3\xA9/game/other/INDEX.TXT", "x");
    EXPECT_NE(files.OpenRead("G:\\other\\index.txt"), nullptr);
}

TEST(HostPathTest, ShiftJisNamesRoundTripAndKeepTheirSecondBytes)
{
    const std::string internal = "Z:\\data\\" + HyoujiSjis + "\\" + HyoujiSjis + ".txt";
    const std::string host = "/data/" + HyoujiUtf8 + "/" + HyoujiUtf8 + ".txt";
    EXPECT_EQ(platform::ToHostPath(internal), host);
    EXPECT_EQ(platform::ToInternalPath(host), internal);
    // A name ending in such a character ends in no separator.
    EXPECT_EQ(platform::ToHostPath("Z:\\" + HyoujiSjis), "/" + HyoujiUtf8);
}

TEST(HostPathTest, MissingNamesMatchPerFolderWithoutCase)
{
    TempFolder folder;
    folder.Put("Game/Data/BG/" + HyoujiUtf8 + "A.Bmp", "picture");
    const std::string base = platform::ToInternalPath(folder.Host().string());
    const auto resolve = [&](const std::string& rest) { return platform::ResolveHostPath(base + rest); };

    const std::string expected = (folder.Host() / "Game/Data/BG" / (HyoujiUtf8 + "A.Bmp")).string();
    EXPECT_EQ(resolve("\\game\\DATA\\bg\\" + HyoujiSjis + "a.bmp"), expected);
    EXPECT_EQ(resolve("\\Game\\Data\\BG\\" + HyoujiSjis + "A.Bmp"), expected);
    // Levels that exist are matched; the rest is kept for creating.
    EXPECT_EQ(resolve("\\GAME\\new\\File.txt"), (folder.Host() / "Game/new/File.txt").string());
    EXPECT_EQ(resolve("\\game\\data\\..\\DATA"), (folder.Host() / "Game/Data/../Data").string());
}

TEST(HostPathTest, SeveralCandidatesResolveTheSameEveryTime)
{
    TempFolder folder;
    folder.Put("readme.TXT", "upper");
    folder.Put("README.txt", "lower");
    const std::string base = platform::ToInternalPath(folder.Host().string());
    EXPECT_EQ(platform::ResolveHostPath(base + "\\Readme.txt"), (folder.Host() / "README.txt").string());
    EXPECT_EQ(platform::ResolveHostPath(base + "\\readme.TXT"), (folder.Host() / "readme.TXT").string());
}

TEST(HostFileSystemTest, ReplacementStaysAsideUntilCommitted)
{
    TempFolder folder;
    folder.Put("save.q", "old");
    platform::HostFileSystem files;
    const std::string name = platform::ToInternalPath((folder.Host() / "SAVE.Q").string());
    {
        auto out = files.CreateWrite(name);
        ASSERT_NE(out, nullptr);
        ASSERT_TRUE(out->Write("new", 3));
        EXPECT_EQ(folder.Get("save.q"), "old");
    }
    EXPECT_EQ(folder.Get("save.q"), "old") << "never committed";
    EXPECT_EQ(folder.CountEntries(), 1u);
    auto out = files.CreateWrite(name);
    ASSERT_TRUE(out->Write("new", 3));
    ASSERT_TRUE(out->Commit());
    EXPECT_EQ(folder.Get("save.q"), "new") << "the existing name, whatever its case";
    // Refused with the system's reason.
    std::error_code why;
    EXPECT_EQ(files.CreateWrite(platform::ToInternalPath(folder.Host().string()), why), nullptr) << "a folder";
    EXPECT_EQ(why, std::errc::is_a_directory);
    EXPECT_EQ(files.CreateWrite(platform::ToInternalPath((folder.Host() / "none/save.q").string()), why), nullptr);
    EXPECT_EQ(why, std::errc::no_such_file_or_directory);
    // Bytes the disk may not hold never replace it: a failed sync or close
    // keeps the old file, and the temporary goes.
    const platform::FileEnds failing[] = {
        {[](int) { return errno = EIO, -1; }, ::close},
        {::fsync, [](int fd) { ::close(fd); return errno = EIO, -1; }},
    };
    for (const platform::FileEnds& ends : failing) {
        auto failed = platform::CreateReplacingFile((folder.Host() / "save.q").string(), why, ends);
        ASSERT_TRUE(failed->Write("lost", 4));
        EXPECT_FALSE(failed->Commit());
        EXPECT_EQ(failed->Failure(), std::errc::io_error);
        failed.reset();
        EXPECT_EQ(folder.Get("save.q"), "new");
        EXPECT_EQ(folder.CountEntries(), 1u);
    }
}

TEST(HostFileSystemTest, WritesReplaceASymbolicLinkNeverItsTarget)
{
    TempFolder folder;
    folder.Put("user/notes.txt", "mine");
    fs::create_symlink(folder.Host() / "user/notes.txt", folder.Host() / "options.ini");
    fs::create_symlink(folder.Host() / "nowhere", folder.Host() / "dangling.ini");
    platform::HostFileSystem files;
    for (const char* name : {"options.ini", "dangling.ini"}) {
        auto out = files.CreateWrite(platform::ToInternalPath((folder.Host() / name).string()));
        ASSERT_NE(out, nullptr) << name;
        ASSERT_TRUE(out->Write("new", 3));
        ASSERT_TRUE(out->Commit());
        EXPECT_FALSE(fs::is_symlink(folder.Host() / name)) << name;
        EXPECT_EQ(folder.Get(name), "new");
    }
    EXPECT_EQ(folder.Get("user/notes.txt"), "mine");
    EXPECT_FALSE(folder.Has("nowhere"));
}

// The second name is the file as it was opened, put in place as a
// replacement is (a symbolic link there replaced, never its target); a later
// replacement of either name leaves the other. A file no name holds any more
// (its own replaced since it was opened) is given none; nor is one in memory.
TEST(HostFileSystemTest, ALinkGivesAnOpenFileASecondNameWhileANameStillHoldsIt)
{
    TempFolder folder;
    folder.Put("Save/index.q", "quick");
    folder.Put("user/notes.txt", "mine");
    fs::create_symlink(folder.Host() / "user/notes.txt", folder.Host() / "Save/index.a");
    const auto name = [&](const char* relative) { return platform::ToInternalPath((folder.Host() / relative).string()); };
    platform::HostFileSystem files;
    const auto replace = [&](const char* file, std::string_view bytes) {
        auto out = files.CreateWrite(name(file));
        return out && out->Write(bytes.data(), bytes.size()) && out->Commit();
    };
    std::error_code why;
    const std::unique_ptr<platform::IReadFile> quick = files.OpenRead(name("Save/index.q"));
    ASSERT_TRUE(quick->Link(name("Save/index.a"), why)) << why.message();
    ASSERT_TRUE(replace("Save/index.q", "new"));
    EXPECT_EQ(folder.Get("Save/index.a"), "quick");
    EXPECT_EQ(folder.Get("Save/index.q"), "new");
    EXPECT_EQ(folder.Get("user/notes.txt"), "mine") << "the symbolic link's target written";
    EXPECT_TRUE(quick->Link(name("Save/index.a"), why)) << "still named index.a, linked over itself: " << why.message();
    const std::unique_ptr<platform::IReadFile> replaced = files.OpenRead(name("Save/index.q"));
    ASSERT_TRUE(replace("Save/index.q", "newer"));
    EXPECT_FALSE(replaced->Link(name("Save/index.a"), why));
    EXPECT_EQ(why, std::errc::no_such_file_or_directory);
    EXPECT_EQ(folder.Get("Save/index.a"), "quick");
    EXPECT_FALSE(quick->Link(name("Save"), why));
    EXPECT_EQ(why, std::errc::is_a_directory);
    EXPECT_EQ(folder.CountEntries(), 5u) << "no temporary left";

    platform::MemoryFileSystem memory;
    memory.Put(name("Save/index.q"), "quick");
    EXPECT_FALSE(memory.OpenRead(name("Save/index.q"))->Link(name("Save/index.a"), why));
    EXPECT_FALSE(memory.Exists(name("Save/index.a")));
}

TEST(HostFileSystemTest, FifosAndDevicesAreRefusedWithoutBlockingAndWithTheirReason)
{
    TempFolder folder;
    ASSERT_EQ(mkfifo((folder.Host() / "index.txt").c_str(), 0600), 0);
    const std::string fifo = platform::ToInternalPath((folder.Host() / "index.txt").string());
    platform::HostFileSystem files;
    std::vector<bool> opened;
    std::vector<std::error_code> reasons;
    // An open that blocks never returns: ctest's timeout catches it.
    for (const std::string& name : {fifo, std::string("Z:\\dev\\null")}) {
        std::error_code why;
        opened.push_back(files.OpenRead(name, why) != nullptr);
        reasons.push_back(why);
        for (const char* mode : {"r", "rb", "r+", "a"}) {
            std::FILE* stream = files.OpenStream(name, mode);
            opened.push_back(stream != nullptr);
            if (stream) std::fclose(stream);
        }
    }
    EXPECT_EQ(opened, std::vector<bool>(10, false));
    EXPECT_EQ(reasons, std::vector<std::error_code>(2, std::make_error_code(std::errc::no_such_device)));
    EXPECT_EQ(files.CreateWrite(fifo), nullptr);

    // A reader is told a folder and a missing file apart from these.
    fs::create_directory(folder.Host() / "Save");
    for (const auto& [name, reason] : {std::pair{"Save", std::errc::is_a_directory}, {"gone.txt", std::errc::no_such_file_or_directory}}) {
        std::error_code why;
        EXPECT_EQ(files.OpenRead(platform::ToInternalPath((folder.Host() / name).string()), why), nullptr) << name;
        EXPECT_EQ(why, std::make_error_code(reason)) << name;
    }
}

TEST(HostFileSystemTest, StaleTemporariesOfEndedWritersAreRemoved)
{
    TempFolder folder;
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    ASSERT_GT(ended, 0);
    waitpid(ended, nullptr, 0);
    const std::string dead = std::to_string(ended), alive = std::to_string(getppid());
    const std::vector<std::string> stale = {"option.qsd." + dead + ".0.tmp", "option.qsd." + dead + ".17.tmp"};
    const std::vector<std::string> kept = {"option.qsd." + alive + ".3.tmp", "other.qsd." + dead + ".0.tmp",
                                           "option.qsd." + dead + ".x.tmp", "option.qsd." + dead + ".0.tmp.bak"};
    for (const auto& name : stale) folder.Put(name, "half");
    for (const auto& name : kept) folder.Put(name, "keep");
    platform::HostFileSystem files;
    auto out = files.CreateWrite(platform::ToInternalPath((folder.Host() / "option.qsd").string()));
    ASSERT_TRUE(out->Write("new", 3));
    ASSERT_TRUE(out->Commit());
    for (const auto& name : stale) EXPECT_FALSE(folder.Has(name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(folder.Has(name)) << name;
    EXPECT_EQ(folder.Get("option.qsd"), "new");
}

TEST(HostFileSystemTest, TemporaryFilesLieInTmpdir)
{
    TempFolder folder;
    const char* saved = std::getenv("TMPDIR");
    const std::string savedValue = saved ? saved : "";
    setenv("TMPDIR", folder.Host().c_str(), 1);
    platform::HostFileSystem files;
    const std::string name = files.MakeTemporaryFile();
    if (saved) setenv("TMPDIR", savedValue.c_str(), 1);
    else unsetenv("TMPDIR");

    const std::string prefix = platform::ToInternalPath(folder.Host().string()) + "\\KVO";
    ASSERT_EQ(name.substr(0, prefix.size()), prefix);
    EXPECT_TRUE(files.Exists(name));
    EXPECT_TRUE(files.Delete(name));
    EXPECT_FALSE(files.Exists(name));
}

TEST(HostFileSystemTest, ProcessPathsInInternalForm)
{
    platform::HostFileSystem files;
    EXPECT_EQ(files.ExecutablePath(), platform::ToInternalPath(fs::read_symlink("/proc/self/exe").string()));
    EXPECT_EQ(files.CurrentDirectory(), platform::ToInternalPath(fs::current_path().string()));
    EXPECT_EQ(files.ExecutablePath().substr(0, 3), "Z:\\");
}

// The program started through a symbolic link in a game folder plays that
// folder's game; argv[0] that is no path to it leaves the program's own folder.
TEST(HostFileSystemTest, PlayerStartedThroughALinkLiesInTheLinksFolder)
{
    TempFolder folder;
    const fs::path real = fs::read_symlink("/proc/self/exe");
    const fs::path game = fs::canonical(folder.Host()) / "game";
    fs::create_directories(game);
    fs::create_symlink(real, game / "player");
    folder.Put("other", "not the player");
    const struct {
        std::string startedAs;
        fs::path expected;
    } cases[] = {
        {(game / "player").string(), game / "player"},
        {(game / "player").lexically_relative(fs::current_path()).string(), game / "player"},
        {(folder.Host() / "game/../game/player").string(), game / "player"},
        {"player", real},
        {folder.Host("other").string(), real},
        {(game / "missing").string(), real},
    };
    platform::HostFileSystem files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.startedAs);
        platform::SetPlayerStartedAs(c.startedAs.c_str());
        platform::MapGameDriveToPlayerFolder();
        EXPECT_EQ(files.ExecutablePath(), platform::ToInternalPath(c.expected.string()));
        EXPECT_EQ(platform::GameDriveFolder(), c.expected.parent_path().string());
    }
    platform::SetPlayerStartedAs(nullptr);
    platform::MapGameDrive("");
}

} // namespace
