// Standard MIDI Files through the tempo map: header, tracks, running status,
// tempo changes; the conversions must stay monotonic and within the piece.
#include "fuzz/ExactCopy.h"
#include "sound/MidiTempoMap.h"

using namespace kivotasuGameKit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ExactCopy copy(data, size);
    CMidiTempoMap map;
    if (!map.Read(copy.bytes.get(), copy.size)) return 0;
    const std::int64_t length = map.GetLengthTicks();
    const std::int64_t ms = map.GetLengthMs();
    // A piece shorter than a millisecond ends where it starts.
    if (length < 0 || ms < 0 || (ms > 0 && map.MsToTicks(ms) != length)) __builtin_trap();
    std::int64_t previous = 0;
    for (std::int64_t step = 0; step <= 16; ++step) {
        const std::int64_t tick = length * step / 16;
        const std::int64_t at = map.TicksToMs(tick);
        // A time at the length stands for the end, which a fine division can
        // place ticks after the first tick of that millisecond.
        if (at < previous || (at < ms && map.MsToTicks(at) > tick)) __builtin_trap();
        previous = at;
    }
    return 0;
}
