#include <gtest/gtest.h>

#include "frame/file/ObjectCreater.h"
#include "sound/ACMStream.h"
#include "sound/NullWaveStream.h"
#include "sound/WaveStream.h"
#include "sound/WaveStreamFactory.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/frame/file/ArchiveBuilder.h"
#include "tests/kit/TempFolder.h"
#include "tests/sound/RiffBuilder.h"
#include "tests/sound/SoundTestFiles.h"

using namespace kivotasuGameKit;

namespace {

// A reader class as a plug-in would register it: it opens names that hold
// its own word and counts how many of its kind live.
template <bool Opens>
class ListedReader : public CNullWaveStream {
public:
    static inline int alive = 0;
    ListedReader() { ++alive; }
    ~ListedReader() override { --alive; }
    int Open(const CTextString&) override { return Opens ? 0 : 7; }
};

template <typename T>
class Maker : public IObjectFactory {
public:
    void* Create() override { return static_cast<IWaveStream*>(new T); }
};

class WaveStreamFactoryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CObjectCreater::GetInstance()->RegisterClass("CListedReader", new Maker<ListedReader<true>>);
        CObjectCreater::GetInstance()->RegisterClass("CRefusingReader", new Maker<ListedReader<false>>);
    }

    TempFolder folder;
    CWaveStreamFactory factory;
    testkit::ScopedErrorLogRecorder log;
};

TEST_F(WaveStreamFactoryTest, OnlyTheWavExtensionTriesTheWaveReader)
{
    const std::string pcm = riff::PcmWave({1, 1, 8000, 8}, riff::Ramp(800));
    for (const char* name : {"a.wav", "B.WAV", "c.Wav"}) {
        folder.Put(name, pcm);
        CSmartPtr<IWaveStream> stream = factory.CreateStream(folder.Name(name));
        EXPECT_NE(dynamic_cast<CWaveStream*>(stream.Get()), nullptr) << name;
        EXPECT_EQ(stream->GetLength(), 100) << name;
    }
    for (const char* name : {"d.wave", "e.wav.bak", "wav"}) {
        folder.Put(name, pcm);
        CSmartPtr<IWaveStream> stream = factory.CreateStream(folder.Name(name));
        EXPECT_EQ(dynamic_cast<CWaveStream*>(stream.Get()), nullptr) << name;
    }
}

TEST_F(WaveStreamFactoryTest, ArchiveMembersAreReadFromMemory)
{
    const std::string pcm = riff::PcmWave({1, 1, 8000, 8}, riff::Ramp(4000));
    const std::string mp3 = Mp3(Tone(44100, 1, 500), platform::Mp3Bitrate::Constant, Cbr128);
    folder.Put("sound.dat", ArchiveBuilder(ArchiveFormat::PackEx).Add("a.wav", pcm, true).Add("b.mp3", mp3).Build());
    CSmartPtr<IWaveStream> wave = factory.CreateStream(folder.Name("sound\\a.wav"));
    ASSERT_NE(dynamic_cast<CWaveStream*>(wave.Get()), nullptr);
    std::string data(5000, '\0');
    EXPECT_EQ(wave->Read(data.data(), 5000), 4000u);
    EXPECT_EQ(data.substr(0, 4000), riff::Ramp(4000));
    CSmartPtr<IWaveStream> music = factory.CreateStream(folder.Name("sound\\b.mp3"));
    ASSERT_NE(dynamic_cast<CACMStream*>(music.Get()), nullptr);
    EXPECT_NEAR(music->GetLength(), 500, 80);
}

TEST_F(WaveStreamFactoryTest, NothingOpensTheFileGivesTheNullReader)
{
    folder.Put("noise.wav", "not a sound at all");
    for (const std::string& name : {folder.Name("noise.wav"), folder.Name("missing.ogg")}) {
        CSmartPtr<IWaveStream> stream = factory.CreateStream(name);
        ASSERT_FALSE(stream.IsNull());
        char byte;
        EXPECT_EQ(stream->GetFormat(), nullptr) << name;
        EXPECT_EQ(stream->GetLength(), -1) << name;
        EXPECT_EQ(stream->GetCurrentPos(), -1) << name;
        EXPECT_EQ(stream->Read(&byte, 1), 0u) << name;
    }
}

TEST_F(WaveStreamFactoryTest, ListedClassesServeTheirExtensionInKeyOrder)
{
    folder.Put("a.qsnd", "x");
    factory.GetKeyValueFile()->Add("QSND", "CRefusingReader");
    factory.GetKeyValueFile()->Add("qsnd", "CListedReader");
    factory.GetKeyValueFile()->Add("other", "CListedReader");
    {
        CSmartPtr<IWaveStream> stream = factory.CreateStream(folder.Name("a.qsnd"));
        EXPECT_NE(dynamic_cast<ListedReader<true>*>(stream.Get()), nullptr);
        EXPECT_EQ(ListedReader<false>::alive, 0) << "the refusing reader is released";
    }
    EXPECT_EQ(ListedReader<true>::alive, 0);
    factory.GetKeyValueFile()->Add("qsnd", "CNoSuchClass");
    CSmartPtr<IWaveStream> stream = factory.CreateStream(folder.Name("a.qsnd"));
    EXPECT_EQ(stream->GetFormat(), nullptr) << "an unknown class makes nothing";
    EXPECT_EQ(ListedReader<false>::alive, 0);
}

} // namespace
