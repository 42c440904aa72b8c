// The streaming sound on the headless device: the device mixes on the virtual
// clock while the sound's worker polls on real time, so the test moves the
// clock in steps and, after each, waits until the worker is ahead (one that
// never is, is ctest's timeout to catch).
#include "tests/sound/SoundDevice.h"

#include <unistd.h>

#include "platform/WindowMessage.h"
#include "sound/DirectSound.h"
#include "sound/SwitchWaveSound.h"
#include "sound/WaveOutput.h"
#include "sound/WaveStreamSound.h"
#include "tests/kit/AudioSignal.h"

using namespace kivotasuGameKit;

namespace {

// 48 kHz 16-bit stereo, the device's own format: heard samples are the file's.
constexpr std::uint32_t Avg = 192000;
constexpr std::uint32_t Ring = 3 * Avg;
constexpr std::size_t SamplesPerMs = 96;

template <class Condition> void WaitFor(Condition condition)
{
    while (!condition()) usleep(1000);
}

class WaveStreamSoundTest : public SoundDeviceTest {
protected:
    // A noise file of ms milliseconds; its samples.
    std::vector<std::int16_t> PutNoise(const std::string& file, std::uint32_t ms, std::uint32_t seed)
    {
        noise = testkit::Noise(ms * SamplesPerMs, seed);
        name = PutWave(file, noise, 48000, 2);
        return noise;
    }
    static std::uint32_t Lead(CWaveStreamSound& sound)
    {
        std::uint32_t play = 0;
        sound.GetBuffer()->GetCurrentPosition(&play, nullptr);
        return (sound.GetWritePosition() + Ring - play) % Ring;
    }
    // Plays ms of device time in steps of 100 ms; after each the worker has a
    // second (or what is left of the file) ready ahead of the cursor. More
    // cannot be asked: the worker refills only when the clock has moved. A
    // sound that ends (bytes left given) is stopped once the worker sees its
    // cursor pass the end, which may need the cursor seen going round the
    // ring: the worker looks after every step.
    void Stream(CWaveStreamSound& sound, std::uint32_t ms, std::uint32_t bytesLeft = ~0u)
    {
        const bool ends = bytesLeft != ~0u;
        for (std::uint32_t done = 0; done < ms; done += 100) {
            const std::int32_t counted = sound.GetCurrentPos();
            Advance(100);
            bytesLeft = bytesLeft > 100 * Avg / 1000 ? bytesLeft - 100 * Avg / 1000 : 0;
            const std::uint32_t need = std::min<std::uint32_t>(Avg, bytesLeft > 8192 ? bytesLeft - 8192 : 0);
            WaitFor([&] { return !sound.IsPlay() || (Lead(sound) >= need && (!ends || sound.GetCurrentPos() != counted)); });
        }
    }
    void ExpectHeard(std::size_t from, std::size_t noiseFrom)
    {
        const std::vector<std::int16_t> heard = HeardFrom(from);
        ASSERT_FALSE(heard.empty());
        for (std::size_t i = 0; i < heard.size(); ++i)
            ASSERT_EQ(heard[i], noise[(noiseFrom + i) % noise.size()]) << "sample " << i;
    }

    CDirectSound directSound;
    CWaveOutputDirectSound output{&directSound};
    std::vector<std::int16_t> noise;
    std::string name;
};

TEST_F(WaveStreamSoundTest, ALongLoopingSoundIsHeardByteForByteAcrossRingWrapsAndLoops)
{
    PutNoise("long.wav", 7000, 1);
    CWaveStreamSound sound(&output);
    ASSERT_EQ(sound.Open(name), 0);
    EXPECT_EQ(sound.GetLength(), 7000);
    sound.SetLoopPlay(true);
    ASSERT_EQ(sound.Play(), 0);
    // 2.625 s of the file before the worker runs, at the start of a zeroed ring.
    EXPECT_EQ(sound.GetWritePosition(), (Avg * 21 / 8) & ~3u);
    Stream(sound, 16000);
    EXPECT_TRUE(sound.IsPlay());
    ExpectHeard(0, 0);
    // Played bytes count modulo the file: 16 s into a 7 s loop is 2 s in.
    WaitFor([&] { return sound.GetCurrentPos() >= 1970; });
    EXPECT_LE(sound.GetCurrentPos(), 2000);
    EXPECT_TRUE(log->Messages().empty());
}

TEST_F(WaveStreamSoundTest, ASoundPlayedOnceEndsInSilenceStopsAndRewinds)
{
    // The end of 5.85 s falls between two steps of the clock, in the last
    // 0.375 s of the ring, which the pre-fill never reached and the first lap did.
    for (std::uint32_t ms : {4000u, 1000u, 5850u}) {
        SCOPED_TRACE(ms);
        PutNoise("once" + std::to_string(ms) + ".wav", ms, ms);
        CWaveStreamSound sound(&output);
        ASSERT_EQ(sound.Open(name), 0);
        const std::size_t from = Device().Recording().size();
        ASSERT_EQ(sound.Play(), 0);
        Stream(sound, ms, ms * Avg / 1000);
        WaitFor([&] { return !sound.IsPlay(); });
        Advance(1000);
        const std::vector<std::int16_t> heard = HeardFrom(from);
        ASSERT_GE(heard.size(), noise.size());
        EXPECT_TRUE(std::equal(noise.begin(), noise.end(), heard.begin()));
        EXPECT_TRUE(Silent({heard.begin() + static_cast<std::ptrdiff_t>(noise.size()), heard.end()}));
        EXPECT_EQ(sound.GetCurrentPos(), 0);
    }
}

TEST_F(WaveStreamSoundTest, PausesNestAndTheSoundGoesOnWhereItStood)
{
    PutNoise("pause.wav", 6000, 2);
    CWaveStreamSound sound(&output);
    ASSERT_EQ(sound.Open(name), 0);
    // Neither playing nor paused: nothing to count, nothing to resume.
    EXPECT_EQ(sound.Pause(), 0);
    EXPECT_EQ(sound.Replay(), 0);
    EXPECT_FALSE(sound.IsPlay());

    ASSERT_EQ(sound.Play(), 0);
    Stream(sound, 1500);
    const std::size_t pausedAt = Device().Recording().size();
    EXPECT_EQ(sound.Pause(), 0);
    EXPECT_EQ(sound.Pause(), 0);
    EXPECT_EQ(sound.Stop(), 0);
    Advance(500);
    EXPECT_EQ(sound.Replay(), 0);
    EXPECT_FALSE(sound.IsPlay());
    Advance(500);
    const std::size_t resumedAt = Device().Recording().size();
    EXPECT_TRUE(Silent(HeardFrom(pausedAt)));
    EXPECT_EQ(sound.Replay(), 0);
    EXPECT_TRUE(sound.IsPlay());
    Stream(sound, 3000);
    ExpectHeard(resumedAt, pausedAt);
}

TEST_F(WaveStreamSoundTest, StopReplayAndSeekWhileTheWorkerRuns)
{
    PutNoise("seek.wav", 8000, 3);
    CWaveStreamSound sound(&output);
    ASSERT_EQ(sound.Open(name), 0);
    ASSERT_EQ(sound.Play(), 0);
    Stream(sound, 1000);

    ASSERT_EQ(sound.SetCurrentPos(5000), 0);
    EXPECT_TRUE(sound.IsPlay());
    EXPECT_EQ(sound.GetCurrentPos(), 5000);
    std::size_t from = Device().Recording().size();
    Stream(sound, 2000, 3000 * Avg / 1000);
    ExpectHeard(from, 5000 * SamplesPerMs);

    EXPECT_EQ(sound.Stop(), 0);
    EXPECT_FALSE(sound.IsPlay());
    EXPECT_EQ(sound.GetCurrentPos(), 0);
    Advance(300);
    from = Device().Recording().size();
    EXPECT_TRUE(Silent(HeardFrom(from - 300 * SamplesPerMs)));
    ASSERT_EQ(sound.Play(), 0);
    Stream(sound, 1200);
    // Play on a playing sound starts it again from the beginning.
    const std::size_t again = Device().Recording().size();
    ASSERT_EQ(sound.Play(), 0);
    Stream(sound, 2500);
    ExpectHeard(again, 0);
    const std::vector<std::int16_t> first = HeardFrom(from);
    EXPECT_TRUE(std::equal(first.begin(), first.begin() + 1200 * SamplesPerMs, noise.begin()));

    // A stopped sound moved plays from there.
    EXPECT_EQ(sound.Stop(), 0);
    ASSERT_EQ(sound.SetCurrentPos(6500), 0);
    EXPECT_FALSE(sound.IsPlay());
    from = Device().Recording().size();
    ASSERT_EQ(sound.Play(), 0);
    Stream(sound, 1000, 1500 * Avg / 1000);
    ExpectHeard(from, 6500 * SamplesPerMs);
    EXPECT_TRUE(log->Messages().empty());
}

TEST_F(WaveStreamSoundTest, EndingAPausedOrPlayingSoundEndsItsWorkerFirst)
{
    PutNoise("end.wav", 5000, 4);
    const std::string other = PutWave("other.wav", testkit::Noise(48000 * 4, 9), 48000, 2);
    enum Ending { Destroy, Close, Load, Seek };
    for (bool paused : {false, true}) {
        for (Ending ending : {Destroy, Close, Load, Seek}) {
            SCOPED_TRACE(testing::Message() << paused << " " << ending);
            auto sound = std::make_unique<CWaveStreamSound>(&output);
            sound->SetLoopPlay(true);
            ASSERT_EQ(sound->Open(name), 0);
            ASSERT_EQ(sound->Play(), 0);
            Stream(*sound, 700);
            if (paused) sound->Pause();
            switch (ending) {
            case Destroy: sound.reset(); break;
            case Close:
                EXPECT_EQ(sound->Close(), 0);
                EXPECT_TRUE(sound->GetFileName().IsEmpty());
                EXPECT_EQ(sound->GetCurrentPos(), -1);
                EXPECT_EQ(sound->SetCurrentPos(100), 1);
                EXPECT_FALSE(sound->IsPlay());
                EXPECT_EQ(sound->Play(), 1);
                EXPECT_TRUE(log->Contains("CWaveStreamSound::InitBuffer ファイルが読み込めてない"));
                break;
            case Load:
                EXPECT_EQ(sound->Open(other), 0);
                EXPECT_EQ(sound->GetLength(), 2000);
                EXPECT_FALSE(sound->IsPlay());
                EXPECT_EQ(sound->Replay(), 0);
                EXPECT_FALSE(sound->IsPlay());
                break;
            case Seek: {
                EXPECT_EQ(sound->SetCurrentPos(3000), 0);
                EXPECT_EQ(sound->GetCurrentPos(), 3000);
                EXPECT_EQ(sound->IsPlay(), !paused);
                // A paused sound moved plays from its new place once replayed.
                const std::size_t from = Device().Recording().size();
                if (paused) {
                    EXPECT_EQ(sound->Replay(), 0);
                }
                Stream(*sound, 1000);
                ExpectHeard(from, 3000 * SamplesPerMs);
                break;
            }
            }
            Advance(200);
        }
    }
}

TEST_F(WaveStreamSoundTest, StopJoinsTheWorkerWhileTheCallerHoldsTheLockTwice)
{
    PutNoise("held.wav", 5000, 5);
    CWaveStreamSound sound(&output);
    ASSERT_EQ(sound.Open(name), 0);
    ASSERT_EQ(sound.Play(), 0);
    Stream(sound, 800);
    KTL::CCriticalLock held(sound.GetLock());
    held.Enter();
    EXPECT_EQ(sound.Stop(), 0);
    EXPECT_FALSE(sound.IsPlay());
    EXPECT_TRUE(sound.GetLock().IsLockedByCurrentThread());
    held.Leave();
    EXPECT_TRUE(sound.GetLock().IsLockedByCurrentThread());
}

TEST_F(WaveStreamSoundTest, EachRefillLeavesTheRingThePreFillAheadOfTheDevice)
{
    // Mono at 44.1 kHz, 650 ms a step: the device's cursor moves by 2 bytes
    // more than whole transfers of 4, which carry to the next refill alone;
    // carried on for ever, they would creep the ring ahead.
    name = PutWave("mono.wav", testkit::Noise(44100 * 2, 10), 44100, 1);
    const std::uint32_t ring = 3 * 88200;
    const std::uint32_t preFill = (88200 * 21 / 8) & ~3u;
    CWaveStreamSound sound(&output);
    sound.SetLoopPlay(true);
    ASSERT_EQ(sound.Open(name), 0);
    ASSERT_EQ(sound.Play(), 0);
    for (int refill = 0; refill < 6; ++refill) {
        const std::uint32_t before = sound.GetWritePosition();
        Advance(650);
        WaitFor([&] { return sound.GetWritePosition() != before; });
        std::uint32_t write = 0;
        sound.GetBuffer()->GetCurrentPosition(nullptr, &write);
        EXPECT_LE((sound.GetWritePosition() + ring - write) % ring, preFill) << refill;
    }
}

TEST_F(WaveStreamSoundTest, AFileShorterThanOneByteOfTimeCountsNoPosition)
{
    // 40 bytes are 0 ms: the played bytes have no length to wrap at.
    name = PutWave("tiny.wav", testkit::Noise(20, 6), 48000, 2);
    for (bool loop : {false, true}) {
        CWaveStreamSound sound(&output);
        sound.SetLoopPlay(loop);
        ASSERT_EQ(sound.Open(name), 0);
        EXPECT_EQ(sound.GetLength(), 0);
        ASSERT_EQ(sound.Play(), 0);
        // Once through, the cursor stands past the end of the data when the
        // worker finds it, and goes round the silenced ring (30 steps) to reach
        // it. The worker must see every step: a whole lap between two of its
        // looks at a ring cursor is invisible, so each step gives it a few polls.
        // A loop of it goes back to its start however short, and on.
        for (int step = 0; step < (loop ? 10 : 40) && sound.IsPlay(); ++step) {
            Advance(100);
            usleep(70000);
            EXPECT_EQ(sound.GetCurrentPos(), 0);
        }
        WaitFor([&] { return loop || !sound.IsPlay(); });
        EXPECT_EQ(sound.IsPlay(), loop);
        EXPECT_EQ(sound.Stop(), 0);
        EXPECT_EQ(sound.GetCurrentPos(), 0);
    }
}

TEST_F(WaveStreamSoundTest, ALostRingIsRestoredAndPlaysAgainOnActivation)
{
    PutNoise("lost.wav", 6000, 7);
    CWaveStreamSound sound(&output);
    sound.SetLoopPlay(true);
    ASSERT_EQ(sound.Open(name), 0);
    ASSERT_EQ(sound.Play(), 0);
    Stream(sound, 1000);
    Device().SetAvailable(false);
    EXPECT_EQ(sound.GetBuffer()->GetStatus(), BufferLost);
    Advance(3000);
    Device().SetAvailable(true);
    output.WndProc(0, platform::WM_ACTIVATEAPP, 1, 0);
    ASSERT_TRUE(sound.IsPlay());
    const std::size_t from = Device().Recording().size();
    Stream(sound, 3000);
    ExpectHeard(from, 0);
    EXPECT_TRUE(log->Messages().empty());
}

TEST_F(WaveStreamSoundTest, TheSwitchableSoundStreamsInStreamMode)
{
    PutNoise("switch.wav", 5000, 8);
    CSwitchWaveSound sound(&output);
    sound.SetStreamMode(true);
    sound.SetLoopPlay(true);
    ASSERT_EQ(sound.Open(name), 0);
    ASSERT_EQ(sound.Play(), 0);
    Advance(1000);
    sound.SetStreamMode(false);
    EXPECT_TRUE(sound.IsPlay());
    sound.SetStreamMode(true);
    EXPECT_TRUE(sound.IsPlay());
    EXPECT_EQ(sound.GetFileName(), CTextString(name));
    EXPECT_TRUE(sound.IsLoopPlay());
}

} // namespace
