#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "frame/file/File.h"
#include "platform/FileSystem.h"
#include "platform/MemoryReadFile.h"
#include "tests/frame/file/ArchiveBuilder.h"
#include "tests/kit/SteppedReadFile.h"
#include "tests/kit/TempFolder.h"

using namespace kivotasuGameKit;

namespace {

const std::string Text = "[TEXT BODY=\"compressible compressible compressible compressible\"]\r\n";

std::string ReadImage(const std::string& name, ReadFailure* result = nullptr)
{
    CFile file;
    ReadFailure failure = ReadFailure::None;
    const bool read = file.Read(name, FileKind::Text, &failure) == platform::ReadResult::Done;
    if (result) *result = failure;
    if (!read) return failure == ReadFailure::NotFound ? "<not found>" : "<failed>";
    return std::string(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
}

class ArchiveFormatTest : public ::testing::TestWithParam<ArchiveFormat> {
protected:
    TempFolder m_folder;
};

TEST_P(ArchiveFormatTest, PlainCompressedAndScrambledMembers)
{
    const bool compresses = GetParam() != ArchiveFormat::Pack;
    m_folder.Put("data.dat", ArchiveBuilder(GetParam())
                                 .Add("plain.txt", "plain bytes")
                                 .Add("packed.txt", Text, true)
                                 .Add("secret.txt", ArchiveBuilder::Scrambled("hidden"))
                                 .Add("both.txt", ArchiveBuilder::Scrambled(Text), true)
                                 .Build());
    EXPECT_EQ(ReadImage(m_folder.Name("data\\plain.txt")), "plain bytes");
    EXPECT_EQ(ReadImage(m_folder.Name("data\\packed.txt")), Text);
    const std::string archive = m_folder.Get("data.dat");
    EXPECT_EQ(archive.find("compressible compressible") == std::string::npos, compresses) << "stored compressed";
    EXPECT_EQ(ReadImage(m_folder.Name("data\\secret.txt")), "hidden");
    EXPECT_EQ(ReadImage(m_folder.Name("data\\both.txt")), Text) << "unscrambled after expanding";
    EXPECT_EQ(ReadImage(m_folder.Name("data\\none.txt")), "<not found>");

    CFile file;
    ASSERT_EQ(file.Read(m_folder.Name("data/packed.txt"), FileKind::Text), platform::ReadResult::Done);
    EXPECT_EQ(file.GetName(), m_folder.Name("data/packed.txt"));
    std::string line;
    EXPECT_EQ(file.ReadLine(line), 0);
    EXPECT_EQ(line + "\r\n", Text);
}

TEST_P(ArchiveFormatTest, NestedFoldersAreFoundThroughEnclosingArchives)
{
    // data.dat holds bg\a.bmp; data\bg.dat exists but lacks it.
    m_folder.Put("g/data.dat", ArchiveBuilder(GetParam()).Add("bg\\a.bmp", "from data.dat").Build());
    m_folder.Put("g/data/bg.dat", ArchiveBuilder(GetParam()).Add("other.bmp", "x").Build());
    m_folder.Put("g.dat", ArchiveBuilder(GetParam()).Add("data\\bg\\deep.bmp", "from g.dat").Build());
    EXPECT_EQ(ReadImage(m_folder.Name("g\\data\\bg\\a.bmp")), "from data.dat");
    EXPECT_EQ(ReadImage(m_folder.Name("g\\data\\bg\\other.bmp")), "x");
    EXPECT_EQ(ReadImage(m_folder.Name("g\\data\\bg\\deep.bmp")), "from g.dat");
    // The look-up without a read finds what the read finds, and only that.
    m_folder.Put("g/data/bg/plain.bmp", "on the disk");
    for (const char* name : {"a.bmp", "other.bmp", "deep.bmp", "plain.bmp", "none.bmp"}) {
        const std::string path = m_folder.Name(std::string("g\\data\\bg\\") + name);
        ReadFailure read = ReadFailure::None;
        ReadImage(path, &read);
        EXPECT_EQ(CFile::Find(path) == platform::ReadResult::Done, read == ReadFailure::None) << name;
    }
}

TEST_P(ArchiveFormatTest, NamesMatchWithoutCaseButSecondBytesStay)
{
    // "表" is 0x95 0x5C and "ソ" 0x83 0x5C: a backslash second byte that
    // neither separates nor lower-cases; "Ａ" (0x82 0x60) keeps its 0x60.
    m_folder.Put("data.dat", ArchiveBuilder(GetParam())
                                 .Add("BG\\表\\ソA.TXT", "sjis")
                                 .Add("Ａ.txt", "wide")
                                 .Build());
    EXPECT_EQ(ReadImage(m_folder.Name("data\\bg\\表\\ソa.txt")), "sjis");
    EXPECT_EQ(ReadImage(m_folder.Name("data/Bg/表/ソA.txt")), "sjis");
    EXPECT_EQ(ReadImage(m_folder.Name("data\\表\\ソa.txt")), "<not found>");
    EXPECT_EQ(ReadImage(m_folder.Name("data\\Ａ.TXT")), "wide");
}

// "/.txt", "\.txt" and ".txt" are one member: the first entry wins, however
// the name is spelt and whether the file layer or the table looks it up.
TEST_P(ArchiveFormatTest, SeparatorsMatchByOneRule)
{
    const std::string bytes = ArchiveBuilder(GetParam())
                                  .Add("/.txt", "first")
                                  .Add("\\.txt", "second")
                                  .Add(".txt", "third")
                                  .Add("bg//a.txt", "doubled")
                                  .Add("bg/b.txt", "slash")
                                  .Add("表\\c.txt", "sjis")
                                  .Add("/", "no name")
                                  .Build();
    m_folder.Put("data.dat", bytes);
    platform::MemoryReadFile file(bytes);
    CArchive table;
    ASSERT_EQ(table.Open(file), CArchive::OpenResult::Opened);
    const struct {
        const char* member;
        const char* image;
    } rows[] = {
        {"/.txt", "first"},        {"\\.txt", "first"},       {".TXT", "first"},        {"\\\\.txt", "first"},
        {"bg\\a.txt", "doubled"},  {"BG//A.txt", "doubled"},  {"bg\\/b.txt", "slash"},  {"表\\\\c.txt", "sjis"},
        {"表c.txt", "<not found>"},        {"/", "<not found>"},              {"bg\\", "<not found>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.member);
        EXPECT_EQ(ReadImage(m_folder.Name("data\\") + row.member), row.image);
        ArchiveEntry entry;
        std::string direct = "<not found>";
        if (table.Find(row.member, entry) == platform::ReadResult::Done) {
            direct.resize(entry.size);
            ASSERT_EQ(table.ReadMember(entry, reinterpret_cast<std::uint8_t*>(direct.data())), platform::ReadResult::Done);
        }
        EXPECT_EQ(direct, row.image);
    }
}

TEST_P(ArchiveFormatTest, NamesFillingTheWholeFieldNeedNoTerminator)
{
    const std::size_t field = GetParam() == ArchiveFormat::PackDx ? 256 : 32;
    const std::string longName = std::string(field - 4, 'n') + ".txt";
    m_folder.Put("data.dat", ArchiveBuilder(GetParam()).Add(longName, "long").Add("next", "n").Build());
    EXPECT_EQ(ReadImage(m_folder.Name("data\\" + longName)), "long");
    EXPECT_EQ(ReadImage(m_folder.Name("data\\" + longName + "x")), "<not found>");
}

INSTANTIATE_TEST_SUITE_P(Formats, ArchiveFormatTest,
                         ::testing::Values(ArchiveFormat::Pack, ArchiveFormat::PackEx, ArchiveFormat::PackDx));

TEST(ArchiveReadTest, PlainFileWinsOverMember)
{
    TempFolder folder;
    folder.Put("data.dat", ArchiveBuilder(ArchiveFormat::PackEx).Add("a.txt", "member").Build());
    folder.Put("data/a.txt", "loose");
    EXPECT_EQ(ReadImage(folder.Name("data\\a.txt")), "loose");
}

TEST(ArchiveReadTest, ArchiveAndFolderNamesMatchWithoutCase)
{
    TempFolder folder;
    folder.Put("Game/DATA.DAT", ArchiveBuilder(ArchiveFormat::PackEx).Add("a.txt", "member").Build());
    folder.Put("Game/Data/Loose.TXT", "loose");
    EXPECT_EQ(ReadImage(folder.Name("game\\data\\a.txt")), "member");
    EXPECT_EQ(ReadImage(folder.Name("GAME\\DATA\\LOOSE.txt")), "loose");
}

TEST(ArchiveReadTest, SizesOfTheLaterFormatsDecideExpansion)
{
    TempFolder folder;
    // Equal sizes: stored plain, even when the bytes would parse as a stream.
    // "kivopack" has one size and is never expanded.
    const std::string looksPacked = std::string("\x01" "A" "\xEE\xF2", 4);
    folder.Put("ex.dat", ArchiveBuilder(ArchiveFormat::PackEx).AddRaw("m", 4, looksPacked).Build());
    folder.Put("pack.dat", ArchiveBuilder(ArchiveFormat::Pack).AddRaw("m", 4, looksPacked).Build());
    folder.Put("dx.dat", ArchiveBuilder(ArchiveFormat::PackDx).AddRaw("m", 6, looksPacked).Build());
    EXPECT_EQ(ReadImage(folder.Name("ex\\m")), looksPacked);
    EXPECT_EQ(ReadImage(folder.Name("pack\\m")), looksPacked);
    EXPECT_EQ(ReadImage(folder.Name("dx\\m")), "AAAAAA");
}

TEST(ArchiveReadTest, BrokenArchivesCountAsAbsent)
{
    TempFolder folder;
    const std::string good = ArchiveBuilder(ArchiveFormat::PackEx).Add("bg\\a.bmp", "upper").Build();
    folder.Put("g/data.dat", good);
    // A table that claims more entries than the file holds.
    folder.Put("g/data/bg.dat", ArchiveBuilder(ArchiveFormat::PackEx).Add("a.bmp", "lower").Build(1000));
    EXPECT_EQ(ReadImage(folder.Name("g\\data\\bg\\a.bmp")), "upper");
    // An entry whose data run past the end of the file.
    std::string cut = ArchiveBuilder(ArchiveFormat::PackEx).Add("a.bmp", "lower data").Build();
    cut.resize(cut.size() - 3);
    folder.Put("g/data/bg.dat", cut);
    EXPECT_EQ(ReadImage(folder.Name("g\\data\\bg\\a.bmp")), "upper");
    // No archive magic, or not even a whole header.
    folder.Put("g/data/bg.dat", "kivopkEx\x01");
    EXPECT_EQ(ReadImage(folder.Name("g\\data\\bg\\a.bmp")), "upper");
    folder.Put("g/data/bg.dat", std::string(100, 'k'));
    EXPECT_EQ(ReadImage(folder.Name("g\\data\\bg\\a.bmp")), "upper");
}

TEST(ArchiveReadTest, CorruptMembersFailTheRead)
{
    TempFolder folder;
    // A stream of literals that ends long before its 1000 bytes.
    std::string literals;
    while (literals.size() < 600) literals += "\xFF" "abcdefgh";
    folder.Put("short.dat", ArchiveBuilder(ArchiveFormat::PackEx).AddRaw("m", 1000, literals).Build());
    ReadFailure result = ReadFailure::None;
    ReadImage(folder.Name("short\\m"), &result);
    EXPECT_EQ(result, ReadFailure::Unreadable);
    // An expanded size no stream of that length can reach.
    folder.Put("huge.dat", ArchiveBuilder(ArchiveFormat::PackDx).AddRaw("m", 0xFFFFFFF0u, std::string(3, '\0')).Build());
    ReadImage(folder.Name("huge\\m"), &result);
    EXPECT_EQ(result, ReadFailure::NotFound);
}

// A plain file, a compressed member and a memory name, each read at its
// size as the bound and refused by one byte less, with nothing read then.
TEST(ArchiveReadTest, ABoundedReadRefusesALargerFileByItsSize)
{
    TempFolder folder;
    folder.Put("loose.mid", Text);
    folder.Put("data.dat", ArchiveBuilder(ArchiveFormat::PackEx).Add("packed.mid", Text, true).Build());
    const CMemoryName memory(Text.data(), Text.size(), "mid");
    for (const std::string& name : {folder.Name("loose.mid"), folder.Name("data\\packed.mid"), memory.Get()}) {
        SCOPED_TRACE(name);
        CFile file;
        std::uint64_t size = 0;
        ASSERT_EQ(file.ReadAtMost(name, Text.size(), size), platform::ReadResult::Done);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize()), Text);
        size = 0;
        ReadFailure failure = ReadFailure::None;
        EXPECT_EQ(file.ReadAtMost(name, Text.size() - 1, size, &failure), platform::ReadResult::Failed);
        EXPECT_EQ(failure, ReadFailure::OverBound);
        EXPECT_EQ(size, Text.size());
        EXPECT_EQ(file.GetMemory(), nullptr);
    }
}

// A table that claims more entries than any game packs (its file of holes
// holding them) is refused by the count in its header: not an entry is read,
// the walk goes on to the archive above, and one line says so once a run.
// A table of as many as the bound is used. The bound is the README's number,
// not the code's constant.
TEST(ArchiveReadTest, ATableListingMoreEntriesThanTheBoundIsRefusedUnreadWithOneLine)
{
    const std::uint32_t bound = 1'048'576;
    TempFolder folder;
    folder.Put("g.dat", ArchiveBuilder(ArchiveFormat::PackEx).Add("data\\b.txt", "above").Build());
    const auto putTable = [&](std::uint32_t count) {
        folder.Put("g/data.dat", ArchiveBuilder(ArchiveFormat::Pack).Add("a.txt", "member").Build(count));
        std::filesystem::resize_file(folder.Host("g/data.dat"), CArchive::HeaderSize + std::uint64_t(count) * 40);
    };
    std::vector<std::string> said;
    SetOverBoundSink([&](const CTextString& message) { said.push_back(message.GetStr()); });

    putTable(bound + 1);
    std::uint64_t asked = 0;
    SteppedReadFile counted(platform::FileSystem().OpenRead(folder.Internal("g/data.dat")), SteppedReadFile::Counting(asked));
    CArchive table;
    EXPECT_EQ(table.Open(counted), CArchive::OpenResult::TooManyEntries);
    EXPECT_EQ(asked, CArchive::HeaderSize) << "an entry read";
    for (int again = 0; again < 2; ++again) {
        EXPECT_EQ(ReadImage(folder.Name("g\\data\\a.txt")), "<not found>");
        EXPECT_EQ(ReadImage(folder.Name("g\\data\\b.txt")), "above");
    }
    EXPECT_EQ(said, std::vector<std::string>{"アーカイブの目録が大きすぎて使えません: " + folder.Internal("g/data.dat") + " は " +
                                             std::to_string(bound + 1) + " 件あり、上限の " + std::to_string(bound) + " 件を超えています。"});

    putTable(bound);
    EXPECT_EQ(ReadImage(folder.Name("g\\data\\a.txt")), "member");
    SetOverBoundSink(nullptr);
    EXPECT_EQ(said.size(), 1u);
}

TEST(ArchiveReadTest, MembersBecomeTemporaryFilesOnRequest)
{
    TempFolder folder;
    folder.Put("data.dat", ArchiveBuilder(ArchiveFormat::PackEx).Add("song.mid", Text, true).Build());
    folder.Put("loose.mid", "loose");
    CFile file;
    ASSERT_EQ(file.Read(folder.Name("data\\song.mid"), FileKind::Text), platform::ReadResult::Done);
    ASSERT_EQ(file.CreateTemporary(false), 0);
    const std::string temporary = file.GetName();
    EXPECT_NE(temporary.find("KVO"), std::string::npos);
    EXPECT_EQ(file.GetMemory(), nullptr);
    EXPECT_EQ(ReadImage(temporary), Text);
    file.Close();
    EXPECT_FALSE(IsFileExist(temporary));

    // A loose file serves as it is, unless forced.
    ASSERT_EQ(file.Read(folder.Internal("loose.mid"), FileKind::Text), platform::ReadResult::Done);
    ASSERT_EQ(file.CreateTemporary(false), 0);
    EXPECT_EQ(file.GetName(), folder.Internal("loose.mid"));
    EXPECT_EQ(file.CreateTemporary(false), 1) << "nothing loaded";
    ASSERT_EQ(file.Read(folder.Internal("loose.mid"), FileKind::Text), platform::ReadResult::Done);
    ASSERT_EQ(file.CreateTemporary(true), 0);
    EXPECT_NE(file.GetName(), folder.Internal("loose.mid"));
    EXPECT_EQ(ReadImage(file.GetName()), "loose");
}

} // namespace
