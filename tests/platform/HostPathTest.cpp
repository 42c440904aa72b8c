#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/HostFileSystem.h"
#include "platform/HostNameResolver.h"
#include "platform/HostPath.h"
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
    EXPECT_EQ(files.CreateWrite(platform::ToInternalPath(folder.Host().string())), nullptr) << "a folder";
}

TEST(HostFileSystemTest, WritesGoThroughSymbolicLinks)
{
    TempFolder folder;
    folder.Put("real/options.ini", "old");
    fs::create_symlink(folder.Host() / "real/options.ini", folder.Host() / "options.ini");
    platform::HostFileSystem files;
    auto out = files.CreateWrite(platform::ToInternalPath((folder.Host() / "options.ini").string()));
    ASSERT_TRUE(out->Write("new", 3));
    ASSERT_TRUE(out->Commit());
    EXPECT_TRUE(fs::is_symlink(folder.Host() / "options.ini"));
    EXPECT_EQ(folder.Get("real/options.ini"), "new");
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

} // namespace
