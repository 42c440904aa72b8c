// The demo game's sounds, as the build lays them out (24-bit extensible and IMA ADPCM WAVE,
// variable and constant bit-rate MP3), each served by the reader its kind
// calls for, with the length it was made with and a signal; its MIDI title
// music and the volume page's sample as loud as its WAVE music.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/HostPath.h"
#include "sound/ACMStream.h"
#include "sound/WaveStream.h"
#include "sound/SoundFactory.h"
#include "sound/WaveStreamFactory.h"
#include "tests/kit/AudioSignal.h"
#include "tests/sound/SoundDevice.h"
#include "tests/sound/SoundTestFiles.h"

using namespace kivotasuGameKit;

namespace {

std::filesystem::path BuiltData()
{
    std::filesystem::path tests = *platform::ToHostPath(platform::FileSystem().ExecutablePath());
    return tests.parent_path().parent_path() / "game" / "data";
}

std::filesystem::path BuiltSounds()
{
    return BuiltData() / "sound";
}

struct DemoSound {
    const char8_t* name;
    bool compressed;
    std::int32_t ms;
    // ADPCM data ends with a whole block; the constant-rate formula also
    // counts the header frame and the encoder's delay and padding.
    std::int32_t tolerance;
};

TEST(DemoSoundsTest, EachIsReadByItsReader)
{
    ASSERT_TRUE(std::filesystem::exists(BuiltSounds())) << "build the demo target first";
    CWaveStreamFactory factory;
    for (const DemoSound& sound : {DemoSound{u8"chime.wav", true, 1500, 1}, DemoSound{u8"drop.wav", true, 600, 100},
                                   DemoSound{u8"voice.mp3", true, 1300, 1}, DemoSound{u8"ほてぴら.mp3", true, 1200, 100}}) {
        const std::string shown(reinterpret_cast<const char*>(sound.name));
        const std::string name = platform::ToInternalPath((BuiltSounds() / std::u8string(sound.name)).string());
        ASSERT_FALSE(name.empty()) << shown;
        CSmartPtr<IWaveStream> stream = factory.CreateStream(name);
        EXPECT_EQ(dynamic_cast<CACMStream*>(stream.Get()) != nullptr, sound.compressed) << shown;
        EXPECT_EQ(dynamic_cast<CWaveStream*>(stream.Get()) != nullptr, !sound.compressed) << shown;
        EXPECT_NEAR(stream->GetLength(), sound.ms, sound.tolerance) << shown;
        std::vector<std::int16_t> samples(4096);
        std::int32_t loudest = 0;
        while (const std::uint32_t n = stream->Read(samples.data(), 8192))
            for (std::uint32_t i = 0; i < n / 2; ++i) loudest = std::max(loudest, std::abs(std::int32_t(samples[i])));
        EXPECT_GT(loudest, 8000) << shown;
    }
}

class DemoMusicLevelTest : public SoundDeviceTest, public ::testing::WithParamInterface<const char*> {
protected:
    DemoMusicLevelTest() { setenv("SDL_SOUNDFONTS", GetParam(), 1); }
    ~DemoMusicLevelTest() override { unsetenv("SDL_SOUNDFONTS"); }

    // The level of the first ms of the file as the device plays it, in dBFS:
    // the median of its 400 ms windows.
    double Level(const std::u8string& name, std::uint32_t ms)
    {
        CSmartPtr<ISound> sound = factory.CreateSoundByFile(platform::ToInternalPath((BuiltData() / name).string()));
        const std::size_t from = Device().Recording().size();
        sound->Play();
        Advance(ms);
        sound->Stop();
        return testkit::MedianLevel(HeardFrom(from), 48000 * 4 / 10);
    }

    CSoundFactory factory;
};

TEST_P(DemoMusicLevelTest, TitleMusicAndTheVolumeSampleSoundAsLoudAsTheWaveMusic)
{
    if (!std::filesystem::exists(GetParam())) GTEST_SKIP() << GetParam() << " is not installed";
    ASSERT_TRUE(std::filesystem::exists(BuiltSounds())) << "build the demo target first";
    const double title = Level(u8"bgm/title.mid", 9600);
    const double walk = Level(u8"bgm/walk.wav", 3200);
    EXPECT_NEAR(title, walk, 3);
    // The sample is heard over the title music while the demo tells of the
    // settings; the music may sit on either side of the WAVE level.
    EXPECT_NEAR(Level(u8"sound/ほてぴら.mp3", 1200), walk, 3);
}

INSTANTIATE_TEST_SUITE_P(SoundFonts, DemoMusicLevelTest,
                         ::testing::ValuesIn(GeneralMidiSoundFonts),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::filesystem::path(info.param).stem().string();
                         });

} // namespace
