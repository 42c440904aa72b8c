#include <gtest/gtest.h>

#include "frame/InitExitList.h"
#include "frame/file/File.h"
#include "platform/FileSystem.h"

using kivotasuGameKit::CFile;

namespace {

class NormalizePathTest : public ::testing::Test {
protected:
    void SetUp() override { m_saved = CFile::GetCurrentDir(); }
    void TearDown() override { CFile::SetCurrentDir(m_saved); }

private:
    std::string m_saved;
};

TEST_F(NormalizePathTest, RelativePathsGoOnFromTheCurrentDirectory)
{
    CFile::SetCurrentDir("C:\\game\\");
    EXPECT_EQ(CFile::NormalizePath("sub/a.txt"), "C:\\game\\sub\\a.txt");
    EXPECT_EQ(CFile::NormalizePath("../a.txt"), "C:\\a.txt");
    EXPECT_EQ(CFile::NormalizePath("/a.txt"), "C:\\game\\a.txt");
    EXPECT_EQ(CFile::NormalizePath(".\\.\\x"), "C:\\game\\x");
    CFile::SetCurrentDir("C:\\");
    EXPECT_EQ(CFile::NormalizePath("./../../../x"), "C:\\x");
}

TEST_F(NormalizePathTest, AbsoluteAndNetworkPathsOnlyTurnSlashes)
{
    CFile::SetCurrentDir("C:\\game\\");
    EXPECT_EQ(CFile::NormalizePath("D:/x/y"), "D:\\x\\y");
    EXPECT_EQ(CFile::NormalizePath("\\\\srv\\share/a"), "\\\\srv\\share\\a");
}

TEST_F(NormalizePathTest, SecondBytesAreNeverSeparators)
{
    // "表" is 0x95 0x5C: its second byte is a backslash.
    CFile::SetCurrentDir("Z:\\表\\");
    EXPECT_EQ(CFile::NormalizePath("表/a"), "Z:\\表\\表\\a");
    CFile::SetCurrentDir("Z:\\a表");
    EXPECT_EQ(CFile::GetCurrentDir(), "Z:\\a表\\");
    std::string path = "Z:\\a\\表";
    EXPECT_EQ(CFile::ToParentFolder(path), 0);
    EXPECT_EQ(path, "Z:\\a\\");
    EXPECT_EQ(CFile::GetPureFileName("Z:\\x\\表"), "表");
}

TEST_F(NormalizePathTest, QuotedProgramPathBecomesItsFolder)
{
    CFile::SetCurrentDir("\"C:\\game\\quiltor.exe\"");
    EXPECT_EQ(CFile::GetCurrentDir(), "C:\\game\\");
    CFile::SetCurrentDir("C:\\game");
    EXPECT_EQ(CFile::GetCurrentDir(), "C:\\game\\");
}

TEST_F(NormalizePathTest, StartListRecordsTheProcessDirectory)
{
    CFile::SetCurrentDir("C:\\elsewhere\\");
    kivotasuGameKit::CInitExitList::GetInstance()->RunStart();
    EXPECT_EQ(CFile::GetCurrentDir(), platform::FileSystem().CurrentDirectory() + "\\");
}

TEST(ToParentFolderTest, CutsOneLevelAndStopsAtTheRoot)
{
    struct Case {
        const char* path;
        const char* parent;
        int result;
    };
    const Case cases[] = {
        {"C:\\a\\b.txt", "C:\\a\\", 0}, {"C:\\a\\b\\", "C:\\a\\", 0}, {"C:\\", "C:\\", 1},
        {"name", "name\\", 0},          {"", "", 1},                  {"\\\\srv\\share\\", "\\\\srv\\", 0},
        {"\\\\srv\\", "\\\\srv\\", 1},  {"C:/a/b", "C:/a/", 0},
    };
    for (const Case& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(CFile::ToParentFolder(path), c.result) << c.path;
        EXPECT_EQ(path, c.parent) << c.path;
    }
}

TEST(FileNameTest, PureNameAndSuffix)
{
    EXPECT_EQ(CFile::GetSuffix("a.b\\c"), "");
    EXPECT_EQ(CFile::GetSuffix("x.tar.gz"), "gz");
    EXPECT_EQ(CFile::GetPureFileName("a/b\\c.txt"), "c.txt");
    EXPECT_EQ(CFile::GetPureFileName(""), "");
    EXPECT_EQ(CFile::GetPureFileName("plain"), "plain");
}

} // namespace
