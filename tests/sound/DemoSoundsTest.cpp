// The demo game's sounds, as the build lays them out, each served by the
// reader its kind calls for, with the length it was made with and a signal.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/HostPath.h"
#include "sound/ACMStream.h"
#include "sound/WaveStream.h"
#include "sound/WaveStreamFactory.h"

using namespace kivotasuGameKit;

namespace {

std::filesystem::path BuiltSounds()
{
    std::filesystem::path tests = *platform::ToHostPath(platform::FileSystem().ExecutablePath());
    return tests.parent_path().parent_path() / "game" / "data" / "sound";
}

struct DemoSound {
    const char* name;
    bool compressed;
    std::int32_t ms;
};

TEST(DemoSoundsTest, EachIsReadByItsReader)
{
    ASSERT_TRUE(std::filesystem::exists(BuiltSounds())) << "build the demo target first";
    CWaveStreamFactory factory;
    for (const DemoSound& sound : {DemoSound{"bgm.mp3", true, 8000}, DemoSound{"voice.wav", true, 1000},
                                   DemoSound{"chime.wav", false, 600}}) {
        const std::string name = platform::ToInternalPath((BuiltSounds() / sound.name).string());
        CSmartPtr<IWaveStream> stream = factory.CreateStream(name);
        EXPECT_EQ(dynamic_cast<CACMStream*>(stream.Get()) != nullptr, sound.compressed) << sound.name;
        EXPECT_EQ(dynamic_cast<CWaveStream*>(stream.Get()) != nullptr, !sound.compressed) << sound.name;
        EXPECT_NEAR(stream->GetLength(), sound.ms, 30) << sound.name;
        std::vector<std::int16_t> samples(4096);
        std::int32_t loudest = 0;
        while (const std::uint32_t n = stream->Read(samples.data(), 8192))
            for (std::uint32_t i = 0; i < n / 2; ++i) loudest = std::max(loudest, std::abs(std::int32_t(samples[i])));
        EXPECT_GT(loudest, 4000) << sound.name;
    }
}

} // namespace
