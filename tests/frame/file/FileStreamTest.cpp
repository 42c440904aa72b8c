#include <gtest/gtest.h>

#include "frame/file/File.h"
#include "tests/kit/TempFolder.h"

using namespace kivotasuGameKit;

namespace {

TEST(FileStreamTest, TextStreamsWriteCrLf)
{
    TempFolder folder;
    CFile file;
    ASSERT_EQ(file.Open(folder.Internal("keys.txt"), "w"), 0);
    EXPECT_EQ(file.GetName(), folder.Internal("keys.txt"));
    EXPECT_EQ(file.Out("#wav CWaveStream\n#mp3 CACMStream\n"), 0);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(folder.Get("keys.txt"), "#wav CWaveStream\r\n#mp3 CACMStream\r\n");
    EXPECT_EQ(file.Out("x"), -1) << "closed";

    // Read back as text, then as binary.
    ASSERT_EQ(file.Open(folder.Internal("keys.txt"), "r"), 0);
    char line[64];
    ASSERT_NE(std::fgets(line, sizeof line, file.GetFilePtr()), nullptr);
    EXPECT_STREQ(line, "#wav CWaveStream\n");
    ASSERT_EQ(file.Open(folder.Internal("keys.txt"), "rb"), 0);
    ASSERT_NE(std::fgets(line, sizeof line, file.GetFilePtr()), nullptr);
    EXPECT_STREQ(line, "#wav CWaveStream\r\n");
    file.Close();

    EXPECT_EQ(file.WriteStrings(folder.Internal("list.txt"), {"a\n", "b", "c\n"}), 0);
    EXPECT_EQ(folder.Get("list.txt"), "a\r\nbc\r\n");
}

TEST(FileStreamTest, BinaryStreamsSeekAndKeepBytes)
{
    TempFolder folder;
    folder.Put("w.bin", "RIFF\n\r\nDATA");
    CFile file;
    ASSERT_EQ(file.Open(folder.Internal("w.bin"), "rb"), 0);
    std::FILE* stream = file.GetFilePtr();
    ASSERT_EQ(std::fseek(stream, 4, SEEK_SET), 0);
    char bytes[4];
    ASSERT_EQ(std::fread(bytes, 1, 3, stream), 3u);
    EXPECT_EQ(std::string(bytes, 3), "\n\r\n");
    EXPECT_EQ(std::ftell(stream), 7);
}

TEST(FileStreamTest, OpenFailsForMissingFilesAndFolders)
{
    TempFolder folder;
    CFile file;
    EXPECT_EQ(file.Open(folder.Internal("none.txt"), "rb"), 1);
    EXPECT_EQ(file.Open(folder.Internal(), "rb"), 1);
    EXPECT_EQ(file.Open(folder.Name("no\\x.txt"), "w"), 1);
    EXPECT_EQ(file.GetFilePtr(), nullptr);
}

TEST(FileStreamTest, StreamsAndImagesReplaceEachOther)
{
    TempFolder folder;
    folder.Put("a.txt", "image");
    CFile file;
    ASSERT_EQ(file.Open(folder.Internal("b.txt"), "w"), 0);
    ASSERT_EQ(file.Read(folder.Internal("a.txt"), FileKind::Text), platform::ReadResult::Done);
    EXPECT_EQ(file.GetFilePtr(), nullptr);
    EXPECT_EQ(file.GetSize(), 5u);
    ASSERT_EQ(file.Open(folder.Internal("a.txt"), "rb"), 0);
    EXPECT_EQ(file.GetMemory(), nullptr);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(file.GetName(), folder.Internal("a.txt")) << "closing the stream leaves the rest";
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(file.GetName(), "");
}

TEST(FileStreamTest, DeleteAndExistence)
{
    TempFolder folder;
    folder.Put("x.txt", "x");
    EXPECT_TRUE(IsFileExist(folder.Internal("x.txt").c_str()));
    EXPECT_TRUE(IsFileExist(CTextString(folder.Internal())));
    EXPECT_TRUE(IsFileExist(folder.Name("X.TXT").c_str())) << "case differs";
    CFile file;
    EXPECT_EQ(file.Delete(""), -1);
    EXPECT_EQ(file.Delete(folder.Name("X.txt")), 0);
    EXPECT_FALSE(folder.Has("x.txt"));
    EXPECT_EQ(file.Delete(folder.Internal("x.txt")), 1);
    EXPECT_FALSE(IsFileExist(folder.Internal("x.txt").c_str()));
}

} // namespace
