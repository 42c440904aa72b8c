#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

#include "frame/WindowApp.h"
#include "frame/file/File.h"
#include "platform/FileSystem.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/TextCodec.h"
#include "platform/TerminationSignals.h"
#include "tests/frame/file/ArchiveBuilder.h"
#include "tests/kit/SteppedReadFile.h"
#include "tests/kit/TempFolder.h"

using kivotasuGameKit::CFile;
using kivotasuGameKit::FileKind;
using kivotasuGameKit::CMemoryName;
using kivotasuGameKit::ReadFailure;
using platform::ReadResult;

namespace {

std::string Image(const CFile& file)
{
    return std::string(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
}

// What the read found wrong (InnerRead's code), 0 for a read that was done.
ReadFailure FailureOf(CFile& file, const std::string& name, FileKind kind = FileKind::Text)
{
    ReadFailure failure = ReadFailure::None;
    const ReadResult read = file.Read(name, kind, &failure);
    EXPECT_NE(read, ReadResult::Interrupted);
    return read == ReadResult::Failed ? failure : ReadFailure::None;
}

TEST(FileReadTest, PlainFileIsReadWholeWithATerminatorBehind)
{
    TempFolder folder;
    folder.Put("a.txt", "hello");
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("a.txt"), FileKind::Text), ReadResult::Done);
    EXPECT_EQ(Image(file), "hello");
    EXPECT_EQ(file.GetMemory()[5], 0);
    EXPECT_EQ(file.GetName(), folder.Internal("a.txt"));
    EXPECT_EQ(file.GetSuffixOfName(), "txt");
}

TEST(FileReadTest, MissingNamesAndEmptyNames)
{
    TempFolder folder;
    CFile file;
    EXPECT_EQ(FailureOf(file, folder.Internal("none.txt")), ReadFailure::NotFound);
    EXPECT_EQ(file.GetMemory(), nullptr);
    EXPECT_EQ(file.GetName(), "");
    EXPECT_EQ(FailureOf(file, ""), ReadFailure::NoName);
    EXPECT_EQ(FailureOf(file, folder.Internal()), ReadFailure::NotFound) << "a folder is no file";
}

TEST(FileReadTest, RelativeNamesGoThroughTheCurrentDirectory)
{
    TempFolder folder;
    folder.Put("sub/b.txt", "b");
    const std::string saved = CFile::GetCurrentDir();
    CFile::SetCurrentDir(folder.Internal());
    CFile file;
    EXPECT_EQ(file.Read("sub/b.txt", FileKind::Text), ReadResult::Done);
    EXPECT_EQ(file.GetName(), "sub/b.txt") << "the name stays as it was given";
    EXPECT_EQ(file.Read(".\\sub\\..\\sub\\b.txt", FileKind::Text), ReadResult::Done);
    CFile::SetCurrentDir(saved);
}

TEST(FileReadTest, LinesSplitAtCrLfOnly)
{
    TempFolder folder;
    folder.Put("lines.txt", "ab\r\ncd\re\nf");
    CFile file;
    ASSERT_EQ(file.Read(folder.Internal("lines.txt"), FileKind::Text), ReadResult::Done);
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
    ASSERT_EQ(file.Read(folder.Internal("x.txt"), FileKind::Text), ReadResult::Done);
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
    ASSERT_EQ(file.Read(folder.Internal("x.txt"), FileKind::Text), ReadResult::Done);
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
    ASSERT_EQ(file.Read(folder.Internal("q.txt"), FileKind::Text), ReadResult::Done);
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
    ASSERT_EQ(file.Read(folder.Internal("b.bin"), FileKind::Text), ReadResult::Done);
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
    ASSERT_EQ(file.Read(name.Get(), FileKind::Text), ReadResult::Done);
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
    EXPECT_EQ(FailureOf(file, forged), ReadFailure::NotFound) << "the name died with its object";
    EXPECT_EQ(FailureOf(file, "!1234"), ReadFailure::NotFound);
    EXPECT_EQ(FailureOf(file, "!x,y"), ReadFailure::NotFound);

    TempFolder folder;
    folder.Put(forged, "on disk");
    ASSERT_EQ(file.Read(folder.Internal(forged), FileKind::Text), ReadResult::Done);
    EXPECT_EQ(Image(file), "on disk");
    const std::string saved = CFile::GetCurrentDir();
    CFile::SetCurrentDir(folder.Internal());
    EXPECT_EQ(file.Read(forged, FileKind::Text), ReadResult::Done) << "read from the current folder";
    EXPECT_EQ(Image(file), "on disk");
    CFile::SetCurrentDir(saved);
}

// A file of size bytes in holes: it takes no disk, and reading it costs
// what reading as many bytes would.
void PutHoles(const TempFolder& folder, const std::string& name, std::uint64_t size)
{
    folder.Put(name, "");
    std::filesystem::resize_file(folder.Host(name), size);
}

// Each kind is refused by its size before a byte is read or a block made,
// with one stderr line naming the file and the bound; a 4096 x 4096 32-bit
// BMP is within the picture bound.
TEST(FileReadTest, AFileOverItsKindsBoundIsRefusedByItsSize)
{
    using kivotasuGameKit::MostBytes;
    struct Case {
        FileKind kind;
        std::uint64_t size;
        ReadFailure result;
    };
    const ReadFailure over = ReadFailure::OverBound;
    const Case cases[] = {
        {FileKind::Text, MostBytes(FileKind::Text) + 1, over},
        {FileKind::Save, MostBytes(FileKind::Save) + 1, over},
        {FileKind::Picture, 3ull << 30, over},
        {FileKind::Picture, 54 + 4096ull * 4096 * 4, ReadFailure::None},
        {FileKind::Sound, MostBytes(FileKind::Sound) + 1, over},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        PutHoles(folder, "f.bin", c.size);
        CFile file;
        testing::internal::CaptureStderr();
        EXPECT_EQ(FailureOf(file, folder.Internal("f.bin"), c.kind), c.result);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(file.GetSize(), c.result == ReadFailure::None ? c.size : 0);
        // Said in UTF-8, the path as the host's.
        const std::string line = platform::Cp932ToUtf8("quiltor: ファイルが大きすぎて読めません: ") + folder.Host("f.bin").string() +
                                 platform::Cp932ToUtf8(" は " + std::to_string(c.size) + " バイトあり、上限の " +
                                                       std::to_string(MostBytes(c.kind)) + " バイトを超えています。\n");
        EXPECT_EQ(said, c.result == over ? line : "");
    }
}

// A save is read from the disk alone, and why it does not open is the
// system's: a FIFO is neither opened for reading nor waited on.
TEST(FileReadTest, ReadOnDiskTellsWhyAFileDoesNotOpen)
{
    TempFolder folder;
    folder.Put("a.q", "saved");
    ASSERT_EQ(mkfifo(folder.Host("fifo.q").c_str(), 0600), 0);
    CFile file;
    std::uint64_t size = 0;
    std::error_code why;
    EXPECT_EQ(file.ReadOnDisk(folder.Internal("a.q"), 5, size, why), ReadResult::Done);
    EXPECT_EQ(Image(file), "saved");
    ReadFailure failure = ReadFailure::None;
    EXPECT_EQ(file.ReadOnDisk(folder.Internal("a.q"), 4, size, why, &failure), ReadResult::Failed);
    EXPECT_EQ(failure, ReadFailure::OverBound);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(file.GetMemory(), nullptr);
    EXPECT_EQ(file.ReadOnDisk(folder.Internal("fifo.q"), 5, size, why, &failure), ReadResult::Failed);
    EXPECT_EQ(failure, ReadFailure::NotFound);
    EXPECT_EQ(why, std::errc::no_such_device);
    EXPECT_EQ(file.ReadOnDisk(folder.Internal("none.q"), 5, size, why, &failure), ReadResult::Failed);
    EXPECT_EQ(failure, ReadFailure::NotFound);
    EXPECT_EQ(why, std::errc::no_such_file_or_directory);
}

} // namespace

// A close, asked by a signal, waiting in the window's queue or taken by the
// window, interrupts a long read after its first chunk, whatever the bound
// allows, and the read says it was interrupted, not failed, up to the file
// layer's result; a read of one chunk goes on to its end. An archive's look-up
// stops before its table, and finds nothing: neither a member nor its
// absence. In a child process: a signal's request cannot be taken back.
TEST(FileReadDeathTest, ACloseInterruptsALongReadAfterItsFirstChunk)
{
    using kivotasuGameKit::ArchiveEntry;
    using kivotasuGameKit::CArchive;
    constexpr std::size_t Chunk = platform::IReadFile::ChunkBytes, Big = std::size_t{64} << 20;
    TempFolder folder;
    PutHoles(folder, "big.bmp", Big);
    folder.Put("small.bmp", std::string(Chunk, 'x'));
    folder.Put("data.dat", ArchiveBuilder(kivotasuGameKit::ArchiveFormat::Pack).Add("m0", "member")
                               .Add("big.bmp", std::string(2 * Chunk, 'x')).Build());
    const std::pair<const char*, std::function<void()>> closes[] = {
        {"a signal", [] { platform::CloseOnTerminationSignals(), std::raise(SIGTERM); }},
        {"the close box", [] {
             auto windows = std::make_unique<platform::HeadlessWindowSystem>();
             windows->Feed(windows->CreateWindow({}), platform::WM_CLOSE);
             platform::InstallWindows(std::move(windows));
         }},
        // Taken on the window's thread: the reads below are another thread's.
        {"the close the window took", [] {
             std::thread([] { kivotasuGameKit::CWindowApp().WndProc(0, platform::WM_CLOSE, 0, 0); }).join();
         }},
    };
    for (const auto& [what, close] : closes) {
        SCOPED_TRACE(what);
        EXPECT_EXIT(
            {
                close();
                int faults = 0;
                std::unique_ptr<platform::IReadFile> big = platform::FileSystem().OpenRead(folder.Internal("big.bmp"));
                std::vector<char> bytes(Big, 'x');
                if (!big || big->Read(bytes.data(), bytes.size()) != ReadResult::Interrupted) faults |= 1;
                if (std::size_t(std::count(bytes.begin(), bytes.end(), 0)) > Chunk) faults |= 2;
                CFile file;
                if (file.Read(folder.Internal("big.bmp"), FileKind::Picture) != ReadResult::Interrupted) faults |= 4;
                if (file.Read(folder.Internal("small.bmp"), FileKind::Picture) != ReadResult::Done) faults |= 8;

                std::uint64_t asked = 0;
                SteppedReadFile counted(platform::FileSystem().OpenRead(folder.Internal("data.dat")), SteppedReadFile::Counting(asked));
                CArchive table;
                const bool opened = table.Open(counted) == CArchive::OpenResult::Opened;
                const std::uint64_t header = asked;
                ArchiveEntry found;
                if (!opened || table.Find("m0", found) != ReadResult::Interrupted || asked != header) faults |= 16;
                const std::optional<ArchiveEntry> entry = table.ReadEntry(1);
                std::vector<std::uint8_t> member(2 * Chunk);
                if (!entry || table.ReadMember(*entry, member.data()) != ReadResult::Interrupted) faults |= 32;
                if (file.Read(folder.Name("data\\m0"), FileKind::Picture) != ReadResult::Interrupted) faults |= 64;
                if (CFile::Find(folder.Name("data\\none")) != ReadResult::Interrupted) faults |= 128;
                std::exit(faults);
            },
            testing::ExitedWithCode(0), "");
    }
}
