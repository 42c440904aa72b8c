// MIDI files made by other tools, damaged copies of them and floods of events,
// played looping as the BGM player plays them: a file the synthesiser cannot
// play gives the silent sound, a piece without length plays as silence and
// ends, none holds the mixing thread or costs it many times what a plain piece
// does, and notes still sound after each.
#include "tests/sound/SoundDevice.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "sound/MIDIOutputDM.h"
#include "sound/SoundFactory.h"
#include "tests/kit/AudioSignal.h"
#include "tests/kit/PeakMemory.h"
#include "tests/kit/WallSeconds.h"
#include "tests/sound/MidiBuilder.h"

using namespace kivotasuGameKit;

namespace {

using midi::Bytes;
using midi::RawFile;

const std::string End = Bytes({0x00, 0xFF, 0x2F, 0x00});
const std::string Note480 = Bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0});

std::string NoteOn(int i) { return Bytes({0x90, 40 + i % 40, 100}); }
std::string EmptyText(int) { return Bytes({0xFF, 0x01, 0x00}); }

// count events apart ticks from each other (at tick 0 by default), the i-th
// event(i), and the end length ticks after the last.
std::string Flood(int count, const std::function<std::string(int)>& event, int length, char apart = 0)
{
    std::string body;
    for (int i = 0; i < count; ++i) body += (i ? apart : '\0') + event(i);
    return RawFile(body + Bytes({length, 0xFF, 0x2F, 0x00}));
}

std::string NotesInTracksAtTickZero(int tracks, int count)
{
    std::vector<midi::Track> all(tracks);
    for (int t = 0; t < tracks; ++t) {
        for (int i = 0; i < count; ++i) all[t].Event(0, {std::uint8_t(0x90 | t), std::uint8_t(40 + i % 40), 100});
        all[t].End(1);
    }
    return midi::File(480, all);
}

// 300 organ notes on 100 keys, past the burst the synthesiser takes, then
// each key's note-off as a note-on of velocity 0, all at tick 0 in running
// status: a piece without length, played once.
std::string OrganBurstEndedByVelocityZero()
{
    std::string body = Bytes({0x00, 0xC0, 16, 0x00, 0x90, 20, 100});
    for (int i = 1; i < 300; ++i) body += Bytes({0x00, 20 + i % 100, 100});
    for (int key = 0; key < 100; ++key) body += Bytes({0x00, 20 + key, 0});
    return RawFile(body + End);
}

struct DamagedMidi {
    const char* what;
    std::string bytes;
    // What Open gives; for 0, whether a looping play goes on.
    int open;
    bool loops;
    // Every note it starts it ends, so that nothing sounds once it has ended.
    bool released = false;
};

void PrintTo(const DamagedMidi& file, std::ostream* out) { *out << file.what; }

const DamagedMidi Files[] = {
    {"only end of track", RawFile(End), 0, false},
    {"tempo and end of track", RawFile(Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}) + End), 0, false},
    {"note on and off at tick 0", RawFile(Bytes({0x00, 0x90, 60, 100, 0x00, 0x80, 60, 0}) + End), 0, false, true},
    {"endless running status", RawFile(Bytes({0x00, 0x90, 60, 100}) + std::string(3000, '\0')), 0, false},
    {"100,000 note-ons at tick 0", Flood(100000, NoteOn, 0), 0, false},
    // Organ notes past the burst the synthesiser takes, then each key's
    // note-off as a note-on of velocity 0, in running status.
    {"300 organ notes ended by velocity 0", OrganBurstEndedByVelocityZero(), 0, false, true},
    // Pieces shorter than the synthesiser's block, started over and over.
    {"10,000 note-ons in one tick", Flood(10000, NoteOn, 1), 0, true},
    {"16 tracks of 1,000 note-ons in one tick", NotesInTracksAtTickZero(16, 1000), 0, true},
    {"10,000 controller and 10,000 program changes in one tick",
     Flood(20000, [](int i) { return i % 2 ? Bytes({0xC0 | i % 16, i % 128}) : Bytes({0xB0 | i % 16, i % 128, i % 128}); }, 1),
     0, true},
    {"30,000 controller resets in one tick, in running status",
     Flood(30000, [](int i) { return i ? Bytes({121, 0}) : Bytes({0xB0, 121, 0}); }, 1), 0, true},
    {"10,000 General MIDI resets in one tick",
     Flood(10000, [](int) { return Bytes({0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}); }, 1), 0, true},
    // A hundred a block, lap after lap: only the steady rate of them is reset.
    {"20,000 General MIDI resets a tick apart at 75 ticks a millisecond",
     Flood(20000, [](int i) { return i ? Bytes({0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) : Bytes({0xFF, 0x51, 0x03, 0, 0x19, 0}); },
           1, 1),
     0, true},
    // Every lap of it waits out the bound of a block per KiB.
    {"800 KB of empty text events in one tick", Flood(200000, EmptyText, 1), 0, true},
    {"1.2 MB of 600,000 program changes in one tick, in running status",
     Flood(600000, [](int i) { return i ? Bytes({i % 128}) : Bytes({0xC0, 0}); }, 1), 0, true},
    // Time stops at the tempo: what comes before it is the piece.
    {"tempo 0 after a note", RawFile(Note480 + Bytes({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}) + Note480 + End), 0, true},
    {"a note of 30 ms", RawFile(Bytes({0x00, 0x90, 60, 100, 0x1D, 0x80, 60, 0}) + End), 0, true},
    {"tempo 0 with events at tick 0", RawFile(Bytes({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}) + Note480.substr(0, 4) + End), 3, false},
    {"SMPTE division", RawFile(Note480 + End, 1, 0xE728), 3, false},
    {"data bytes with no status", RawFile(Bytes({0x00, 60, 100, 0x83, 0x60, 60, 0}) + End), 3, false},
    {"a run of continuation bytes", RawFile(std::string(200, '\x80') + Note480 + End), 3, false},
    {"meta length 0x0FFFFFFF", RawFile(Bytes({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}) + End), 3, false},
    {"sysex length 0x0FFFFFFF", RawFile(Bytes({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0x01}) + End), 3, false},
    {"track length 0xFFFFFFF0", RawFile(Note480 + End, 1, 480, 0xFFFFFFF0), 3, false},
    {"65535 tracks", RawFile(Note480 + End, 65535), 3, false},
    {"2.4 MB of empty text events", Flood(600000, EmptyText, 1), 3, false},
    {"no MIDI file", "RIFF but not MIDI", 2, false},
};

class MidiDamagedFileTest : public SoundDeviceTest, public ::testing::WithParamInterface<DamagedMidi> {
protected:
    MidiDamagedFileTest() { setenv("SDL_SOUNDFONTS", "/usr/share/sounds/sf2/TimGM6mb.sf2", 1); }
    ~MidiDamagedFileTest() override { unsetenv("SDL_SOUNDFONTS"); }

    // The processor time of the longest step and of them all.
    struct Mixed {
        double longest = 0;
        double whole = 0;
    };
    // Steps of a tenth of a second of the device, as a running player asks
    // for them. The device mixes in this thread: its processor time is the
    // mixer's work, whatever else a loaded machine runs meanwhile.
    Mixed Mix(ISound& sound, int steps)
    {
        Mixed mixed;
        for (int step = 0; step < steps; ++step) {
            const double seconds = testkit::ThreadSeconds([&] { Advance(100); sound.IsPlay(); }, 1);
            mixed.longest = std::max(mixed.longest, seconds);
            mixed.whole += seconds;
        }
        return mixed;
    }
};

TEST_P(MidiDamagedFileTest, PlaysLoopingOrIsRefusedWithoutHoldingTheMixer)
{
    const DamagedMidi& file = GetParam();
    folder.Put("damaged.mid", file.bytes);
    CSoundFactory factory;
    CSmartPtr<ISound> sound = factory.CreateMIDISound();
    EXPECT_EQ(sound->Open(folder.Name("damaged.mid")), file.open);
    EXPECT_EQ(log->Contains("シンセサイザがMIDIファイルを読めない"), file.open == 3);
    // Through the factory, as the sound tags open it.
    EXPECT_EQ(factory.CreateSoundByFile(folder.Name("damaged.mid"))->GetType(), file.open == 0 ? 2 : 0);
    if (file.open != 0) return;

    // A note played looping for two seconds first: the mixer's work on a plain
    // piece, to which the file's ten seconds are compared.
    folder.Put("note.mid", RawFile(Note480 + End));
    CSmartPtr<ISound> note = factory.CreateMIDISound();
    ASSERT_EQ(note->Open(folder.Name("note.mid")), 0);
    note->SetLoopPlay(true);
    ASSERT_EQ(note->Play(), 0);
    const Mixed plain = Mix(*note, 20);
    EXPECT_EQ(note->Stop(), 0);

    sound->SetLoopPlay(true);
    ASSERT_EQ(sound->Play(), 0);
    const Mixed mixed = Mix(*sound, 100);
    EXPECT_EQ(sound->IsPlay(), file.loops);
    if (file.released) {
        EXPECT_LT(testkit::Rms(HeardFrom(Device().Recording().size() - 48000 * 2), 2, 0), 10) << "notes hang";
    }
    EXPECT_EQ(sound->Stop(), 0);
    EXPECT_TRUE(testkit::CostsAtMost(300, mixed.longest, plain.whole / 20)) << "the synthesiser held the mixer in a step";
    EXPECT_TRUE(testkit::CostsAtMost(100, mixed.whole, plain.whole * 5)) << "the ten seconds";
    EXPECT_LT(log->Messages().size(), 20u) << "the synthesiser's repeats are folded";

    ASSERT_EQ(sound->Open(folder.Name("note.mid")), 0);
    sound->SetLoopPlay(false);
    const std::size_t from = Device().Recording().size();
    ASSERT_EQ(sound->Play(), 0);
    Advance(500);
    EXPECT_GT(testkit::Rms(HeardFrom(from), 2, 0), 100) << "a note after it";
}

INSTANTIATE_TEST_SUITE_P(Files, MidiDamagedFileTest, ::testing::ValuesIn(Files),
                         [](const ::testing::TestParamInfo<DamagedMidi>& info) {
                             std::string name = info.param.what;
                             std::erase_if(name, [](unsigned char c) { return !std::isalnum(c); });
                             return name;
                         });

class MidiFileBoundTest : public SoundDeviceTest {
protected:
    MidiFileBoundTest() { setenv("SDL_SOUNDFONTS", "/usr/share/sounds/sf2/TimGM6mb.sf2", 1); }
    ~MidiFileBoundTest() override { unsetenv("SDL_SOUNDFONTS"); }
};

// A 60 MB file of tempo changes, through both MIDI faces and the factory:
// refused by its size before a block is made for it or a tempo map built
// (each took the file's bytes several times over), the refusal naming the
// file, its size and the bound.
TEST_F(MidiFileBoundTest, AFileOverTheBoundIsRefusedBeforeItIsRead)
{
    {
        const std::string tempo = Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
        std::string body;
        body.reserve(60'000'000 + End.size());
        while (body.size() + tempo.size() <= 60'000'000) body += tempo;
        folder.Put("tempo.mid", RawFile(body + End));
    }
    const std::string size = std::to_string(std::filesystem::file_size(folder.Host("tempo.mid")));
    // The synthesiser and its SoundFont first.
    CSoundFactory factory;
    ASSERT_EQ(factory.CreateMIDISound()->GetType(), 2);
    if (!testkit::RestartPeakMemory()) GTEST_SKIP() << "no high-water mark to lower here";
    const std::uint64_t before = testkit::PeakMemory();
    EXPECT_EQ(factory.CreateSound(MidiSynthesizerDevice)->Open(folder.Name("tempo.mid")), 3);
    EXPECT_EQ(factory.CreateSound(MidiSequencerDevice)->Open(folder.Name("tempo.mid")), 1);
    EXPECT_EQ(factory.CreateSoundByFile(folder.Name("tempo.mid"))->GetType(), 0);
    EXPECT_LT(testkit::PeakMemory() - before, 8u << 20) << "of a 60 MB file";
    const std::string said = "tempo.mid は " + size + " バイトあり、上限の 2097152 バイトを超えています。";
    const std::vector<std::string> lines = log->Messages();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(said) != std::string::npos; }),
              3) << testing::PrintToString(lines);
}

} // namespace
