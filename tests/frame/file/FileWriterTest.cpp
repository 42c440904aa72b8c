#include <gtest/gtest.h>

#include <stdexcept>

#include "frame/EScript.h"
#include "frame/Exceptions.h"
#include "frame/file/File.h"
#include "frame/file/FileWriter.h"
#include "frame/file/GlobalBlock.h"
#include "tests/frame/file/FaultyFileSystem.h"
#include "tests/kit/TempFolder.h"

using namespace kivotasuGameKit;
using Fault = FaultyFileSystem::Fault;

namespace {

class FileWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fault = &FaultyFileSystem::Install();
        m_folder.Put("save.a", "old save");
    }
    void TearDown() override { FaultyFileSystem::Uninstall(); }

    std::string Target() const { return m_folder.Internal("save.a"); }
    // The old file is whole and nothing else was left beside it.
    void ExpectOldFileIntact() const
    {
        EXPECT_EQ(m_folder.Get("save.a"), "old save");
        EXPECT_EQ(m_folder.CountEntries(), 1u);
    }

    TempFolder m_folder;
    Fault* m_fault = nullptr;
};

TEST_F(FileWriterTest, CloseReplacesTheFileAndKeepsItsPermissions)
{
    namespace fs = std::filesystem;
    fs::permissions(m_folder.Host("save.a"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    CFileWriter writer(Target());
    writer.Write("[LOCK]\n");
    writer.Write("abc", 2);
    // Until Close, a crash would leave the old file.
    EXPECT_EQ(m_folder.Get("save.a"), "old save");
    writer.Close();
    EXPECT_EQ(m_folder.Get("save.a"), "[LOCK]\nab");
    EXPECT_EQ(fs::status(m_folder.Host("save.a")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(m_folder.CountEntries(), 1u);
}

TEST_F(FileWriterTest, TextWriterPutsItsFileInPlaceWhenDestroyed)
{
    {
        CTextFileWriter writer(m_folder.Internal("new.txt"));
        writer.Write("line\n");
        writer.WriteBytes("xy", 2);
        EXPECT_FALSE(m_folder.Has("new.txt"));
    }
    EXPECT_EQ(m_folder.Get("new.txt"), "line\nxy");
}

TEST_F(FileWriterTest, FailedWriteThrowsAndKeepsTheOldFile)
{
    {
        CTextFileWriter writer(Target());
        writer.Write("half");
        *m_fault = Fault::Write;
        try {
            writer.Write("rest");
            FAIL() << "no exception";
        } catch (const EScript& e) {
            EXPECT_EQ(e.GetMessage(), CTextString("ファイルへのデータの書き込みに失敗しました。"));
        }
    }
    ExpectOldFileIntact();
}

TEST_F(FileWriterTest, InterruptionBetweenWriteAndRenameKeepsTheOldFile)
{
    CFileWriter writer(Target());
    writer.Write("new save");
    *m_fault = Fault::Commit;
    EXPECT_THROW(writer.Close(), EScript);
    ExpectOldFileIntact();
}

TEST_F(FileWriterTest, UnwindingDiscardsTheHalfWrittenText)
{
    try {
        CTextFileWriter writer(Target());
        writer.Write("[LOCK]\n");
        throw std::runtime_error("an element failed to save");
    } catch (const std::runtime_error&) {
    }
    ExpectOldFileIntact();
}

TEST_F(FileWriterTest, UnopenableNameIsNamedInTheMessage)
{
    const std::string name = m_folder.Name("no folder\\x.txt");
    try {
        CFileWriter writer(name);
        FAIL() << "no exception";
    } catch (const EScript& e) {
        EXPECT_EQ(e.GetMessage(), CTextString("ファイル ") + CTextString(name) + CTextString(" が開けません。"));
    }
    EXPECT_THROW(CTextFileWriter writer(m_folder.Internal()), EScript) << "a folder";
}

TEST_F(FileWriterTest, WholeFileWritesReportEachFailedStep)
{
    CFile file;
    EXPECT_EQ(file.Write(m_folder.Name("none\\x"), "x", 1), 1);
    *m_fault = Fault::Write;
    EXPECT_EQ(file.Write(Target(), "new", 3), 2);
    *m_fault = Fault::Commit;
    EXPECT_EQ(file.Write(Target(), "new", 3), 3);
    ExpectOldFileIntact();
    *m_fault = Fault::None;
    EXPECT_EQ(file.WriteVector(Target(), {'n', 'e', 'w'}), 0);
    EXPECT_EQ(m_folder.Get("save.a"), "new");
}

TEST(GlobalBlockTest, ZeroFilledAndBounded)
{
    CGlobalBlock block;
    block.Alloc(8);
    EXPECT_EQ(block.GetPtr()[7], 0);
    block.Write(6, "ab", 2);
    EXPECT_EQ(block.GetPtr()[7], 'b');
    EXPECT_THROW(block.Write(7, "ab", 2), KTL::CIndexOutOfBoundsException);
    EXPECT_THROW(block.Write(SIZE_MAX, "a", 1), KTL::CIndexOutOfBoundsException);
    block.Free();
    EXPECT_EQ(block.GetPtr(), nullptr);
}

} // namespace
