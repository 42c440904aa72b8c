// The synthesiser as a device uses it: one thread mixes chunk after chunk
// while the application thread starts and stops sequences; the two take the
// mixer's and the synthesiser's locks, which must never wait on each other.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/MidiSynth.h"
#include "tests/kit/HeadlessAudio.h"
#include "tests/sound/MidiBuilder.h"

TEST(MidiSynthThreads, ADeviceThreadMixesWhileSequencesStartAndStop)
{
    platform::InstallClock(std::make_unique<platform::VirtualClock>(0));
    testkit::ScopedHeadlessAudio audio;
    // No SoundFont: the locks are taken the same, and loading one costs seconds.
    platform::MidiSynth::SetLog([](const std::string&) {});
    unsetenv("SDL_SOUNDFONTS");
    platform::MidiSynth::SetSoundFontFolder("/nonexistent/");
    const std::shared_ptr<platform::MidiSynth> synth = platform::MidiSynth::Get();
    ASSERT_TRUE(synth);
    midi::Track track;
    track.Note(0, 0, 60, 240, 100).End();
    const std::string file = midi::File(480, {track});
    // Short enough that some plays end in the mixing thread.
    std::unique_ptr<platform::MidiSequence> sequence;
    ASSERT_EQ(synth->Load(std::vector<std::uint8_t>(file.begin(), file.end()), "note", 240, sequence),
              platform::MidiLoad::Loaded);

    std::atomic<bool> done{false};
    std::thread device([&] {
        std::vector<std::int16_t> out(512);
        while (!done.load()) synth->Mixer()->Mix(out.data(), 256);
    });
    // Two threads that wait on each other never end: ctest's timeout catches them.
    std::thread application([&] {
        for (int round = 0; round < 500; ++round) {
            sequence->Play(round % 7 * 40, round % 3 == 0);
            if (round % 2) sequence->IsPlaying();
            sequence->Stop();
        }
    });
    application.join();
    done = true;
    device.join();
    EXPECT_FALSE(sequence->IsPlaying());
    sequence.reset();
    platform::InstallClock(nullptr);
}
