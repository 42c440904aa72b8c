// The mixer as a device uses it: one thread mixes chunk after chunk while the
// application thread makes, fills, plays, turns, stops and drops buffers.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/AudioBuffer.h"
#include "platform/AudioMixer.h"

TEST(AudioMixerThreads, ADeviceThreadMixesWhileBuffersChange)
{
    auto mixer = std::make_shared<platform::AudioMixer>(48000, 256);
    std::atomic<bool> done{false};
    std::atomic<std::uint64_t> chunks{0};
    std::thread device([&] {
        std::vector<std::int16_t> out(512);
        while (!done.load()) {
            mixer->Mix(out.data(), 256);
            chunks.fetch_add(1);
        }
    });
    // Joined however the test ends.
    struct Join {
        std::atomic<bool>& done;
        std::thread& thread;
        ~Join()
        {
            done = true;
            thread.join();
        }
    } join{done, device};
    for (int round = 0; round < 200; ++round) {
        const std::uint32_t rate = round % 2 ? 22050 : 48000;
        auto buffer = mixer->CreateBuffer({rate, 2, 16}, rate, round % 3 == 0);
        ASSERT_TRUE(buffer);
        buffer->SetName("round");
        ASSERT_TRUE(buffer->Play(round % 2 == 0));
        for (int step = 0; step < 20; ++step) {
            std::uint32_t play = 0;
            std::uint32_t write = 0;
            buffer->GetCurrentPosition(&play, &write);
            // A buffer that ran to its end holds its cursor there.
            EXPECT_LE(play, rate);
            EXPECT_LE(write, rate);
            // This device runs far faster than real time, so the bytes are
            // written only while the buffer stands.
            if (step == 16) {
                void* first = nullptr;
                void* second = nullptr;
                std::uint32_t firstBytes = 0;
                std::uint32_t secondBytes = 0;
                ASSERT_TRUE(buffer->Lock((play + rate / 2) % rate, rate / 2, &first, &firstBytes, &second, &secondBytes));
                std::memset(first, step, firstBytes);
                if (second) std::memset(second, step, secondBytes);
            }
            buffer->SetVolume(-step * 100);
            buffer->SetPan(step * 100 - 1000);
            if (step == 10) buffer->SetFrequency(rate / 2);
            if (step == 15) buffer->Stop();
            if (step == 17) buffer->Play(true);
            buffer->GetStatus();
        }
    }
    const std::uint64_t before = chunks.load();
    while (chunks.load() < before + 2) std::this_thread::yield();
    // With every buffer gone the mix is silence.
    std::vector<std::int16_t> out(512, 1);
    mixer->Mix(out.data(), 256);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::int16_t s) { return s == 0; }));
}
