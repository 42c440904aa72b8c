#include "tests/sound/SoundDevice.h"

#include <algorithm>

#include "platform/CloseLatch.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/WindowMessage.h"
#include "sound/DirectSound.h"
#include "sound/SwitchWaveSound.h"
#include "sound/WaveOutput.h"
#include "sound/WaveStaticSound.h"
#include "tests/kit/AudioSignal.h"
#include "tests/kit/PeakMemory.h"
#include "tests/sound/SoundTestFiles.h"

using namespace kivotasuGameKit;

namespace {

class WaveStaticSoundTest : public SoundDeviceTest {
protected:
    CDirectSound directSound;
    CWaveOutputDirectSound output{&directSound};
};

// blocks of IMA ADPCM, stereo at 44.1 kHz in blocks of 1024 bytes (1017
// sample frames), all zeros: silence.
std::string SilentImaWave(std::uint32_t blocks)
{
    constexpr std::uint16_t Align = 1024;
    constexpr std::uint16_t PerBlock = 1017;
    const std::string format = riff::Le16(0x11) + riff::Le16(2) + riff::Le32(44100) + riff::Le32(44100 * Align / PerBlock)
                               + riff::Le16(Align) + riff::Le16(4) + riff::Le16(2) + riff::Le16(PerBlock);
    return riff::Riff({riff::Chunk("fmt ", format), riff::Chunk("data", std::string(std::size_t{blocks} * Align, '\0'))});
}

TEST_F(WaveStaticSoundTest, TwoSecondsOfCdAudioFillOneBufferAndPositionByTheByte)
{
    const std::string name = PutWave("cd.wav", std::vector<std::int16_t>(2 * 88200), 44100, 2);
    CWaveStaticSound sound(&output);
    ASSERT_EQ(sound.Open(name), 0);
    EXPECT_EQ(sound.GetLength(), 2000);
    EXPECT_EQ(sound.GetFileName(), CTextString(name));
    CSmartPtr<ISoundBuffer> buffer = sound.GetBuffer();
    void* data = nullptr;
    std::uint32_t bytes = 0;
    EXPECT_EQ(buffer->Lock(0, 352800, &data, &bytes, nullptr, nullptr), 0);
    EXPECT_EQ(bytes, 352800u);
    EXPECT_NE(buffer->Lock(0, 352801, &data, &bytes, nullptr, nullptr), 0);

    ASSERT_EQ(sound.SetCurrentPos(500), 0);
    std::uint32_t play = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), 0);
    EXPECT_EQ(play, 88200u);
    EXPECT_EQ(sound.GetCurrentPos(), 500);

    sound.Close();
    EXPECT_EQ(sound.GetLength(), 2000);
    EXPECT_EQ(sound.GetCurrentPos(), -1);
    EXPECT_TRUE(sound.GetFileName().IsEmpty());
}

TEST_F(WaveStaticSoundTest, PlaysTheFileOnceOrLooping)
{
    const std::vector<std::int16_t> noise = testkit::Noise(48000 / 4 * 2, 11);
    const std::string name = PutWave("noise.wav", noise, 48000, 2);
    CWaveStaticSound sound(&output);
    ASSERT_EQ(sound.Open(name), 0);
    ASSERT_EQ(sound.Play(), 0);
    EXPECT_TRUE(sound.IsPlay());
    Advance(400);
    EXPECT_FALSE(sound.IsPlay());
    std::vector<std::int16_t> heard = HeardFrom(0);
    ASSERT_EQ(heard.size(), 400u * 96);
    EXPECT_TRUE(std::equal(noise.begin(), noise.end(), heard.begin()));
    EXPECT_TRUE(Silent({heard.begin() + static_cast<std::ptrdiff_t>(noise.size()), heard.end()}));

    // The loop flag set while playing once takes effect at the next play.
    ASSERT_EQ(sound.Play(), 0);
    sound.SetLoopPlay(true);
    Advance(400);
    EXPECT_FALSE(sound.IsPlay());
    const std::size_t from = Device().Recording().size();
    ASSERT_EQ(sound.Play(), 0);
    Advance(600);
    EXPECT_TRUE(sound.IsPlay());
    heard = HeardFrom(from);
    for (std::size_t i = 0; i < heard.size(); ++i) ASSERT_EQ(heard[i], noise[i % noise.size()]) << i;
    const auto events = Device().Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().name, name);
}

TEST_F(WaveStaticSoundTest, PausesNestAndStopRewinds)
{
    const std::vector<std::int16_t> noise = testkit::Noise(48000 * 2, 5);
    CWaveStaticSound sound(&output);
    ASSERT_EQ(sound.Open(PutWave("n.wav", noise, 48000, 2)), 0);
    // Pausing a sound that does not play counts nothing.
    EXPECT_EQ(sound.Pause(), 0);
    EXPECT_EQ(sound.Replay(), 0);
    EXPECT_FALSE(sound.IsPlay());

    sound.Play();
    Advance(100);
    sound.Pause();
    sound.Pause();
    EXPECT_EQ(sound.GetCurrentPos(), 100);
    sound.Replay();
    Advance(100);
    EXPECT_FALSE(sound.IsPlay());
    // Stop on a paused sound does nothing: the next replay resumes it.
    sound.Stop();
    EXPECT_EQ(sound.GetCurrentPos(), 100);
    sound.Replay();
    EXPECT_TRUE(sound.IsPlay());
    Advance(100);
    const std::vector<std::int16_t> heard = HeardFrom(0);
    const std::size_t pause = 100 * 96;
    EXPECT_TRUE(std::equal(heard.begin(), heard.begin() + pause, noise.begin()));
    EXPECT_TRUE(Silent({heard.begin() + pause, heard.begin() + 2 * pause}));
    EXPECT_TRUE(std::equal(heard.begin() + 2 * pause, heard.end(), noise.begin() + pause));

    sound.Stop();
    EXPECT_FALSE(sound.IsPlay());
    EXPECT_EQ(sound.GetCurrentPos(), 0);
}

TEST_F(WaveStaticSoundTest, AFileNoReaderTakesLeavesASilentSound)
{
    folder.Put("junk.wav", "not a wave at all, just text");
    for (const std::string& name : {folder.Name("junk.wav"), folder.Name("missing.wav"), std::string()}) {
        CWaveStaticSound sound(&output);
        EXPECT_EQ(sound.Open(name), 0) << name;
        EXPECT_EQ(sound.GetType(), 3);
        EXPECT_EQ(sound.GetLength(), 0);
        EXPECT_EQ(sound.GetCurrentPos(), -1);
        sound.Play();
        EXPECT_FALSE(sound.IsPlay());
    }
    Advance(100);
    EXPECT_TRUE(Silent(HeardFrom(0)));
    EXPECT_TRUE(Device().Events().empty());
}

TEST_F(WaveStaticSoundTest, VolumeReachesTheBufferAndOutOfRangeIsRefused)
{
    CWaveStaticSound sound(&output);
    ASSERT_EQ(sound.Open(PutWave("t.wav", testkit::Sine(1000, 48000, 1, 4800, 0.5), 48000, 1)), 0);
    EXPECT_EQ(sound.SetVolume(-2500), 0);
    EXPECT_EQ(sound.GetVolume(), -2500);
    EXPECT_EQ(sound.SetVolume(1), 2);
    EXPECT_EQ(sound.SetVolume(-10001), 2);
    EXPECT_EQ(sound.GetVolume(), -2500);
}

TEST_F(WaveStaticSoundTest, OnlyStaticSoundsRegisterAndTheyReloadWhenTheApplicationComesBack)
{
    const std::vector<std::int16_t> noise = testkit::Noise(4800, 2);
    const std::string name = PutWave("r.wav", noise, 48000, 2);
    CWaveStaticSound sound(&output);
    {
        CSwitchWaveSound switchable(&output);
        EXPECT_EQ(output.AddSound(&switchable), 1);
        EXPECT_EQ(output.GetSoundList().size(), 2u); // the static sound and the switchable one's inner
    }
    ASSERT_EQ(output.GetSoundList().size(), 1u);
    EXPECT_EQ(output.GetSoundList().front(), &sound);
    ASSERT_EQ(sound.Open(name), 0);
    sound.SetLoopPlay(true);
    sound.Play();
    Advance(20);
    Device().SetAvailable(false);
    EXPECT_FALSE(sound.IsPlay());
    EXPECT_EQ(sound.GetBuffer()->GetStatus(), BufferLost);
    // A lost buffer's lock restores it first, which fails while the device is away.
    void* data = nullptr;
    std::uint32_t bytes = 0;
    EXPECT_EQ(sound.GetBuffer()->Lock(0, 4, &data, &bytes, nullptr, nullptr), 2);
    EXPECT_EQ(sound.GetBuffer()->Play(false), 2);

    Device().SetAvailable(true);
    output.WndProc(0, platform::WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(sound.GetBuffer()->GetStatus(), BufferLost);
    output.WndProc(0, platform::WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(sound.GetBuffer()->GetStatus(), BufferStopped);
    EXPECT_EQ(sound.GetFileName(), CTextString(name));
    EXPECT_EQ(sound.GetLength(), 50);
    EXPECT_EQ(sound.Play(), 0);
    EXPECT_TRUE(sound.IsPlay());
}

TEST_F(WaveStaticSoundTest, SwitchingModeCarriesFileLoopVolumeAndPlayOver)
{
    const std::string name = PutWave("s.wav", testkit::Noise(48000, 9), 48000, 2);
    CSwitchWaveSound sound(&output);
    EXPECT_EQ(sound.GetType(), 5);
    ASSERT_EQ(sound.Open(name), 0);
    sound.SetLoopPlay(true);
    sound.SetVolume(-3000);
    sound.Play();
    Advance(100);
    EXPECT_GT(sound.GetCurrentPos(), 0);
    sound.SetStreamMode(false);
    EXPECT_GT(sound.GetCurrentPos(), 0);
    sound.SetStreamMode(true);
    EXPECT_TRUE(sound.IsStreamMode());
    EXPECT_EQ(sound.GetFileName(), CTextString(name));
    EXPECT_TRUE(sound.IsLoopPlay());
    EXPECT_EQ(sound.GetVolume(), -3000);
    EXPECT_TRUE(sound.IsPlay());
    EXPECT_EQ(sound.GetCurrentPos(), 0);
    EXPECT_EQ(sound.GetType(), 5);

    EXPECT_EQ(sound.Stop(), 0);
    EXPECT_FALSE(sound.IsPlay());
    EXPECT_EQ(sound.GetVolume(), -3000);
}

} // namespace

TEST_F(WaveStaticSoundTest, WhatAFileDecodesToAndNotItsBytesDecidesWhetherItIsHeldOrStreamed)
{
    struct Case {
        const char* file; std::string bytes; std::int32_t ms; bool held; std::int32_t within = 2; bool sounds = true;
    };
    // Some 70 MiB of PCM each from 1.5 and 17 MiB of file; and a looping BGM
    // of 320 kbps at 32 kHz, stereo, with as many bytes behind its last frame
    // as a sound held whole has sample frames: its bit rate tells 51 MiB of
    // PCM, which would be held, ending in seven minutes of silence.
    const std::string bgm = Mp3(Tone(32000, 2, 1000), platform::Mp3Bitrate::Constant, 0);
    // Untagged, two seconds at 320 kbps before seven minutes at 32: the first
    // frame's rate tells 44 s, which would be held, the BGM starting over
    // there. Its walk gives up past what a sound holds, and the rest is
    // estimated at the rate of the part walked.
    const std::string louderStart = SilentMp3(84, 320) + SilentMp3(17500);
    // A first frame, then bytes in which the decoder finds no frame, not even
    // that one: nothing counted, some four minutes at the first frame's rate,
    // which would be held, in 50 MiB of silence.
    const std::string noFrame = SilentMp3(1) + std::string(1 << 20, '\x55');
    // 3 s at 48 kHz, then 9 s at 32 kHz resampled, to a count known only
    // roughly: counted at the first rate, it would be held for 9 s.
    const std::string rates = SilentMp3(125) + SilentMp3(250, 32, 32000);
    const Case cases[] = {{"long.mp3", SilentMp3(16000), 384000, false},
                          {"long.wav", SilentImaWave(17408), 401449, false},
                          {"bgm.mp3", bgm + std::string(MostHeldBytes / 4, '\0'), 1000, true},
                          {"louder-start.mp3", louderStart, 422016, false, 422016 / 100},
                          {"no-frame.mp3", noFrame, 262167, false, 2, false},
                          {"rates.mp3", rates, 12000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        folder.Put(c.file, c.bytes);
        const std::string name = folder.Name(c.file);
        CWaveStaticSound alone(&output);
        EXPECT_EQ(alone.Open(name), c.held ? 0 : CWaveStaticSound::NotHeld);
        EXPECT_EQ(alone.GetCurrentPos() == -1, !c.held);

        const bool peaks = testkit::RestartPeakMemory();
        const std::uint64_t before = testkit::PeakMemory();
        CSwitchWaveSound sound(&output);
        sound.SetLoopPlay(true);
        ASSERT_EQ(sound.Open(name), 0);
        EXPECT_TRUE(sound.IsStreamMode() != c.held && sound.IsLoopPlay());
        EXPECT_NEAR(sound.GetLength(), c.ms, c.within);
        const std::size_t from = Device().Recording().size();
        ASSERT_EQ(sound.Play(), 0);
        Advance(100);
        EXPECT_TRUE(sound.IsPlay() || !c.sounds);
        EXPECT_TRUE(!peaks || testkit::PeakMemory() - before < MostHeldBytes / 2) << testkit::PeakMemory() - before;
        if (!c.held) continue;
        // Around the loop point the tone goes on: no millisecond of silence.
        Advance(std::uint32_t(c.ms));
        const std::vector<std::int16_t> heard = HeardFrom(from);
        ASSERT_GE(heard.size(), std::size_t(c.ms + 50) * 96);
        const auto around = heard.begin() + (c.ms - 50) * 96, past = around + 100 * 96;
        EXPECT_TRUE(std::search_n(around, past, 96, 0) == past) << "a millisecond of silence";
    }
    EXPECT_FALSE(log->Contains("GetVolume"));
}

// The close box clicked while the window's own thread decodes: it waits in
// the queue, which that thread alone looks into.
TEST_F(WaveStaticSoundTest, ACloseWaitingCutsTheDecodeShortWithoutAWord)
{
    // 43.2 s, some 8 MiB of PCM: pieces enough for the close to come between.
    folder.Put("voice.mp3", SilentMp3(1800));
    const std::string name = folder.Name("voice.mp3");
    auto installed = std::make_unique<platform::HeadlessWindowSystem>();
    platform::HeadlessWindowSystem& windows = *installed;
    platform::InstallWindows(std::move(installed));
    windows.Feed(windows.CreateWindow({}), platform::WM_CLOSE);

    CWaveStaticSound sound(&output);
    EXPECT_EQ(sound.Open(name), 0);
    EXPECT_TRUE(log->Messages().empty());
    EXPECT_EQ(sound.GetCurrentPos(), -1) << "a sound held";

    // The close was only looked at; once the run it closed is over, the file
    // decodes whole.
    EXPECT_EQ(windows.QueuedMessages(), 1u);
    platform::ClearCloseLatch();
    platform::InstallWindows(nullptr);
    EXPECT_EQ(sound.Open(name), 0);
    EXPECT_EQ(sound.GetLength(), 43200);
}
