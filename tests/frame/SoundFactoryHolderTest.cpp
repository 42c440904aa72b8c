#include <gtest/gtest.h>

#include <thread>

#include "frame/Exceptions.h"
#include "frame/SoundFactoryHolder.h"

using namespace kivotasuGameKit;
using namespace kivotasuGameKit::KTL;

namespace {

class FakeSound : public ISound {
public:
    explicit FakeSound(CTextString name) : m_name(std::move(name)) {}
    int Open(const CTextString&) override { return 0; }
    int Close() override { return 0; }
    int Play() override { return 0; }
    int Pause() override { return 0; }
    int Replay() override { return 0; }
    int Stop() override { return 0; }
    bool IsPlay() override { return false; }
    int SetLoopPlay(bool) override { return 0; }
    bool IsLoopPlay() override { return false; }
    int SetCurrentPos(std::int32_t) override { return -1; }
    std::int32_t GetCurrentPos() override { return -1; }
    std::int32_t GetLength() override { return -1; }
    int SetVolume(std::int32_t) override { return -1; }
    std::int32_t GetVolume() override { return -10000; }
    int GetType() override { return 0; }
    CTextString GetFileName() override { return m_name; }

private:
    CTextString m_name;
};

class FakeFactory : public ISoundFactory {
public:
    CSmartPtr<ISound> CreateWaveSound(bool) override { return Make(""); }
    CSmartPtr<ISound> CreateSoundByFile(const CTextString& fileName) override { return Make(fileName); }
    CSmartPtr<ISound> CreateDefaultWaveSound() override { return Make(""); }
    CSmartPtr<ISound> CreateMIDISound() override { return Make(""); }

private:
    static CSmartPtr<ISound> Make(const CTextString& name) { return CSmartPtr<ISound>(new FakeSound(name)); }
};

std::string MissingFactoryError()
{
    CSmartPtr<ISound> sound;
    try {
        CSoundFactoryHolder::CreateSound(sound, "a.wav");
    } catch (const CRuntimeException& error) {
        return error.GetError().GetStr();
    }
    return "no exception";
}

} // namespace

TEST(SoundFactoryHolder, SoundsComeFromTheCallingThreadsFactory)
{
    EXPECT_EQ(MissingFactoryError(), "sound-factoryが設定されていない");

    FakeFactory factory;
    CSoundFactoryHolder::GetMyEntry() = CSmartPtr<ISoundFactory>(&factory, false);
    CSmartPtr<ISound> sound;
    EXPECT_EQ(CSoundFactoryHolder::CreateSound(sound, "bgm\\a.mid"), 0);
    EXPECT_EQ(sound->GetFileName().GetStr(), "bgm\\a.mid");
    std::int32_t h, m, s, ms;
    EXPECT_EQ(sound->MsToHmsm(61001, h, m, s, ms), 0);
    EXPECT_EQ(m, 1);

    std::string otherThread;
    std::thread other([&] { otherThread = MissingFactoryError(); });
    other.join();
    EXPECT_EQ(otherThread, "sound-factoryが設定されていない");

    sound.Release();
    CSoundFactoryHolder::GetMyEntry().Release();  // the holder never owned the factory
}
