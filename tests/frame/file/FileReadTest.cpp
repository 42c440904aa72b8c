#include <gtest/gtest.h>

#include "frame/file/File.h"
#include "tests/kit/TempFolder.h"

using kivotasuGameKit::CFile;
using kivotasuGameKit::FileKind;
using kivotasuGameKit::CMemoryName;

namespace {

std::string Image(const CFile& file)
{
    return std::string(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
}

TEST(FileReadTest, PlainFileIsReadWholeWithATerminatorBehind)
{
    TempFolder folder;
    folder.Put("a.txt", "hello");
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("a.txt"), FileKind::Text), 0);
    EXPECT_EQ(Image(file), "hello");
    EXPECT_EQ(file.GetMemory()[5], 0);
    EXPECT_EQ(file.GetName(), folder.Internal("a.txt"));
    EXPECT_EQ(file.GetSuffixOfName(), "txt");
}

TEST(FileReadTest, MissingNamesAndEmptyNames)
{
    TempFolder folder;
    CFile file;
    EXPECT_EQ(file.Read(folder.Internal("none.txt"), FileKind::Text), 1);
    EXPECT_EQ(file.GetMemory(), nullptr);
    EXPECT_EQ(file.GetName(), "");
    EXPECT_EQ(file.Read("", FileKind::Text), -1);
    EXPECT_EQ(file.Read(folder.Internal(), FileKind::Text), 1) << "a folder is no file";
}

TEST(FileReadTest, RelativeNamesGoThroughTheCurrentDirectory)
{
    TempFolder folder;
    folder.Put("sub/b.txt", "b");
    const std::string saved = CFile::GetCurrentDir();
    CFile::SetCurrentDir(folder.Internal());
    CFile file;
    EXPECT_EQ(file.Read("sub/b.txt", FileKind::Text), 0);
    EXPECT_EQ(file.GetName(), "sub/b.txt") << "the name stays as it was given";
    EXPECT_EQ(file.Read(".\\sub\\..\\sub\\b.txt", FileKind::Text), 0);
    CFile::SetCurrentDir(saved);
}

TEST(FileReadTest, LinesSplitAtCrLfOnly)
{
    TempFolder folder;
    folder.Put("lines.txt", "ab\r\ncd\re\nf");
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("lines.txt"), FileKind::Text), 0);
    std::string line;
    EXPECT_EQ(file.ReadLine(line), 0);
    EXPECT_EQ(line, "ab");
    EXPECT_EQ(file.ReadLine(line), 0);
    EXPECT_EQ(line, "cd\re\nf");
    // The last line had no CR LF: the position rests at the end.
    EXPECT_EQ(file.ReadLine(line), 1);
    EXPECT_EQ(file.ReadLine(line), 1);
    file.Rewind();
    EXPECT_EQ(file.ReadLine(line), 0);
    EXPECT_EQ(line, "ab");
    file.Close();
    EXPECT_EQ(file.ReadLine(line), 3);
}

TEST(FileReadTest, LineEndingInCrLfAtTheEndLeavesNoEmptyLine)
{
    TempFolder folder;
    folder.Put("x.txt", "ab\r\ncd\r\n");
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("x.txt"), FileKind::Text), 0);
    std::string line;
    EXPECT_EQ(file.ReadLine(line), 0);
    EXPECT_EQ(file.ReadLine(line), 0);
    EXPECT_EQ(line, "cd");
    EXPECT_EQ(file.ReadLine(line), 1);
}

TEST(FileReadTest, LinesIntoABufferGoOnWhereTheBufferFilled)
{
    TempFolder folder;
    folder.Put("x.txt", "abcdef\r\nabc\r\nxy");
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("x.txt"), FileKind::Text), 0);
    char buffer[4];
    EXPECT_EQ(file.ReadLineToBuffer(buffer, 4), 2);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(file.ReadLineToBuffer(buffer, 4), 0);
    EXPECT_STREQ(buffer, "def");
    EXPECT_EQ(file.ReadLineToBuffer(buffer, 4), 0) << "a line that just fits";
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(file.ReadLineToBuffer(buffer, 1), 2);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(file.ReadLineToBuffer(buffer, 4), 0);
    EXPECT_STREQ(buffer, "xy");
    EXPECT_EQ(file.ReadLineToBuffer(buffer, 4), 1);
}

TEST(FileReadTest, QuotedTextSpansLines)
{
    TempFolder folder;
    folder.Put("q.txt", "\"one\r\ntwo\"\r\n\"\"\r\n\"END\"\r\n\"open");
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("q.txt"), FileKind::Text), 0);
    char out[64];
    EXPECT_EQ(file.ReadQuotedText(out, 256), 0);
    EXPECT_STREQ(out, "one\ntwo");
    EXPECT_EQ(file.ReadQuotedText(out, 256), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(file.ReadQuotedText(out, 256), 1) << "the END line";
    EXPECT_EQ(file.ReadQuotedText(out, 256), 1) << "no closing quote before the end";
}

TEST(FileReadTest, BytesAreServedOnlyWhileTheImageHoldsThem)
{
    TempFolder folder;
    folder.Put("b.bin", std::string("\x01\x02\x03", 3));
    CFile file;
    char bytes[4] = {};
    EXPECT_EQ(file.ReadBytes(bytes, 1), 2);
    ASSERT_EQ(file.Read(folder.Internal("b.bin"), FileKind::Text), 0);
    EXPECT_EQ(file.ReadBytes(bytes, 2), 0);
    EXPECT_EQ(bytes[1], 2);
    EXPECT_EQ(file.ReadBytes(bytes, 2), 1) << "one byte is left";
    EXPECT_EQ(file.ReadBytes(bytes, 1), 0);
    EXPECT_EQ(bytes[0], 3);
}

TEST(FileReadTest, MemoryNamesBorrowTheBlock)
{
    static const char block[] = "in memory";
    const CMemoryName name(block, 9);
    CFile file;
    ASSERT_EQ(file.Read(name.Get(), FileKind::Text), 0);
    EXPECT_EQ(file.GetMemory(), reinterpret_cast<const std::uint8_t*>(block));
    EXPECT_EQ(Image(file), "in memory");
    EXPECT_EQ(file.GetName(), name.Get());
}

// A script, a save or the options file can name any text: only the program's
// own live names reach memory, every other "!" name is a file name.
TEST(FileReadTest, MemoryNamesFromOutsideAreFileNames)
{
    static const char block[] = "secret";
    std::string forged;
    {
        const CMemoryName name(block, 6);
        forged = name.Get();
    }
    CFile file;
    EXPECT_EQ(file.Read(forged, FileKind::Text), 1) << "the name died with its object";
    EXPECT_EQ(file.Read("!1234", FileKind::Text), 1);
    EXPECT_EQ(file.Read("!x,y", FileKind::Text), 1);

    TempFolder folder;
    folder.Put(forged, "on disk");
    ASSERT_EQ(file.Read(folder.Internal(forged), FileKind::Text), 0);
    EXPECT_EQ(Image(file), "on disk");
    const std::string saved = CFile::GetCurrentDir();
    CFile::SetCurrentDir(folder.Internal());
    EXPECT_EQ(file.Read(forged, FileKind::Text), 0) << "read from the current folder";
    EXPECT_EQ(Image(file), "on disk");
    CFile::SetCurrentDir(saved);
}

} // namespace
