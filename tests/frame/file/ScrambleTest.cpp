#include <gtest/gtest.h>

#include "frame/file/File.h"
#include "tests/frame/file/ArchiveBuilder.h"
#include "tests/kit/TempFolder.h"

using namespace kivotasuGameKit;

namespace {

std::string Image(const CFile& file)
{
    return std::string(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
}

std::string EveryByte()
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    return all;
}

TEST(ScrambleTest, ScrambledFilesLoadUnscrambledBehindTheMagic)
{
    TempFolder folder;
    folder.Put("s.txt", ArchiveBuilder::Scrambled(EveryByte()));
    folder.Put("empty.txt", "KPK1");
    folder.Put("inside.txt", "abKPK1cd");
    folder.Put("short.txt", "KPK");
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("s.txt"), FileKind::Text), platform::ReadResult::Done);
    EXPECT_EQ(Image(file), EveryByte());
    ASSERT_EQ(file.Read(folder.Internal("empty.txt"), FileKind::Text), platform::ReadResult::Done);
    EXPECT_EQ(file.GetSize(), 0u);
    std::string line;
    EXPECT_EQ(file.ReadLine(line), 1);
    ASSERT_EQ(file.Read(folder.Internal("inside.txt"), FileKind::Text), platform::ReadResult::Done);
    EXPECT_EQ(Image(file), "abKPK1cd");
    ASSERT_EQ(file.Read(folder.Internal("short.txt"), FileKind::Text), platform::ReadResult::Done);
    EXPECT_EQ(Image(file), "KPK");
}

TEST(ScrambleTest, EncodeScramblesTheWholeImageForWriting)
{
    TempFolder folder;
    folder.Put("plain.bin", EveryByte() + "\r\nKPK1 later");
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("plain.bin"), FileKind::Text), platform::ReadResult::Done);
    // The magic is looked for at the read position, not at the data's start.
    std::string line;
    ASSERT_EQ(file.ReadLine(line), 0);
    EXPECT_EQ(file.Encode(), 1) << "the read position stands on KPK1";
    file.Rewind();
    ASSERT_EQ(file.Encode(), 0);
    EXPECT_EQ(file.GetName(), "");
    EXPECT_EQ(Image(file), ArchiveBuilder::Scrambled(EveryByte() + "\r\nKPK1 later"));
    EXPECT_EQ(file.Encode(), 1) << "already scrambled: the position is at the magic";
    EXPECT_EQ(file.ReadLine(line), 0);
    EXPECT_EQ(line.substr(0, 4), "KPK1");

    ASSERT_EQ(file.WriteTo(folder.Internal("out.bin")), 0);
    CFile again;
    ASSERT_EQ(again.Read(folder.Internal("out.bin"), FileKind::Text), platform::ReadResult::Done);
    EXPECT_EQ(Image(again), EveryByte() + "\r\nKPK1 later");
    EXPECT_EQ(again.Encode(), 1) << "loaded scrambled";
}

TEST(ScrambleTest, EncodeRefusesEmptyAndMagicImages)
{
    TempFolder folder;
    folder.Put("magic.txt", "KPK1");
    folder.Put("three.txt", "KPK");
    CFile file;
    EXPECT_EQ(file.Encode(), 1) << "nothing loaded";
    // Borrowed through a memory name: the 4 bytes tested are the data's own.
    static const char block[] = "KPK1xyz";
    const CMemoryName name(block, 7);
    ASSERT_EQ(file.Read(name.Get(), FileKind::Text), platform::ReadResult::Done);
    EXPECT_EQ(file.Encode(), 1);
    ASSERT_EQ(file.Read(folder.Internal("three.txt"), FileKind::Text), platform::ReadResult::Done);
    ASSERT_EQ(file.Encode(), 0);
    EXPECT_EQ(Image(file), ArchiveBuilder::Scrambled("KPK"));
}

TEST(ScrambleTest, ScrambledTemporaryCopiesHoldThePlainBytes)
{
    TempFolder folder;
    folder.Put("song.mid", ArchiveBuilder::Scrambled("MThd plain"));
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("song.mid"), FileKind::Text), platform::ReadResult::Done);
    ASSERT_EQ(file.CreateTemporary(false), 0);
    EXPECT_NE(file.GetName(), folder.Internal("song.mid"));
    CFile copy;
    ASSERT_EQ(copy.Read(file.GetName(), FileKind::Text), platform::ReadResult::Done);
    EXPECT_EQ(Image(copy), "MThd plain");
}

} // namespace
