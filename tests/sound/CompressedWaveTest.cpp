#include <gtest/gtest.h>

#include "sound/ACMStream.h"
#include "sound/WaveChunks.h"
#include "sound/WaveStreamFactory.h"
#include "platform/MemoryReadFile.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/kit/TempFolder.h"
#include "tests/sound/RiffBuilder.h"
#include "tests/sound/SoundTestFiles.h"

using namespace kivotasuGameKit;
using platform::WaveEncoding;

namespace {

std::vector<std::int16_t> ReadSamples(IWaveStream& stream)
{
    std::vector<std::int16_t> out;
    std::vector<std::int16_t> buffer(1500);
    while (std::uint32_t n = stream.Read(buffer.data(), 3000)) out.insert(out.end(), buffer.begin(), buffer.begin() + n / 2);
    return out;
}

double Distance(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b, std::size_t from, std::size_t n)
{
    double sum = 0;
    for (std::size_t i = from; i < from + n; ++i) sum += double(a[i] - b[i]) * double(a[i] - b[i]);
    return std::sqrt(sum / double(n)) / 32768;
}

std::string Wave(const platform::PcmSound& sound, WaveEncoding encoding)
{
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(platform::EncodeWave(sound, encoding, out));
    return Bytes(out);
}

struct Encoded {
    const char* name;
    WaveEncoding encoding;
    std::uint16_t tag;
    int rate;
    int channels;
    double tolerance;
};

class CompressedWaveTest : public ::testing::TestWithParam<Encoded> {
protected:
    testkit::ScopedErrorLogRecorder log;
    TempFolder folder;
};

TEST_P(CompressedWaveTest, TheFactoryPassesItOnAndItDecodesToSixteenBits)
{
    const Encoded& e = GetParam();
    const platform::PcmSound tone = Tone(e.rate, e.channels, 2000);
    const std::string file = Wave(tone, e.encoding);
    platform::MemoryReadFile image(file);
    const WaveChunks chunks = FindWaveChunks(image);
    ASSERT_EQ(chunks.format.wFormatTag, e.tag);

    folder.Put("voice.wav", file);
    CWaveStreamFactory factory;
    CSmartPtr<IWaveStream> stream = factory.CreateStream(folder.Name("voice.wav"));
    ASSERT_NE(dynamic_cast<CACMStream*>(stream.Get()), nullptr);
    EXPECT_EQ(log->Messages(), std::vector<std::string>{"CWaveStream::Initialize WAVE_FORMAT_PCMじゃない"});
    const std::uint16_t align = std::uint16_t(2 * e.channels);
    EXPECT_EQ(*stream->GetFormat(),
              (WAVEFORMATEX{1, std::uint16_t(e.channels), std::uint32_t(e.rate), std::uint32_t(e.rate) * align, align, 16, 0}));
    EXPECT_NEAR(stream->GetLength(), 2000, 40) << "what the blocks decode to";

    const std::vector<std::int16_t> samples = ReadSamples(*stream);
    ASSERT_GE(samples.size(), tone.samples.size()) << "blocks end with the last whole block";
    EXPECT_LT(samples.size(), tone.samples.size() + 2048u * e.channels);
    EXPECT_LT(Distance(samples, tone.samples, 0, tone.samples.size()), e.tolerance);
    std::int16_t sample;
    EXPECT_EQ(stream->Read(&sample, 2), 0u);

    ASSERT_EQ(stream->SetCurrentPos(1500), 0);
    EXPECT_EQ(stream->GetCurrentPos(), 1500);
    const std::vector<std::int16_t> rest = ReadSamples(*stream);
    const std::size_t skipped = std::size_t(e.rate) * 3 / 2 * std::size_t(e.channels);
    ASSERT_EQ(rest.size(), samples.size() - skipped);
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), samples.begin() + std::ptrdiff_t(skipped)))
        << "a seek lands on the same samples as reading through";
    EXPECT_EQ(stream->SetCurrentPos(stream->GetLength()), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, CompressedWaveTest,
    ::testing::Values(Encoded{"ImaAdpcm", WaveEncoding::ImaAdpcm, 0x11, 22050, 2, 0.01},
                      Encoded{"MsAdpcm", WaveEncoding::MsAdpcm, 0x02, 22050, 1, 0.01},
                      Encoded{"ALaw", WaveEncoding::ALaw, 0x06, 8000, 2, 0.005},
                      Encoded{"MuLaw", WaveEncoding::MuLaw, 0x07, 11025, 1, 0.005},
                      Encoded{"Gsm610", WaveEncoding::Gsm610, 0x31, 8000, 1, 0.05}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompressedWaveRefusalTest, EachStepRefusesWithItsMessage)
{
    // An IMA ADPCM file with one field of its format changed.
    const std::string ima = Wave(Tone(8000, 1, 200), WaveEncoding::ImaAdpcm);
    const std::size_t fmtAt = ima.find("fmt ") + 8;
    std::string noRate = ima;
    noRate.replace(fmtAt + 8, 4, riff::Le32(0));
    std::string otherTag = ima;
    otherTag.replace(fmtAt, 2, riff::Le16(0x0160));
    // An A-law file whose block holds no whole sample.
    std::string badBlock = Wave(Tone(8000, 1, 200), WaveEncoding::ALaw);
    badBlock.replace(badBlock.find("fmt ") + 8 + 12, 2, riff::Le16(0));
    // MPEG data the decoder cannot count, so only the header's average rate
    // gives its length.
    auto uncounted = [](std::uint32_t avg, std::uint16_t align) {
        return riff::Riff({riff::Chunk("fmt ", riff::Le16(0x55) + riff::Le16(2) + riff::Le32(44100) + riff::Le32(avg)
                                                   + riff::Le16(align) + riff::Le16(0) + riff::Le16(0)),
                           riff::Chunk("data", std::string(1024, '\0'))});
    };

    const riff::Format pcm{1, 1, 8000, 8};
    struct Case {
        const char* name;
        std::string file;
        int result;
        std::string message;
        // The step of the WAVE walk that refused it, when one did.
        int initializeResult;
    };
    const std::vector<Case> cases{
        {"PCM", riff::PcmWave(pcm, riff::Ramp(400)), 2, "CACMStream::InitializeNormal ACMを使うまでもない", 4},
        {"no fmt", riff::Riff({riff::Chunk("data", riff::Ramp(400))}), 2,
         "CACMStream::InitializeNormal fmtチャンクが指定できない", 3},
        {"no data", riff::Riff({riff::Fmt({2, 1, 8000, 4})}), 2,
         "CACMStream::InitializeNormal データチャンクに行けない", 4},
        {"no average rate", noRate, 2, "CACMStream::InitializeNormal nAvgBytesPerSecが0", 5},
        {"unknown format", otherTag, 3, "CACMStream::Open acmFormatSuggest()に失敗", 0},
        {"undecodable", riff::Riff({riff::Fmt({0x11, 1, 8000, 16}), riff::Chunk("data", riff::Ramp(400))}), 4,
         "CACMStream::Open acmStreamOpen()に失敗", 0},
        {"block below a sample", badBlock, 3, "CACMStream::Open acmFormatSuggest()に失敗", 0},
        {"no block", uncounted(16000, 0), 5, "CACMStream::Open acmStreamSize()に失敗", 0},
        {"more than 64 times the bytes", uncounted(1, 1), 5, "CACMStream::Open acmStreamSize()に失敗", 0},
    };
    for (const Case& c : cases) {
        testkit::ScopedErrorLogRecorder log;
        const std::string name = MemoryName(c.file);
        CACMStream stream;
        EXPECT_EQ(stream.Open(name), c.result) << c.name;
        std::vector<std::string> expected{c.message};
        if (c.initializeResult != 0)
            expected.push_back("CACMStream::Open オープンに失敗(ret=" + std::to_string(c.initializeResult) + ") - " + name);
        EXPECT_EQ(log->Messages(), expected) << c.name;
        EXPECT_EQ(*stream.GetFormat(), WAVEFORMATEX()) << c.name;
        EXPECT_EQ(stream.GetLength(), 0) << c.name;
    }
}

TEST(CompressedWaveRefusalTest, AFileThatCannotBeReadGivesOne)
{
    TempFolder folder;
    testkit::ScopedErrorLogRecorder log;
    const std::string name = folder.Name("gone.mp3");
    CACMStream stream;
    EXPECT_EQ(stream.Open(name), 1);
    EXPECT_EQ(log->Messages(), std::vector<std::string>{"CACMStream::Open ファイル読み込みに失敗(ret=1) - " + name});
}

TEST(CompressedWaveRefusalTest, APcmWaveNamedOtherwiseEndsAtTheNullReader)
{
    TempFolder folder;
    folder.Put("a.wave", riff::PcmWave({1, 1, 8000, 8}, riff::Ramp(800)));
    testkit::ScopedErrorLogRecorder log;
    CWaveStreamFactory factory;
    CSmartPtr<IWaveStream> stream = factory.CreateStream(folder.Name("a.wave"));
    EXPECT_EQ(stream->GetFormat(), nullptr);
    EXPECT_TRUE(log->Contains("CACMStream::InitializeNormal ACMを使うまでもない"));
    EXPECT_FALSE(log->Contains("CWaveStream")) << "only wav tries the WAVE reader";
    EXPECT_FALSE(log->Contains("InitializeMP3")) << "a RIFF WAVE file is not tried as MP3";
}

TEST(CompressedWaveRefusalTest, AnMp3InsideRiffGoesToTheMpegDecoder)
{
    const std::string mp3 = Mp3(Tone(44100, 2, 1000), platform::Mp3Bitrate::Constant, Cbr128);
    const std::string fmt = riff::Le16(0x55) + riff::Le16(2) + riff::Le32(44100) + riff::Le32(16000) + riff::Le16(1)
                      + riff::Le16(0) + riff::Le16(12) + riff::Le16(1) + riff::Le32(2) + riff::Le16(417)
                      + riff::Le16(1) + riff::Le16(1393);
    const std::string file = riff::Riff({riff::Chunk("fmt ", fmt), riff::Chunk("data", mp3)});
    CACMStream stream;
    ASSERT_EQ(stream.Open(MemoryName(file)), 0);
    EXPECT_EQ(stream.GetFormat()->nAvgBytesPerSec, 176400u);
    EXPECT_EQ(stream.GetLength(), 1000) << "what the frames decode to";
    EXPECT_EQ(ReadSamples(stream).size(), 44100u * 2);
}

} // namespace
