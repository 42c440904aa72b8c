#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/AudioBuffer.h"
#include "platform/Clock.h"
#include "platform/HeadlessAudioOutput.h"
#include "tests/kit/AudioSignal.h"

using platform::AudioBuffer;
using platform::AudioBufferStatus;
using platform::AudioEventKind;
using platform::PcmFormat;

namespace {

class AudioMixerTest : public ::testing::Test {
protected:
    AudioMixerTest()
    {
        auto clock = std::make_unique<platform::VirtualClock>(1000);
        m_clock = clock.get();
        platform::InstallClock(std::move(clock));
        m_mixer = m_output.Mixer();
    }
    ~AudioMixerTest() override { platform::InstallClock(nullptr); }

    // A buffer holding the samples, 16-bit.
    std::unique_ptr<AudioBuffer> Loaded(const std::vector<std::int16_t>& samples, std::uint32_t rate,
                                        std::uint16_t channels)
    {
        const auto bytes = static_cast<std::uint32_t>(samples.size() * 2);
        auto buffer = m_mixer->CreateBuffer({rate, channels, 16}, bytes, false);
        void* data = nullptr;
        std::uint32_t size = 0;
        EXPECT_TRUE(buffer->Lock(0, bytes, &data, &size, nullptr, nullptr));
        std::memcpy(data, samples.data(), size);
        return buffer;
    }
    void Advance(std::uint32_t ms) { m_clock->Advance(ms); }

    platform::VirtualClock* m_clock = nullptr;
    platform::HeadlessAudioOutput m_output;
    std::shared_ptr<platform::AudioMixer> m_mixer;
};

TEST_F(AudioMixerTest, FullVolumeAtTheDeviceRateComesOutBitForBit)
{
    const std::vector<std::int16_t> noise = testkit::Noise(48000 / 2 * 2, 7);
    auto buffer = Loaded(noise, 48000, 2);
    ASSERT_TRUE(buffer->Play(false));
    Advance(600);
    const std::vector<std::int16_t> heard = m_output.Recording();
    ASSERT_EQ(heard.size(), 600u * 48 * 2);
    EXPECT_TRUE(std::equal(noise.begin(), noise.end(), heard.begin()));
    EXPECT_TRUE(std::all_of(heard.begin() + static_cast<std::ptrdiff_t>(noise.size()), heard.end(),
                            [](std::int16_t s) { return s == 0; }));
    const auto events = m_output.Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].kind, AudioEventKind::End);
    EXPECT_EQ(events[1].frame, noise.size() / 2);
    EXPECT_EQ(buffer->GetStatus(), AudioBufferStatus::Stopped);
}

TEST_F(AudioMixerTest, ASourceSampleThatIsNoNumberIsSilenceNotFullScale)
{
    struct : platform::IAudioSource {
        void MixInto(float* mix, std::uint32_t frames, std::uint64_t) override
        {
            const float odd[] = {NAN, INFINITY, -INFINITY};
            for (std::size_t i = 0; i < std::size_t{frames} * 2; ++i) mix[i] += odd[i % 3];
        }
    } source;
    m_mixer->AddSource(&source);
    Advance(10);
    const std::vector<std::int16_t> heard = m_output.Recording();
    m_mixer->RemoveSource(&source);
    ASSERT_FALSE(heard.empty());
    EXPECT_TRUE(std::all_of(heard.begin(), heard.end(), [](std::int16_t s) { return s == 0; }));
}

TEST_F(AudioMixerTest, VolumeIsAGainOfTenToTheHundredthsOverTwoThousand)
{
    const std::vector<std::int16_t> tone = testkit::Sine(1000, 48000, 1, 48000, 0.5);
    const double full = testkit::Rms(tone, 1, 0);
    for (std::int32_t volume : {0, -100, -600, -2000, -4950, -6000}) {
        auto buffer = Loaded(tone, 48000, 1);
        ASSERT_TRUE(buffer->SetVolume(volume));
        const std::size_t from = m_output.Recording().size();
        ASSERT_TRUE(buffer->Play(false));
        Advance(1000);
        const std::vector<std::int16_t> heard = m_output.Recording();
        const std::vector<std::int16_t> part(heard.begin() + static_cast<std::ptrdiff_t>(from), heard.end());
        const double expected = full * std::pow(10.0, volume / 2000.0);
        EXPECT_NEAR(testkit::Rms(part, 2, 0), expected, expected * 0.01 + 1.0) << volume;
        EXPECT_NEAR(testkit::Rms(part, 2, 1), expected, expected * 0.01 + 1.0) << volume;
    }
    auto silent = Loaded(tone, 48000, 1);
    ASSERT_TRUE(silent->SetVolume(-10000));
    const std::size_t from = m_output.Recording().size();
    silent->Play(false);
    Advance(500);
    const std::vector<std::int16_t> heard = m_output.Recording();
    EXPECT_TRUE(std::all_of(heard.begin() + static_cast<std::ptrdiff_t>(from), heard.end(),
                            [](std::int16_t s) { return s == 0; }));
}

TEST_F(AudioMixerTest, VolumesOutsideTheRangeAreRefusedAndLeaveTheOldOne)
{
    auto buffer = m_mixer->CreateBuffer({22050, 1, 16}, 4410, true);
    ASSERT_TRUE(buffer->SetVolume(-300));
    for (std::int32_t volume : {1, 100, -10001, -20000}) EXPECT_FALSE(buffer->SetVolume(volume)) << volume;
    EXPECT_EQ(buffer->GetVolume(), -300);
    EXPECT_TRUE(buffer->SetVolume(-10000));
    EXPECT_TRUE(buffer->SetVolume(0));
}

TEST_F(AudioMixerTest, ResampledToneKeepsItsPitch)
{
    for (double hz : {440.0, 1000.0, 3000.0}) {
        const std::vector<std::int16_t> tone = testkit::Sine(hz, 22050, 1, 22050, 0.5);
        auto buffer = Loaded(tone, 22050, 1);
        const std::size_t from = m_output.Recording().size();
        ASSERT_TRUE(buffer->Play(false));
        Advance(1100);
        const std::vector<std::int16_t> heard = m_output.Recording();
        // The middle of the second, away from the converter's edges.
        const std::vector<std::int16_t> part(heard.begin() + static_cast<std::ptrdiff_t>(from + 9600),
                                             heard.begin() + static_cast<std::ptrdiff_t>(from + 86400));
        const double at = testkit::Goertzel(part, 2, 48000, hz);
        for (double other : {hz * 0.9, hz * 1.1, hz * 2, hz * 22050 / 48000})
            EXPECT_GT(at, 1000 * testkit::Goertzel(part, 2, 48000, other)) << hz << " against " << other;
        const auto events = m_output.Events();
        ASSERT_EQ(events.back().kind, AudioEventKind::End);
        EXPECT_NEAR(static_cast<double>(events.back().frame - events[events.size() - 2].frame), 48000.0, 64.0);
    }
}

TEST_F(AudioMixerTest, LoopsPlayWithoutASeam)
{
    // 100 periods of 1 kHz at the device rate: the output repeats the buffer exactly.
    const std::vector<std::int16_t> tone = testkit::Sine(1000, 48000, 2, 4800, 0.5);
    auto buffer = Loaded(tone, 48000, 2);
    ASSERT_TRUE(buffer->Play(true));
    Advance(1000);
    std::vector<std::int16_t> heard = m_output.Recording();
    ASSERT_EQ(heard.size(), 96000u);
    for (std::size_t i = 0; i < heard.size(); ++i) ASSERT_EQ(heard[i], tone[i % tone.size()]) << i;
    buffer->Stop();

    // Resampled, the seam (every 4571 frames) shows as neither a jump nor a gap.
    const std::vector<std::int16_t> low = testkit::Sine(1050, 22050, 1, 2100, 0.5);
    auto looped = Loaded(low, 22050, 1);
    const std::size_t from = m_output.Recording().size();
    ASSERT_TRUE(looped->Play(true));
    Advance(1000);
    heard = m_output.Recording();
    const double step = 0.5 * 32768 * 2 * std::numbers::pi * 1050 / 48000;
    for (std::size_t i = from + 2 * 100; i + 2 < heard.size(); i += 2)
        ASSERT_LT(std::abs(heard[i + 2] - heard[i]), step * 1.1) << i;
    EXPECT_EQ(looped->GetStatus(), AudioBufferStatus::Playing);
}

TEST_F(AudioMixerTest, StoppingSilencesAtOnceAndResumingGoesOnFromTheCursor)
{
    const std::vector<std::int16_t> noise = testkit::Noise(48000 * 2, 3);
    auto buffer = Loaded(noise, 48000, 2);
    ASSERT_TRUE(buffer->Play(false));
    Advance(200);
    buffer->Stop();
    std::uint32_t play = 0;
    std::uint32_t write = 0;
    buffer->GetCurrentPosition(&play, &write);
    EXPECT_EQ(play, 200u * 48 * 4);
    EXPECT_EQ(write, play);
    Advance(300);
    ASSERT_TRUE(buffer->Play(false));
    Advance(100);
    const std::vector<std::int16_t> heard = m_output.Recording();
    const std::size_t stop = 200 * 48 * 2;
    const std::size_t resume = 500 * 48 * 2;
    EXPECT_TRUE(std::equal(noise.begin(), noise.begin() + stop, heard.begin()));
    EXPECT_TRUE(std::all_of(heard.begin() + stop, heard.begin() + resume, [](std::int16_t s) { return s == 0; }));
    EXPECT_TRUE(std::equal(heard.begin() + resume, heard.end(), noise.begin() + stop));
    const auto events = m_output.Events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].kind, AudioEventKind::Stop);
    EXPECT_EQ(m_output.TimeOf(events[1].frame), 1200u);
}

TEST_F(AudioMixerTest, CursorsAndLocksFollowTheBlockAlignment)
{
    auto buffer = m_mixer->CreateBuffer({44100, 2, 16}, 352800, true);
    ASSERT_TRUE(buffer);
    struct Case {
        std::uint32_t offset;
        std::uint32_t bytes;
        bool ok;
        std::uint32_t first;
        std::uint32_t firstBytes;
        std::uint32_t secondBytes;
    };
    const Case cases[] = {
        {0, 352800, true, 0, 352800, 0},
        {88203, 100, true, 88200, 100, 0},
        {352700, 300, true, 352700, 100, 200},
        {352799, 8, true, 352796, 4, 4},
        {352800, 4, false, 0, 0, 0},
        {0, 352801, false, 0, 0, 0},
        {0, 0, false, 0, 0, 0},
    };
    std::uint8_t* base = nullptr;
    {
        void* first = nullptr;
        std::uint32_t bytes = 0;
        ASSERT_TRUE(buffer->Lock(0, 4, &first, &bytes, nullptr, nullptr));
        base = static_cast<std::uint8_t*>(first);
    }
    for (const Case& c : cases) {
        void* first = nullptr;
        void* second = nullptr;
        std::uint32_t firstBytes = 0;
        std::uint32_t secondBytes = 0;
        ASSERT_EQ(buffer->Lock(c.offset, c.bytes, &first, &firstBytes, &second, &secondBytes), c.ok) << c.offset;
        if (!c.ok) continue;
        EXPECT_EQ(static_cast<std::uint8_t*>(first) - base, c.first) << c.offset;
        EXPECT_EQ(firstBytes, c.firstBytes) << c.offset;
        EXPECT_EQ(secondBytes, c.secondBytes) << c.offset;
        EXPECT_EQ(second, c.secondBytes ? base : nullptr) << c.offset;
    }
    ASSERT_TRUE(buffer->SetCurrentPosition(88202));
    std::uint32_t play = 0;
    std::uint32_t write = 0;
    buffer->GetCurrentPosition(&play, &write);
    EXPECT_EQ(play, 88200u);
    EXPECT_EQ(write, 88200u);
    EXPECT_FALSE(buffer->SetCurrentPosition(352800));
    // Playing, the write cursor is one device chunk (1024 frames at 48 kHz) ahead.
    ASSERT_TRUE(buffer->Play(true));
    buffer->GetCurrentPosition(&play, &write);
    EXPECT_EQ(write, play + (1024u * 44100 + 47999) / 48000 * 4);
}

TEST_F(AudioMixerTest, NewBuffersHoldSilence)
{
    for (bool zeroFill : {false, true}) {
        for (std::uint16_t bits : {8, 16}) {
            auto buffer = m_mixer->CreateBuffer({11025, 1, bits}, 1000, zeroFill);
            void* data = nullptr;
            std::uint32_t bytes = 0;
            ASSERT_TRUE(buffer->Lock(0, 1000, &data, &bytes, nullptr, nullptr));
            const std::uint8_t expected = bits == 8 && !zeroFill ? 0x80 : 0;
            const auto* begin = static_cast<const std::uint8_t*>(data);
            EXPECT_TRUE(std::all_of(begin, begin + bytes, [&](std::uint8_t b) { return b == expected; }));
        }
    }
    EXPECT_FALSE(m_mixer->CreateBuffer({44100, 2, 24}, 600, true));
    EXPECT_FALSE(m_mixer->CreateBuffer({44100, 0, 16}, 600, true));
    EXPECT_FALSE(m_mixer->CreateBuffer({44100, 2, 16}, 3, true));
}

TEST_F(AudioMixerTest, ALostDeviceStopsEveryBufferUntilItIsRestored)
{
    auto buffer = Loaded(testkit::Noise(48000, 1), 48000, 2);
    ASSERT_TRUE(buffer->Play(true));
    Advance(50);
    m_output.SetAvailable(false);
    EXPECT_EQ(buffer->GetStatus(), AudioBufferStatus::Lost);
    EXPECT_FALSE(buffer->Play(false));
    void* data = nullptr;
    std::uint32_t bytes = 0;
    EXPECT_FALSE(buffer->Lock(0, 4, &data, &bytes, nullptr, nullptr));
    EXPECT_FALSE(buffer->Restore());
    Advance(50);
    m_output.SetAvailable(true);
    EXPECT_EQ(buffer->GetStatus(), AudioBufferStatus::Lost);
    EXPECT_TRUE(buffer->Restore());
    EXPECT_EQ(buffer->GetStatus(), AudioBufferStatus::Stopped);
    EXPECT_TRUE(buffer->Lock(0, 4, &data, &bytes, nullptr, nullptr));
    const std::vector<std::int16_t> heard = m_output.Recording();
    EXPECT_TRUE(std::all_of(heard.begin() + 50 * 48 * 2, heard.end(), [](std::int16_t s) { return s == 0; }));
}

TEST_F(AudioMixerTest, UnrecordedOutputKeepsTheTimeOfEverySound)
{
    // Silence at first (skipped), a sound that ends by itself, an hour of
    // silence, then a sound stopped: every event at the frame of its clock.
    m_output.SetRecording(false);
    Advance(250);
    auto buffer = Loaded(testkit::Noise(4800 * 2, 5), 48000, 2);
    ASSERT_TRUE(buffer->Play(false));
    Advance(3600 * 1000);
    ASSERT_TRUE(buffer->Play(false));
    Advance(30);
    buffer->Stop();
    const auto events = m_output.Events();
    ASSERT_EQ(events.size(), 4u);
    const std::pair<AudioEventKind, std::uint32_t> expected[] = {
        {AudioEventKind::Play, 1250}, {AudioEventKind::End, 1350}, {AudioEventKind::Play, 3601250}, {AudioEventKind::Stop, 3601280}};
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].kind, expected[i].first) << i;
        EXPECT_EQ(m_output.TimeOf(events[i].frame), expected[i].second) << i;
    }
    EXPECT_EQ(m_mixer->FramesMixed(), 3600280u * 48);
    EXPECT_TRUE(m_output.Recording().empty());
}

TEST_F(AudioMixerTest, WithoutADeviceThereIsNoMixer)
{
    platform::HeadlessAudioOutput none;
    none.SetAvailable(false);
    EXPECT_EQ(none.Mixer(), nullptr);
    EXPECT_EQ(platform::Audio().Mixer(), nullptr);
}

} // namespace

namespace {

TEST_F(AudioMixerTest, GoingDownKeepsWhatFitsAndDropsWhatWouldFoldBack)
{
    struct Case {
        double hz;
        double gain; // the share of the level that comes out
        double tolerance;
    };
    for (const Case& c : {Case{1000, 1, 0.01}, Case{10000, 1, 0.02}, Case{30000, 0, 0.01}, Case{40000, 0, 0.01}}) {
        const std::vector<std::int16_t> tone = testkit::Sine(c.hz, 96000, 1, 96000, 0.5);
        auto buffer = Loaded(tone, 96000, 1);
        const std::size_t from = m_output.Recording().size();
        ASSERT_TRUE(buffer->Play(false));
        Advance(1000);
        const std::vector<std::int16_t> heard = m_output.Recording();
        const std::vector<std::int16_t> part(heard.begin() + static_cast<std::ptrdiff_t>(from + 4800),
                                             heard.end() - 4800);
        EXPECT_NEAR(testkit::Rms(part, 2, 0) / testkit::Rms(tone, 1, 0), c.gain, c.tolerance) << c.hz;
    }
}

} // namespace
