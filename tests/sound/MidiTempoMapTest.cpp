#include <gtest/gtest.h>

#include "sound/MidiTempoMap.h"
#include "tests/sound/MidiBuilder.h"

using kivotasuGameKit::CMidiTempoMap;

namespace {

CMidiTempoMap Map(const std::string& file)
{
    CMidiTempoMap map;
    EXPECT_TRUE(map.Read(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()));
    return map;
}

// 480 ticks a quarter: 120 bpm for two quarters, 60 bpm for one, then 240
// bpm from tick 1440 (in the tempo track) while the notes run to tick 2400.
std::string TempoChanges()
{
    midi::Track tempo;
    tempo.Tempo(0, 500000).Tempo(960, 1000000).Tempo(480, 250000).End();
    midi::Track notes;
    notes.Program(0, 0, 0).Note(0, 0, 60, 2400).End();
    return midi::File(480, {tempo, notes});
}

TEST(MidiTempoMap, MillisecondsFollowEveryTempoChange)
{
    const CMidiTempoMap map = Map(TempoChanges());
    EXPECT_EQ(map.GetLengthTicks(), 2400);
    // 1000 ms for the first 960 ticks, 1000 for the next 480, 500 for the last 960.
    EXPECT_EQ(map.GetLengthMs(), 2500);
    struct Case {
        std::int64_t ticks, ms;
    };
    for (const Case& c : {Case{0, 0}, Case{480, 500}, Case{960, 1000}, Case{1200, 1500}, Case{1440, 2000},
                          Case{1920, 2250}, Case{2400, 2500}}) {
        EXPECT_EQ(map.TicksToMs(c.ticks), c.ms) << c.ticks;
        EXPECT_EQ(map.MsToTicks(c.ms), c.ticks) << c.ms;
    }
    // Between ticks: ms rounds down, ticks up (the first tick at or after).
    EXPECT_EQ(map.TicksToMs(1), 1);
    EXPECT_EQ(map.MsToTicks(1), 1);
    EXPECT_EQ(map.MsToTicks(1001), 961);
    // Out of the piece: clamped.
    EXPECT_EQ(map.MsToTicks(-5), 0);
    EXPECT_EQ(map.MsToTicks(99999), 2400);
}

TEST(MidiTempoMap, RoundTripsEveryMillisecond)
{
    const CMidiTempoMap map = Map(TempoChanges());
    for (std::int64_t ms = 0; ms <= map.GetLengthMs(); ++ms) {
        const std::int64_t ticks = map.MsToTicks(ms);
        ASSERT_GE(map.TicksToMs(ticks), ms) << ms;
        if (ticks > 0) {
            ASSERT_LT(map.TicksToMs(ticks - 1), ms) << ms;
        }
    }
}

TEST(MidiTempoMap, LongPiecesDoNotOverflow)
{
    // An hour-long note at 30 bpm and 960 ticks a quarter: the ticks times the
    // tempo leave 32 bits far behind.
    midi::Track track;
    track.Tempo(0, 2000000).Note(0, 0, 60, 960u * 30 * 60).End();
    const CMidiTempoMap map = Map(midi::File(960, {track}));
    EXPECT_EQ(map.GetLengthMs(), 3600000);
    EXPECT_EQ(map.MsToTicks(3000000), 960 * 25 * 60);
}

TEST(MidiTempoMap, DefaultTempoRunningStatusAndSmpte)
{
    // No tempo event: 120 bpm. Running status carries the second note-on.
    midi::Track track;
    track.Event(0, {0x90, 60, 100}).Event(96, {64, 100}).Event(96, {0x80, 60, 0}).Event(0, {64, 0}).End();
    EXPECT_EQ(Map(midi::File(96, {track})).GetLengthMs(), 1000);

    // 25 frames of 40 ticks: 1000 ticks a second, whatever tempo says.
    midi::Track smpte;
    smpte.Tempo(0, 1000000).Note(0, 0, 60, 2500).End();
    std::string file = midi::File(0, {smpte});
    file[12] = char(0xE7); // -25
    file[13] = 40;
    EXPECT_EQ(Map(file).GetLengthMs(), 2500);
}

TEST(MidiTempoMap, RefusesWhatIsNoMidiFile)
{
    midi::Track track;
    track.Note(0, 0, 60, 10).End();
    const std::string good = midi::File(96, {track});
    std::vector<std::string> bad{"", "MThd", good.substr(0, 13), "RIFF" + good.substr(4)};
    std::string noDivision = good;
    noDivision[12] = noDivision[13] = 0;
    bad.push_back(noDivision);
    std::string noTracks = good.substr(0, 14);
    bad.push_back(noTracks);
    for (const std::string& file : bad) {
        CMidiTempoMap map;
        EXPECT_FALSE(map.Read(reinterpret_cast<const std::uint8_t*>(file.data()), file.size())) << file.size();
        EXPECT_EQ(map.GetLengthMs(), 0);
    }
    // A track cut short keeps what came before the cut.
    const CMidiTempoMap cut = Map(good.substr(0, good.size() - 5));
    EXPECT_EQ(cut.GetLengthTicks(), 0);
    // Tracks without end-of-track stop at their chunk's end, the last at the
    // file's: exactly sized, so that ASan sees a read past it.
    midi::Track open;
    open.Note(0, 0, 60, 10);
    const std::string unended = midi::File(96, {open, open});
    const std::vector<std::uint8_t> exact(unended.begin(), unended.end());
    CMidiTempoMap map;
    EXPECT_TRUE(map.Read(exact.data(), exact.size()));
    EXPECT_EQ(map.GetLengthTicks(), 10);
}

} // namespace
