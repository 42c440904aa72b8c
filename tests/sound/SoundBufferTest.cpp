#include "tests/sound/SoundDevice.h"

#include "platform/AudioOutput.h"
#include "sound/SoundBuffer.h"
#include "sound/WaveSoundSettings.h"
#include "tests/kit/AudioSignal.h"

using namespace kivotasuGameKit;

namespace {

class SoundBufferTest : public SoundDeviceTest {
protected:
    // A buffer holding the samples, made with the settings' controls.
    std::unique_ptr<CDirectSoundBuffer> Loaded(const std::vector<std::int16_t>& samples, std::uint16_t channels,
                                               const CSmartPtr<CWaveSoundSettings>& settings)
    {
        auto buffer = std::make_unique<CDirectSoundBuffer>(platform::Audio().Mixer());
        WAVEFORMATEX format;
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = channels;
        format.nSamplesPerSec = 48000;
        format.wBitsPerSample = 16;
        format.nBlockAlign = static_cast<std::uint16_t>(channels * 2);
        format.nAvgBytesPerSec = 48000u * format.nBlockAlign;
        const auto size = static_cast<std::uint32_t>(samples.size() * 2);
        EXPECT_EQ(buffer->Create(&format, size, false, settings), 0);
        void* data = nullptr;
        std::uint32_t bytes = 0;
        EXPECT_EQ(buffer->Lock(0, size, &data, &bytes, nullptr, nullptr), 0);
        std::memcpy(data, samples.data(), bytes);
        EXPECT_EQ(buffer->Unlock(data, bytes, nullptr, 0), 0);
        return buffer;
    }
};

TEST_F(SoundBufferTest, PanAndFrequencyAnswerOnlyWhenTheSettingsAskForThem)
{
    CSmartPtr<CWaveSoundSettings> plain(new CWaveSoundSettings);
    auto buffer = Loaded(testkit::Sine(1000, 48000, 1, 4800, 0.5), 1, plain);
    EXPECT_EQ(buffer->GetFlags(), 0x88u);
    EXPECT_EQ(buffer->SetPan(-2000), 2);
    EXPECT_EQ(buffer->SetFrequency(24000), 2);
    std::int32_t pan = 0;
    EXPECT_EQ(buffer->GetPan(&pan), 2);

    CSmartPtr<CWaveSoundSettings> controlled(new CWaveSoundSettings);
    controlled->SetCtrlPan(true);
    controlled->SetCtrlFrequency(true);
    controlled->SetGlobalFocus(true);
    const std::vector<std::int16_t> tone = testkit::Sine(1000, 48000, 1, 48000, 0.5);
    buffer = Loaded(tone, 1, controlled);
    EXPECT_EQ(buffer->GetFlags(), 0x80E8u);
    EXPECT_EQ(buffer->SetPan(-2000), 0);
    EXPECT_EQ(buffer->GetPan(&pan), 0);
    EXPECT_EQ(pan, -2000);
    EXPECT_EQ(buffer->SetPan(10001), 2);
    EXPECT_EQ(buffer->SetFrequency(24000), 0);
    std::uint32_t rate = 0;
    EXPECT_EQ(buffer->GetFrequency(&rate), 0);
    EXPECT_EQ(rate, 24000u);
    EXPECT_EQ(buffer->SetFrequency(50), 2);
    // Nothing loaded: no buffer to answer for.
    CDirectSoundBuffer empty(platform::Audio().Mixer());
    EXPECT_EQ(empty.GetFrequency(&rate), 1);

    // Panned left by 20 dB and played an octave down, so for two seconds.
    ASSERT_EQ(buffer->Play(false), 0);
    Advance(2100);
    const std::vector<std::int16_t> heard = HeardFrom(0);
    const std::vector<std::int16_t> middle(heard.begin() + 9600, heard.begin() + 182400);
    EXPECT_NEAR(testkit::Rms(middle, 2, 1) / testkit::Rms(middle, 2, 0), 0.1, 0.002);
    EXPECT_GT(testkit::Goertzel(middle, 2, 48000, 500), 1000 * testkit::Goertzel(middle, 2, 48000, 1000));
    EXPECT_EQ(buffer->GetStatus(), BufferStopped);
    const auto events = Device().Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_NEAR(double(events[1].frame - events[0].frame), 96000, 64);
}

TEST_F(SoundBufferTest, OnlyLinearPcmOfWholeBlocksIsTaken)
{
    CSmartPtr<CWaveSoundSettings> settings(new CWaveSoundSettings);
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 176400;
    CDirectSoundBuffer buffer(platform::Audio().Mixer());
    EXPECT_EQ(buffer.GetStatus(), BufferNone);
    EXPECT_EQ(buffer.Play(false), 1);
    WAVEFORMATEX mp3 = format;
    mp3.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    WAVEFORMATEX odd = format;
    odd.nBlockAlign = 3;
    WAVEFORMATEX wide = format;
    wide.wBitsPerSample = 24;
    wide.nBlockAlign = 6;
    for (const WAVEFORMATEX* refused : {&mp3, &odd, &wide}) EXPECT_EQ(buffer.Create(refused, 4000, true, settings), 1);
    EXPECT_EQ(buffer.Create(nullptr, 4000, true, settings), 1);
    EXPECT_EQ(buffer.Create(&format, 4000, true, settings), 0);
    EXPECT_EQ(buffer.GetStatus(), BufferStopped);
    WAVEFORMATEX own;
    EXPECT_EQ(buffer.GetFormat(&own), 0);
    EXPECT_EQ(own, format);

    CNullSoundBuffer none;
    EXPECT_EQ(none.GetType(), 0);
    EXPECT_EQ(none.Create(&format, 4000, true, settings), -1);
    EXPECT_EQ(none.Play(true), -1);
    std::uint32_t play = 0;
    EXPECT_EQ(none.GetCurrentPosition(&play, nullptr), -1);
}

} // namespace
