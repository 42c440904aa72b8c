#include <gtest/gtest.h>

#include <optional>
#include <span>

#include "platform/AudioDecoder.h"
#include "sound/ACMStream.h"
#include "sound/Mp3Header.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/kit/WallSeconds.h"
#include "tests/sound/RiffBuilder.h"
#include "tests/sound/SoundTestFiles.h"

using namespace kivotasuGameKit;
using platform::Mp3Bitrate;

namespace {

std::vector<std::int16_t> ReadSamples(IWaveStream& stream, std::uint32_t chunk = 4096)
{
    std::vector<std::int16_t> out;
    std::vector<std::int16_t> buffer(chunk / 2);
    while (std::uint32_t n = stream.Read(buffer.data(), chunk)) {
        EXPECT_LE(n, chunk);
        EXPECT_EQ(n % stream.GetFormat()->nBlockAlign, 0u) << "whole sample frames only";
        out.insert(out.end(), buffer.begin(), buffer.begin() + n / 2);
    }
    return out;
}

// Root mean square of the difference, in full-scale parts.
double Distance(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b, std::size_t n)
{
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += double(a[i] - b[i]) * double(a[i] - b[i]);
    return std::sqrt(sum / double(n)) / 32768;
}

// An ID3v2 tag of the version, with a footer when asked, around size bytes of padding.
std::string Id3v2(int version, bool footer, std::uint32_t size)
{
    std::string synchsafe{char(size >> 21 & 0x7F), char(size >> 14 & 0x7F), char(size >> 7 & 0x7F), char(size & 0x7F)};
    const char flags = footer ? 0x10 : 0;
    std::string tag = std::string("ID3") + char(version) + '\0' + flags + synchsafe + std::string(size, '\0');
    if (footer) tag += std::string("3DI") + char(version) + '\0' + flags + synchsafe;
    return tag;
}

std::string Id3v1() { return "TAG" + std::string(125, ' '); }

class Mp3StreamTest : public ::testing::Test {
protected:
    // Three seconds of 44.1 kHz stereo.
    static const std::string& Cbr()
    {
        static const std::string file = Mp3(Tone(44100, 2, 3000), Mp3Bitrate::Constant, Cbr128);
        return file;
    }
    static const std::string& Vbr()
    {
        static const std::string file = Mp3(Tone(44100, 2, 3000), Mp3Bitrate::Variable, 0.3);
        return file;
    }

    testkit::ScopedErrorLogRecorder log;
};

TEST_F(Mp3StreamTest, TheFirstFrameOfAConstantRateFileGivesFormatAndLength)
{
    const std::string file = Cbr();
    ASSERT_EQ(file.substr(36, 4), "Info");
    Mp3Layout layout;
    ASSERT_EQ(ReadMp3Layout(std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()), layout), 0);
    EXPECT_EQ(layout.kbps, 128u);
    EXPECT_EQ(layout.format.wfx.nChannels, 2) << "joint stereo";
    EXPECT_EQ(layout.format.wfx.nAvgBytesPerSec, 16000u);
    EXPECT_EQ(layout.format.nBlockSize, 417);

    CACMStream stream;
    ASSERT_EQ(stream.Open(MemoryName(file)), 0);
    const WAVEFORMATEX& format = *stream.GetFormat();
    EXPECT_EQ(format, (WAVEFORMATEX{1, 2, 44100, 176400, 4, 16, 0}));
    EXPECT_EQ(stream.GetLength(), 3000) << "the decoded length, not the first frame's formula (a gap at each loop)";
    const std::vector<std::int16_t> samples = ReadSamples(stream);
    EXPECT_EQ(samples.size(), 44100u * 3 * 2) << "gapless: the encoder's delay and padding are trimmed";
    const std::vector<std::int16_t> original = Tone(44100, 2, 3000).samples;
    EXPECT_LT(Distance(samples, original, samples.size()), 0.01);
    EXPECT_NEAR(stream.GetCurrentPos(), 3000, 1);
}

TEST_F(Mp3StreamTest, AVariableRateFileTakesTheMeasuredLength)
{
    const std::string file = Vbr();
    ASSERT_EQ(file.substr(36, 4), "Xing");
    CACMStream stream;
    ASSERT_EQ(stream.Open(MemoryName(file)), 0);
    EXPECT_EQ(stream.GetLength(), 3000);
    EXPECT_EQ(ReadSamples(stream).size(), 44100u * 3 * 2);
}

TEST_F(Mp3StreamTest, AStreamIsCountedWhenItGivesNoMoreThanTheFramesAsked)
{
    using Measure = platform::IAudioDecoder::Measure;
    // Frames of 1152 sample frames: the header's estimate is the count.
    const std::string plain = SilentMp3(1000);
    // A BGM's shape at 320 kbps, 32 kHz mono: more bytes than sample frames.
    const std::string dense = SilentMp3(100, 320, 32000, true);
    // A first frame whose bit rate tells ten times the length, or a tenth; and
    // so 64 MiB of tiny frames, nearly five hours; and two seconds at ten times
    // the rate of the next seven minutes.
    const std::string overstated = SilentMp3(1) + SilentMp3(99, 320);
    const std::string understated = SilentMp3(1, 320) + SilentMp3(999);
    const std::string hours = SilentMp3(1, 320) + SilentMp3((std::size_t{64} << 20) / 96);
    const std::string louderStart = SilentMp3(84, 320) + SilentMp3(17500);
    // A first frame, then bytes in which the decoder finds no frame at all.
    const std::string noFrame = SilentMp3(1) + std::string(2000, '\x55');
    // The most frames asked of which the plain file's walk reaches its end: it
    // goes on past them by what an encoder's tag may trim.
    constexpr std::uint64_t bound = 1152000 - 2 * 4095 * 6;
    struct Row {
        const char* what; const std::string& file; std::uint64_t most; std::optional<Measure> measured;
        int rate = 48000, channels = 2;
    };
    const Row rows[] = {{"unbounded", plain, UINT64_MAX, Measure{1152000}},
                        {"at the bound", plain, bound, Measure{1152000}},
                        {"one past", plain, bound - 1, Measure{1152000, false}},
                        {"nothing asked", plain, 0, Measure{1152000, false}},
                        // The walk counts what the encoder's tag trims.
                        {"tagged, at the bound", Cbr(), 132300, Measure{132300}, 44100},
                        {"more bytes than frames", dense, 115200, Measure{115200}, 32000, 1},
                        {"overstated", overstated, 115200, Measure{115200}},
                        {"understated", understated, 576000, Measure{1152000, false}},
                        {"hours understated", hours, MostHeldBytes / 4, Measure{699051 * 1152, false}},
                        {"louder start", louderStart, MostHeldBytes / 4, Measure{17584 * 1152, false}},
                        {"no frame", noFrame, UINT64_MAX, std::nullopt}};
    const auto bytesOf = [](const std::string& file) { return std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()); };
    // A walk to the end of the hours; one that gives up at the frames asked
    // takes a fiftieth of it.
    const double walk = testkit::ThreadSeconds([&] { platform::OpenMpegAudio(bytesOf(hours), 48000, 2)->MeasureFrames(UINT64_MAX); });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto decoder = platform::OpenMpegAudio(bytesOf(row.file), row.rate, row.channels);
        ASSERT_TRUE(decoder);
        std::optional<Measure> measured;
        const double seconds = testkit::ThreadSeconds([&] { measured = decoder->MeasureFrames(row.most); }, 1);
        EXPECT_TRUE(testkit::CostsAtMost(0.25, seconds, walk)) << "walked past the frames asked";
        ASSERT_EQ(measured.has_value(), row.measured.has_value());
        if (!measured) continue;
        EXPECT_EQ(measured->counted, row.measured->counted);
        if (!measured->counted) {
            // Proved longer than asked; the rest at the rate of the part walked.
            EXPECT_GT(measured->frames, row.most);
            EXPECT_NEAR(double(measured->frames), double(row.measured->frames), double(row.measured->frames) / 100);
            continue;
        }
        EXPECT_EQ(measured->frames, row.measured->frames);
        // A sound held on the count ends where its samples do: a loop has no gap.
        std::vector<std::int16_t> samples(std::size_t(row.channels) * 4096);
        std::uint64_t frames = 0;
        while (const std::size_t n = decoder->Read(samples.data(), samples.size() * 2)) frames += n / 2 / row.channels;
        EXPECT_EQ(frames, measured->frames);
    }
}

TEST_F(Mp3StreamTest, SeeksBySampleFrame)
{
    CACMStream stream;
    ASSERT_EQ(stream.Open(MemoryName(Cbr())), 0);
    const std::vector<std::int16_t> whole = ReadSamples(stream);
    for (std::int32_t ms : {2500, 0, 1234, 2999}) {
        ASSERT_EQ(stream.SetCurrentPos(ms), 0) << ms;
        EXPECT_NEAR(stream.GetCurrentPos(), ms, 1) << "both conversions truncate";
        const std::vector<std::int16_t> rest = ReadSamples(stream, 1000);
        const std::size_t skipped = std::size_t(ms) * 441 / 10 * 2;
        ASSERT_EQ(rest.size(), whole.size() - skipped) << ms;
        EXPECT_LT(Distance(rest, std::vector<std::int16_t>(whole.begin() + std::ptrdiff_t(skipped), whole.end()),
                           rest.size()),
                  0.001)
            << ms;
    }
    EXPECT_EQ(stream.SetCurrentPos(stream.GetLength()), 2);
    EXPECT_EQ(stream.SetCurrentPos(-1), 2);
    stream.Close();
    char byte;
    EXPECT_EQ(stream.Read(&byte, 1), 0xFFFFFFFFu);
    EXPECT_EQ(stream.SetCurrentPos(0), 1);
    EXPECT_EQ(stream.GetLength(), 0);
    EXPECT_EQ(*stream.GetFormat(), WAVEFORMATEX());
}

TEST_F(Mp3StreamTest, TagsAroundTheFramesAreSkipped)
{
    const std::string mp3 = Cbr();
    struct Case {
        const char* name;
        std::string file;
        std::uint32_t tagSize;
        std::uint32_t dataSize;
    };
    const std::vector<Case> cases{
        {"v3", Id3v2(3, false, 300) + mp3, 310, std::uint32_t(mp3.size())},
        {"v3 flag ignored", Id3v2(3, true, 300).substr(0, 310) + mp3, 310, std::uint32_t(mp3.size())},
        {"v4 footer", Id3v2(4, true, 300) + mp3, 320, std::uint32_t(mp3.size())},
        {"v4 and ID3v1", Id3v2(4, false, 1000) + mp3 + Id3v1(), 1010, std::uint32_t(mp3.size())},
        {"ID3v1 only", mp3 + Id3v1(), 0, std::uint32_t(mp3.size())},
    };
    CACMStream plain;
    ASSERT_EQ(plain.Open(MemoryName(mp3)), 0);
    const std::vector<std::int16_t> expected = ReadSamples(plain);
    for (const Case& c : cases) {
        Mp3Layout layout;
        ASSERT_EQ(ReadMp3Layout(std::span(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size()), layout),
                  0)
            << c.name;
        EXPECT_EQ(layout.tagSize, c.tagSize) << c.name;
        EXPECT_EQ(layout.dataSize, c.dataSize) << c.name;
        CACMStream stream;
        ASSERT_EQ(stream.Open(MemoryName(c.file)), 0) << c.name;
        EXPECT_EQ(stream.GetLength(), plain.GetLength()) << c.name;
        EXPECT_EQ(ReadSamples(stream), expected) << c.name;
    }
    // Bytes behind the last frame add no length.
    CACMStream longer;
    ASSERT_EQ(longer.Open(MemoryName(mp3 + std::string(128, '\0'))), 0);
    EXPECT_EQ(longer.GetLength(), plain.GetLength());
}

TEST_F(Mp3StreamTest, ACutOrDamagedFileEndsWhereItsFramesEnd)
{
    const std::string whole = Cbr();
    std::string damaged = whole;
    for (std::size_t i = whole.size() / 2; i < whole.size(); i += 97) damaged[i] = char(damaged[i] ^ 0x5A);
    struct Case {
        const char* name;
        std::string file;
        std::size_t most;
    };
    for (const Case& c : {Case{"cut mid-frame", whole.substr(0, whole.size() / 2 + 200), 44100u * 2 * 2},
                          // Counted by a scan, the damaged frames no longer
                          // match the encoder's tag, and its padding is kept.
                          Case{"damaged second half", damaged, (44100u * 3 + 1152) * 2}}) {
        CACMStream stream;
        ASSERT_EQ(stream.Open(MemoryName(c.file)), 0) << c.name;
        const std::vector<std::int16_t> samples = ReadSamples(stream);
        EXPECT_NEAR(stream.GetLength(), std::int32_t(samples.size() / 2 * 1000 / 44100), 30) << c.name;
        EXPECT_GT(samples.size(), 44100u * 2) << c.name << ": the sound frames before the cut play";
        EXPECT_LE(samples.size(), c.most) << c.name;
        EXPECT_EQ(stream.SetCurrentPos(100), 0) << c.name;
        EXPECT_FALSE(ReadSamples(stream).empty()) << c.name << ": it plays again after a seek";
    }
}

std::string Frame(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::size_t size = 400)
{
    std::string file{char(0xFF), char(b1), char(b2), char(b3)};
    file.resize(size, '\0');
    return file;
}

TEST_F(Mp3StreamTest, RefusesWhatIsNotAnMpeg1FileWithTheReason)
{
    const auto mp3At = [](int rate, int channels) { return Mp3(Tone(rate, channels, 500), Mp3Bitrate::Constant, Cbr128); };
    const std::string mpeg2 = mp3At(22050, 2), mpeg25 = mp3At(8000, 1);
    struct Case {
        const char* name;
        std::string file;
        std::string reason;
        // What the author is told: the file is no MPEG-1 audio.
        std::string version = {};
    };
    const std::vector<Case> cases{
        {"128 bytes", Frame(0xFB, 0x90, 0x44, 128), "CACMStream::InitializeMP3 ファイルサイズが異常(dwFileSize=128)"},
        {"one byte", "\xFF", "CACMStream::InitializeMP3 ファイルサイズが異常(dwFileSize=1)"},
        {"tag as large as the file", Id3v2(3, false, 200) + std::string(82, '\xFF'),
         "CACMStream::InitializeMP3 ID3ヘッダ長が異常(availSize=292, dwID3Size=210)"},
        {"no sync", std::string(200, '\x00'), "CACMStream::InitializeMP3 MP3チェックphase1に失敗(src[0]=0x0)"},
        {"MPEG-2", mpeg2, "CACMStream::InitializeMP3 MP3チェックphase2に失敗(src[1]=0xF3)", "MPEG-2 Layer III（22.05 kHz）"},
        {"MPEG-2.5", mpeg25, "CACMStream::InitializeMP3 MP3チェックphase2に失敗(src[1]=0xE3)", "MPEG-2.5 Layer III（8 kHz）"},
        {"MPEG-2 at 16 kHz, tagged", Id3v2(3, false, 100) + mp3At(16000, 1),
         "CACMStream::InitializeMP3 MP3チェックphase2に失敗(src[1]=0xF3)", "MPEG-2 Layer III（16 kHz）"},
        {"MPEG-2 at 24 kHz, tagged at both ends", Id3v2(4, true, 100) + mp3At(24000, 2) + Id3v1(),
         "CACMStream::InitializeMP3 MP3チェックphase2に失敗(src[1]=0xF3)", "MPEG-2 Layer III（24 kHz）"},
        {"MPEG-2 of a reserved rate", Frame(0xF3, 0x9C, 0x44), "CACMStream::InitializeMP3 MP3チェックphase2に失敗(src[1]=0xF3)"},
        {"no layer", Frame(0xF9, 0x90, 0x44), "CACMStream::InitializeMP3 MP3が無効なレイヤ"},
        {"free format", Frame(0xFB, 0x00, 0x44), "CACMStream::InitializeMP3 MP3のビットレートが無効(index=0)"},
        {"bit rate 15", Frame(0xFB, 0xF0, 0x44), "CACMStream::InitializeMP3 MP3のビットレートが無効(index=15)"},
        {"sample rate 3", Frame(0xFB, 0x9C, 0x44), "CACMStream::InitializeMP3 MP3のサンプリング周波数が無効(index=3)"},
        {"header then TAG", Frame(0xFB, 'T', 'A', 130).replace(2, 3, "TAG"),
         "CACMStream::InitializeMP3 データサイズが異常(dataSize=2)"},
    };
    for (const Case& c : cases) {
        log->Clear();
        const std::string name = MemoryName(c.file);
        CACMStream stream;
        EXPECT_EQ(stream.Open(name), 2) << c.name;
        std::vector<std::string> messages{c.reason, "CACMStream::Open オープンに失敗(ret=1) - " + name};
        if (!c.version.empty())
            messages.insert(messages.begin() + 1, "MP3ファイルを再生できません: " + CFile::NormalizePath(name) + " は " + c.version
                                                      + "です。再生できるのは MPEG-1 Layer III（32、44.1、48 kHz）です。");
        EXPECT_EQ(log->Messages(), messages) << c.name;
        EXPECT_EQ(*stream.GetFormat(), WAVEFORMATEX()) << c.name;
    }
}

TEST_F(Mp3StreamTest, LayersOneAndTwoPlayWhenTheDecoderReadsThem)
{
    // Frames of silence at 128 kbps, 44.1 kHz, mono, no padding: all-zero
    // allocation bits code silence.
    struct Layer {
        const char* name;
        std::uint8_t byte1, byte2;
        std::size_t frameBytes;
        std::size_t samplesPerFrame;
    };
    for (const Layer& layer : {Layer{"Layer I", 0xFF, 0x40, 136, 384}, Layer{"Layer II", 0xFD, 0x80, 417, 1152}}) {
        std::string file;
        for (int i = 0; i < 40; ++i) file += Frame(layer.byte1, layer.byte2, 0xC4, layer.frameBytes);
        CACMStream stream;
        ASSERT_EQ(stream.Open(MemoryName(file)), 0) << layer.name;
        EXPECT_EQ(stream.GetFormat()->nChannels, 1) << layer.name;
        EXPECT_EQ(stream.GetLength(), std::int32_t(40 * layer.samplesPerFrame * 1000 / 44100)) << layer.name;
        const std::vector<std::int16_t> samples = ReadSamples(stream);
        EXPECT_EQ(samples.size(), 40 * layer.samplesPerFrame) << layer.name;
        EXPECT_EQ(std::count(samples.begin(), samples.end(), 0), std::ptrdiff_t(samples.size())) << layer.name;
    }
}

} // namespace
