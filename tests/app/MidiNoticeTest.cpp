// The sequencer face of MIDI learns of a play's end from a notice posted to
// the application's window: each end reaches the application thread once,
// and the notice of a play that a later play replaced is ignored.
#include "AppFixture.h"

#include "frame/AppManager.h"
#include "sound/SoundFactory.h"
#include "tests/kit/HeadlessAudio.h"
#include "tests/kit/TempFolder.h"
#include "tests/sound/MidiBuilder.h"

#include <algorithm>

using namespace kivotasuGameKit;
using namespace apptest;

namespace {

class MidiNoticeTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        auto clock = std::make_unique<platform::VirtualClock>(1000);
        m_clock = clock.get();
        platform::InstallClock(std::move(clock));
        m_audio = std::make_unique<testkit::ScopedHeadlessAudio>();
        // Half a second at 120 bpm.
        midi::Track track;
        track.Note(0, 0, 60, 480).End();
        folder.Put("short.mid", midi::File(480, {track}));
    }
    void TearDown() override { m_audio.reset(); }

    // Moves the clock and lets the device mix up to it, as a real one does by itself.
    void Advance(std::uint32_t ms)
    {
        m_clock->Advance(ms);
        (*m_audio)->Recording();
    }
    static int Notices(const RecordingHook& hook)
    {
        return static_cast<int>(std::count(hook.seen.begin(), hook.seen.end(), platform::MM_MCINOTIFY));
    }

    TempFolder folder;

private:
    platform::VirtualClock* m_clock = nullptr;
    std::unique_ptr<testkit::ScopedHeadlessAudio> m_audio;
};

TEST_F(MidiNoticeTest, EachEndReachesTheApplicationThreadOnce)
{
    RecordingHook hook;
    TestApp app([&](TestApp& self) {
        CAppManager::GetInstance()->Hook(&hook);
        CSoundFactory factory;
        factory.SetMIDIDevice(MidiSequencerDevice, SilentDevice);
        CSmartPtr<ISound> sound = factory.CreateSoundByFile(folder.Name("short.mid"));
        ASSERT_EQ(sound->GetType(), 1);
        ASSERT_EQ(sound->Play(), 0);
        Advance(400);
        self.IsThreadValid();
        EXPECT_EQ(Notices(hook), 0);
        EXPECT_TRUE(sound->IsPlay());

        // The end: one notice, which stops the sound at its end.
        Advance(200);
        for (int pump = 0; pump < 3; ++pump) self.IsThreadValid();
        EXPECT_EQ(Notices(hook), 1);
        EXPECT_FALSE(sound->IsPlay());
        EXPECT_EQ(sound->GetCurrentPos(), 500);

        // A play made before the notice of the last one arrives is not ended by it.
        sound->Play();
        Advance(600);
        sound->Play();
        self.IsThreadValid();
        EXPECT_EQ(Notices(hook), 2);
        EXPECT_TRUE(sound->IsPlay());
        Advance(300);
        self.IsThreadValid();
        EXPECT_TRUE(sound->IsPlay());
        Advance(300);
        self.IsThreadValid();
        EXPECT_EQ(Notices(hook), 3);
        EXPECT_FALSE(sound->IsPlay());

        // Looping: each end starts the piece over.
        sound->SetLoopPlay(true);
        sound->Play();
        for (int round = 0; round < 3; ++round) {
            Advance(510);
            self.IsThreadValid();
            EXPECT_TRUE(sound->IsPlay()) << round;
            EXPECT_LT(sound->GetCurrentPos(), 100) << round;
        }
        EXPECT_EQ(Notices(hook), 6);
        sound.Release();
        CAppManager::GetInstance()->Unhook(&hook);
        self.PostClose();
    });
    app.Run();
}

} // namespace
