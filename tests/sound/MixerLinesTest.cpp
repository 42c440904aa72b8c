// The mixer's volume lines (gain stages of our own mixer) and their fades,
// heard in the headless device's output on the virtual clock.
#include "tests/sound/SoundDevice.h"

#include "platform/AudioBuffer.h"
#include "platform/AudioOutput.h"
#include "sound/AudioMixer.h"
#include "sound/MixerFader.h"
#include "tests/kit/AudioSignal.h"

#include <numbers>

using namespace kivotasuGameKit;
using Values = std::vector<std::uint32_t>;

namespace {

constexpr std::uint32_t Rate = 48000;
const double ToneRms = 0.5 * 32767 / std::sqrt(2.0);

class MixerLinesTest : public SoundDeviceTest {
protected:
    // A looping tone of one second, played on the line.
    std::unique_ptr<platform::AudioBuffer> Tone(platform::MixerLine line = platform::MixerLine::Wave)
    {
        const std::vector<std::int16_t> tone = testkit::Sine(1000, Rate, 2, Rate, 0.5);
        auto buffer = platform::Audio().Mixer()->CreateBuffer({Rate, 2, 16}, std::uint32_t(tone.size() * 2), false);
        void* data = nullptr;
        std::uint32_t bytes = 0;
        EXPECT_TRUE(buffer->Lock(0, buffer->Size(), &data, &bytes, nullptr, nullptr));
        std::memcpy(data, tone.data(), bytes);
        buffer->SetLine(line);
        buffer->Play(true);
        return buffer;
    }
    // The RMS of the first channel over the next ms.
    double NextRms(std::uint32_t ms)
    {
        const std::size_t from = Device().Recording().size();
        Advance(ms);
        return testkit::Rms(HeardFrom(from), 2, 0);
    }
    static double Gain(std::uint32_t value) { return value / 65535.0; }
};

TEST_F(MixerLinesTest, LinesStartFullAndTheCdLineIsAbsent)
{
    CAudioMixer mixer;
    ASSERT_TRUE(mixer.IsOpen());
    for (std::int32_t line : {Master, Wave, Synth}) {
        Values values;
        EXPECT_EQ(mixer.GetValues(line, values), 0);
        EXPECT_EQ(values, (Values{65535, 65535})) << line;
        double ratio = 0;
        EXPECT_EQ(mixer.GetVolumeRatio(line, ratio), 0);
        EXPECT_EQ(ratio, 1.0);
    }
    EXPECT_TRUE(log->Contains("3のIDのオーディオ コンポーネントは、このサウンドボードにはサポートされていませんでした"));
    log->Clear();
    Values values;
    EXPECT_EQ(mixer.GetValues(CD, values), -1);
    EXPECT_EQ(mixer.SetValues(CD, {1, 1}), -1);
    EXPECT_EQ(mixer.RestoreLine(CD), 2);
    EXPECT_EQ(mixer.SaveValues(CD), 1);
    EXPECT_EQ(mixer.SetVolumeRatio(CD, 0.5), -1);
    EXPECT_TRUE(log->Contains("3のIDのオーディオ コンポーネントは"));
    EXPECT_EQ(mixer.GetValues(7, values), -1);
}

TEST_F(MixerLinesTest, ValuesAreClampedRatiosScaleTheSavedValuesAndCloseRestoresThem)
{
    auto mixer = std::make_unique<CAudioMixer>();
    Values values;
    // Over the limit, and fewer values than channels.
    EXPECT_EQ(mixer->SetValues(Wave, {70000}), 0);
    EXPECT_EQ(mixer->GetValues(Wave, values), 0);
    EXPECT_EQ(values, (Values{65535, 0}));

    EXPECT_EQ(mixer->SetValues(Wave, {40000, 20000}), 0);
    EXPECT_EQ(mixer->SaveValues(Wave), 0);
    EXPECT_EQ(mixer->SetVolumeRatio(Wave, 0.5), 0);
    EXPECT_EQ(mixer->GetValues(Wave, values), 0);
    EXPECT_EQ(values, (Values{20000, 10000}));
    double ratio = 0;
    EXPECT_EQ(mixer->GetVolumeRatio(Wave, ratio), 0);
    EXPECT_EQ(ratio, 0.5);
    // Ratios beyond the range stay within the values' range.
    EXPECT_EQ(mixer->SetVolumeRatio(Wave, -1.0), 0);
    EXPECT_EQ(mixer->GetValues(Wave, values), 0);
    EXPECT_EQ(values, (Values{0, 0}));
    EXPECT_EQ(mixer->SetVolumeRatio(Wave, 1e12), 0);
    EXPECT_EQ(mixer->GetValues(Wave, values), 0);
    EXPECT_EQ(values, (Values{65535, 65535}));

    // A saved sum of 0 under a current one above it.
    EXPECT_EQ(mixer->SetValues(Synth, {0, 0}), 0);
    EXPECT_EQ(mixer->SaveValues(Synth), 0);
    EXPECT_EQ(mixer->SetValues(Synth, {5, 0}), 0);
    EXPECT_EQ(mixer->GetVolumeRatio(Synth, ratio), 0);
    EXPECT_EQ(ratio, 65535.0);

    EXPECT_EQ(mixer->RestoreLine(Wave), 0);
    EXPECT_EQ(platform::Audio().Mixer()->GetLineValues(platform::MixerLine::Wave),
              (platform::MixerLineValues{40000, 20000}));
    // Closing returns every line to its saved values: those of the opening
    // unless they were saved since.
    EXPECT_EQ(mixer->SetValues(Master, {100, 200}), 0);
    mixer.reset();
    const auto& lines = *platform::Audio().Mixer();
    EXPECT_EQ(lines.GetLineValues(platform::MixerLine::Master), (platform::MixerLineValues{65535, 65535}));
    EXPECT_EQ(lines.GetLineValues(platform::MixerLine::Wave), (platform::MixerLineValues{40000, 20000}));
    EXPECT_EQ(lines.GetLineValues(platform::MixerLine::Synth), (platform::MixerLineValues{0, 0}));
}

TEST_F(MixerLinesTest, WithoutADeviceTheMixerIsNotOpenAndChangesNothing)
{
    Device().SetAvailable(false);
    CAudioMixer mixer;
    EXPECT_FALSE(mixer.IsOpen());
    EXPECT_TRUE(log->Contains("CAudioMixer::Open ミキサデバイス数が 0か、エラーが発生しました"));
    Values values;
    double ratio = 0;
    EXPECT_EQ(mixer.GetValues(Wave, values), -1);
    EXPECT_EQ(mixer.GetSavedValues(Wave, values), -1);
    EXPECT_EQ(mixer.SetValues(Wave, {1, 1}), -1);
    EXPECT_EQ(mixer.SetVolumeRatio(Wave, 0.5), -1);
    EXPECT_EQ(mixer.GetVolumeRatio(Wave, ratio), -1);
    EXPECT_EQ(mixer.RestoreLine(Wave), -1);
    EXPECT_EQ(mixer.Open(), 2);
}

// A source that mixes in by itself, as the synthesiser does: the tone of Tone.
class ToneSource : public platform::IAudioSource {
public:
    void MixInto(float* mix, std::uint32_t frames, std::uint64_t firstFrame) override
    {
        for (std::uint32_t i = 0; i < frames; ++i) {
            const float value = static_cast<float>(
                std::lround(0.5 * 32767 * std::sin(2 * std::numbers::pi * 1000 * double(firstFrame + i) / Rate)) / 32768.0);
            mix[2 * i] += value;
            mix[2 * i + 1] += value;
        }
    }
};

// Master scales everything, Wave the wave buffers, Synth the sources and the
// buffers put on it; each channel on its own.
TEST_F(MixerLinesTest, EachLineScalesWhatPassesThroughIt)
{
    struct Case {
        platform::MixerLine set;
        platform::MixerLine buffer;
        platform::MixerLineValues values;
        double left;
        double right;
    };
    const Case cases[] = {
        {platform::MixerLine::Master, platform::MixerLine::Wave, {32768, 65535}, Gain(32768), 1},
        {platform::MixerLine::Master, platform::MixerLine::Synth, {0, 16384}, 0, Gain(16384)},
        {platform::MixerLine::Wave, platform::MixerLine::Wave, {65535, 6554}, 1, Gain(6554)},
        {platform::MixerLine::Wave, platform::MixerLine::Synth, {0, 0}, 1, 1},
        {platform::MixerLine::Synth, platform::MixerLine::Synth, {49151, 49151}, Gain(49151), Gain(49151)},
        {platform::MixerLine::Synth, platform::MixerLine::Wave, {0, 0}, 1, 1},
    };
    auto heardWith = [&](const Case& c) {
        platform::Audio().Mixer()->SetLineValues(c.set, c.values);
        const std::size_t from = Device().Recording().size();
        Advance(200);
        const std::vector<std::int16_t> heard = HeardFrom(from);
        EXPECT_NEAR(testkit::Rms(heard, 2, 0), ToneRms * c.left, 40) << int(c.set) << " " << int(c.buffer);
        EXPECT_NEAR(testkit::Rms(heard, 2, 1), ToneRms * c.right, 40) << int(c.set) << " " << int(c.buffer);
        platform::Audio().Mixer()->SetLineValues(c.set, {65535, 65535});
    };
    for (const Case& c : cases) {
        auto buffer = Tone(c.buffer);
        heardWith(c);
    }
    // A source goes through the Synth line unless it is put on another.
    ToneSource tone;
    for (const Case& c : cases) {
        if (c.buffer == platform::MixerLine::Synth) platform::Audio().Mixer()->AddSource(&tone);
        else platform::Audio().Mixer()->AddSource(&tone, c.buffer);
        heardWith(c);
        platform::Audio().Mixer()->RemoveSource(&tone);
    }
}

// Steps as the application's 20 ms timer would.
class MixerFaderTest : public MixerLinesTest {
protected:
    double StepFor(std::uint32_t ms)
    {
        const std::size_t from = Device().Recording().size();
        for (std::uint32_t t = 0; t < ms; t += 20) {
            Advance(20);
            fader.StepFades();
        }
        return testkit::Rms(HeardFrom(from), 2, 0);
    }

    CMixerFader fader;
};

TEST_F(MixerFaderTest, AFadeOutFallsOnALineToSilenceAndResetBringsTheVolumeBack)
{
    auto buffer = Tone();
    EXPECT_NEAR(NextRms(100), ToneRms, 40);
    EXPECT_EQ(fader.FadeOut(Wave, 500), 0);
    EXPECT_TRUE(fader.IsFading(Wave));
    EXPECT_FALSE(fader.IsFading(Master));
    StepFor(240);
    // Around 250 ms the level stands at a half, the steps 20 ms apart.
    EXPECT_NEAR(StepFor(20), ToneRms / 2, ToneRms * 0.05);
    StepFor(220);
    EXPECT_LT(StepFor(20), ToneRms * 0.05);
    EXPECT_TRUE(fader.IsFading(Wave));
    StepFor(20);
    EXPECT_FALSE(fader.IsFading(Wave));
    EXPECT_EQ(StepFor(200), 0);
    EXPECT_EQ(fader.ResetFade(Wave), 0);
    EXPECT_NEAR(NextRms(100), ToneRms, 40);
}

TEST_F(MixerFaderTest, ASecondFadeOutRestartsTheTimeButKeepsTheFirstOnesSavedValues)
{
    auto buffer = Tone();
    fader.GetMixer().SetValues(Wave, {40000, 40000});
    fader.FadeOut(Wave, 400);
    StepFor(200);
    fader.FadeOut(Wave, 400);
    Values saved;
    EXPECT_EQ(fader.GetMixer().GetSavedValues(Wave, saved), 0);
    EXPECT_EQ(saved, (Values{40000, 40000}));
    // From the first fade's volume again, not from the half it had reached.
    EXPECT_NEAR(StepFor(20), ToneRms * Gain(40000), ToneRms * 0.03);
    fader.ResetFade(Wave);
    Values values;
    fader.GetMixer().GetValues(Wave, values);
    EXPECT_EQ(values, (Values{40000, 40000}));
}

TEST_F(MixerFaderTest, AFadeOfNoTimeIsOverAtOnce)
{
    auto buffer = Tone();
    EXPECT_EQ(fader.FadeOut(Wave, 0), 0);
    EXPECT_FALSE(fader.IsFading(Wave));
    EXPECT_EQ(NextRms(100), 0);
    fader.ResetFade(Wave);
    EXPECT_NEAR(NextRms(100), ToneRms, 40);
}

TEST(MixerFader, AFadeWithoutAMixerIsOverAtOnce)
{
    platform::InstallAudio(nullptr);
    CMixerFader fader;
    EXPECT_FALSE(fader.GetMixer().IsOpen());
    EXPECT_EQ(fader.FadeOut(Wave, 500), 0);
    EXPECT_FALSE(fader.IsFading(Wave));
    EXPECT_EQ(fader.ResetFade(Wave), 0);
}

} // namespace
