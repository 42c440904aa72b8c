#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

#include "platform/HostFileSystem.h"
#include "sound/WaveStream.h"
#include "tests/frame/file/ArchiveBuilder.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/kit/TempFolder.h"
#include "tests/sound/RiffBuilder.h"
#include "tests/sound/SoundTestFiles.h"

using namespace kivotasuGameKit;

namespace {

// 8-bit mono at 8000 Hz: a byte is an eighth of a millisecond.
const riff::Format Mono8k{1, 1, 8000, 8};

std::string ReadAll(IWaveStream& stream, std::uint32_t chunk = 1000)
{
    std::string out;
    std::string buffer(chunk, '\0');
    while (std::uint32_t n = stream.Read(buffer.data(), chunk)) {
        EXPECT_LE(n, chunk);
        out.append(buffer, 0, n);
    }
    return out;
}

// The same file served from the disk stream, from a memory image, and from
// the disk stream of the file stored scrambled.
class WaveStreamModes : public ::testing::TestWithParam<std::string> {
protected:
    std::string NameOf(const std::string& bytes)
    {
        m_bytes = bytes;
        if (GetParam() == "Memory")
            return MemoryName(m_bytes);
        m_folder.Put("a.wav", GetParam() == "Disk" ? m_bytes : ArchiveBuilder::Scrambled(m_bytes));
        return m_folder.Name("a.wav");
    }

private:
    TempFolder m_folder;
    std::string m_bytes;
};

TEST_P(WaveStreamModes, ServesTheDataChunkOnlyWithAListChunkBehind)
{
    const std::string data = riff::Ramp(12001);
    const std::string file = riff::PcmWave(Mono8k, data, {riff::Chunk("LIST", "INFOISFT" + riff::Le32(5) + "tool!")});
    CWaveStream stream;
    ASSERT_EQ(stream.Open(NameOf(file)), 0);
    const WAVEFORMATEX& format = *stream.GetFormat();
    EXPECT_EQ(format.wFormatTag, 1);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 8000u);
    EXPECT_EQ(format.nAvgBytesPerSec, 8000u);
    EXPECT_EQ(format.nBlockAlign, 1);
    EXPECT_EQ(format.wBitsPerSample, 8);
    EXPECT_EQ(format.cbSize, 0) << "a 16-byte fmt chunk has no cbSize";
    EXPECT_EQ(stream.GetLength(), 1500);
    EXPECT_EQ(ReadAll(stream, 777), data);
    EXPECT_EQ(stream.GetCurrentPos(), 1500);
    char byte;
    EXPECT_EQ(stream.Read(&byte, 1), 0u);

    EXPECT_EQ(stream.SetCurrentPos(1000), 0);
    EXPECT_EQ(stream.GetCurrentPos(), 1000);
    EXPECT_EQ(ReadAll(stream), data.substr(8000));
    EXPECT_EQ(stream.SetCurrentPos(1499), 0);
    EXPECT_EQ(ReadAll(stream), data.substr(11992));
    EXPECT_EQ(stream.SetCurrentPos(1500), 2) << "the length itself is past the end";
    EXPECT_EQ(stream.SetCurrentPos(-1), 2) << "a time before the start is refused";
    EXPECT_EQ(stream.GetCurrentPos(), 1500) << "a refused move leaves the position";

    stream.Close();
    EXPECT_EQ(stream.GetLength(), -1);
    EXPECT_EQ(stream.Read(&byte, 1), 0u);
    EXPECT_EQ(*stream.GetFormat(), WAVEFORMATEX());
}

TEST_P(WaveStreamModes, ADataChunkLongerThanTheFileEndsWithTheFile)
{
    const std::string data = riff::Ramp(800);
    const std::string file = riff::Riff({riff::Fmt(Mono8k), riff::Chunk("data", data, 0x7FFFFFF0)});
    CWaveStream stream;
    ASSERT_EQ(stream.Open(NameOf(file)), 0);
    EXPECT_EQ(stream.GetLength(), 100);
    EXPECT_EQ(ReadAll(stream), data);
}

TEST_P(WaveStreamModes, OddChunksArePaddedAndAShortFmtChunkReadsNoFurther)
{
    riff::Format stereo{1, 2, 22050, 16};
    // An 18-byte record whose cbSize says 0, behind an odd chunk.
    const std::string file = riff::Riff({riff::Chunk("junk", "abc"), riff::Fmt(stereo, riff::Le16(0)),
                                         riff::Chunk("fact", riff::Le32(7)), riff::Chunk("data", riff::Ramp(8820))});
    CWaveStream stream;
    ASSERT_EQ(stream.Open(NameOf(file)), 0);
    EXPECT_EQ(stream.GetFormat()->nBlockAlign, 4);
    EXPECT_EQ(stream.GetFormat()->nAvgBytesPerSec, 88200u);
    EXPECT_EQ(stream.GetLength(), 100);
    EXPECT_EQ(ReadAll(stream).size(), 8820u);
}

INSTANTIATE_TEST_SUITE_P(Stores, WaveStreamModes, ::testing::Values("Disk", "Memory", "ScrambledDisk"),
                         [](const auto& info) { return info.param; });

struct Refusal {
    const char* name;
    std::string file;
    const char* message;
};

TEST(WaveStreamTest, RefusesWhatIsNotAPcmWaveWithTheStepsMessage)
{
    const riff::Format adpcm{2, 1, 8000, 4};
    const riff::Format pcm = Mono8k;
    const std::string data = riff::Chunk("data", riff::Ramp(16));
    const std::vector<Refusal> cases{
        {"not RIFF", "RIFX" + riff::Le32(4) + "WAVE", "CWaveStream::Initialize Waveファイルでない"},
        {"another form", riff::Riff({riff::Fmt(pcm), data}, "AVI "), "CWaveStream::Initialize Waveファイルでない"},
        {"too short for a header", "RIFF", "CWaveStream::Initialize Waveファイルでない"},
        {"no fmt", riff::Riff({data}), "CWaveStream::Initialize fmtチャンクが指定できない"},
        {"fmt too short", riff::Riff({riff::Chunk("fmt ", riff::Le16(1) + riff::Le16(1)), data}),
         "CWaveStream::Initialize fmtチャンクが指定できない"},
        {"ADPCM", riff::Riff({riff::Fmt(adpcm), data}), "CWaveStream::Initialize WAVE_FORMAT_PCMじゃない"},
        {"data before fmt", riff::Riff({data, riff::Fmt(pcm)}), "CWaveStream::Initialize データチャンクに行けない"},
        {"data outside RIFF", riff::Riff({riff::Fmt(pcm)}) + data, "CWaveStream::Initialize データチャンクに行けない"},
    };
    for (const Refusal& c : cases) {
        testkit::ScopedErrorLogRecorder log;
        CWaveStream stream;
        EXPECT_EQ(stream.Open(MemoryName(c.file)), 2) << c.name;
        EXPECT_EQ(log->Messages(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(*stream.GetFormat(), WAVEFORMATEX()) << c.name << ": a refused file leaves it closed";
        EXPECT_EQ(stream.GetLength(), -1) << c.name;
    }
}

// The host file system, but a file is replaced the moment after its first
// open of any kind: a second open by name finds the replacement.
class ReplacedAfterOpen : public platform::HostFileSystem {
public:
    explicit ReplacedAfterOpen(std::function<void()> replace) : m_replace(std::move(replace)) {}
    using HostFileSystem::OpenRead;
    std::unique_ptr<platform::IReadFile> OpenRead(std::string_view name, std::error_code& why) override
    {
        return Replaced(HostFileSystem::OpenRead(name, why));
    }
    std::FILE* OpenStream(std::string_view name, std::string_view mode) override
    {
        return Replaced(HostFileSystem::OpenStream(name, mode));
    }

private:
    template <typename File>
    File Replaced(File file)
    {
        if (file && m_replace) std::exchange(m_replace, nullptr)();
        return file;
    }
    std::function<void()> m_replace;
};

TEST(WaveStreamTest, AFileReplacedAfterItsOpenIsReadAsItWasOpened)
{
    TempFolder folder;
    const std::string data = riff::Ramp(4000);
    folder.Put("a.wav", riff::PcmWave(Mono8k, data));
    folder.Put("b.wav", riff::PcmWave({1, 2, 22050, 16}, std::string(8820, 'b'),
                                      {riff::Chunk("LIST", "INFOISFT" + riff::Le32(5) + "tool!")}));
    platform::InstallFileSystem(std::make_unique<ReplacedAfterOpen>(
        [&] { std::filesystem::rename(folder.Host("b.wav"), folder.Host("a.wav")); }));
    CWaveStream stream;
    EXPECT_EQ(stream.Open(folder.Name("a.wav")), 0);
    EXPECT_EQ(stream.GetFormat()->nChannels, 1);
    EXPECT_EQ(ReadAll(stream), data);
    platform::InstallFileSystem(nullptr);
}

TEST(WaveStreamTest, AFileThatCannotBeReadGivesOne)
{
    TempFolder folder;
    testkit::ScopedErrorLogRecorder log;
    CWaveStream stream;
    const std::string name = folder.Name("missing.wav");
    EXPECT_EQ(stream.Open(name), 1);
    EXPECT_EQ(log->Messages(), std::vector<std::string>{"CWaveStream::Load " + name + "のファイル読み込み時のエラー"});
}

} // namespace
