#pragma once
// Sound tests on the headless device: a virtual clock, the device mixing on
// it, a folder for the files the tests write and the error log recorded.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "tests/kit/HeadlessAudio.h"
#include "tests/kit/RecordingErrorLog.h"
#include "tests/kit/TempFolder.h"
#include "tests/sound/RiffBuilder.h"

class SoundDeviceTest : public ::testing::Test {
protected:
    SoundDeviceTest()
    {
        auto clock = std::make_unique<platform::VirtualClock>(5000);
        m_clock = clock.get();
        platform::InstallClock(std::move(clock));
        m_audio = std::make_unique<testkit::ScopedHeadlessAudio>();
    }
    ~SoundDeviceTest() override
    {
        m_audio.reset();
        platform::InstallClock(nullptr);
    }

    // A 16-bit PCM WAVE of the samples in the folder; its internal name.
    std::string PutWave(const std::string& name, const std::vector<std::int16_t>& samples, std::uint32_t rate,
                        std::uint16_t channels)
    {
        std::string data(samples.size() * 2, '\0');
        std::memcpy(data.data(), samples.data(), data.size());
        folder.Put(name, riff::PcmWave({1, channels, rate, 16}, data));
        return folder.Name(name);
    }
    void Advance(std::uint32_t ms) { m_clock->Advance(ms); }
    platform::HeadlessAudioOutput& Device() { return **m_audio; }
    // What the device played from the given sample on.
    std::vector<std::int16_t> HeardFrom(std::size_t sample)
    {
        std::vector<std::int16_t> heard = Device().Recording();
        heard.erase(heard.begin(), heard.begin() + static_cast<std::ptrdiff_t>(std::min(sample, heard.size())));
        return heard;
    }
    static bool Silent(const std::vector<std::int16_t>& samples)
    {
        return std::all_of(samples.begin(), samples.end(), [](std::int16_t s) { return s == 0; });
    }

    TempFolder folder;
    testkit::ScopedErrorLogRecorder log;

private:
    platform::VirtualClock* m_clock = nullptr;
    std::unique_ptr<testkit::ScopedHeadlessAudio> m_audio;
};
