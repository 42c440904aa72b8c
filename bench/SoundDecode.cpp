// Decoding speed of the compressed-audio reader, in multiples of real time:
// three minutes of 44.1 kHz stereo music as a 128 kbps MP3 and as an IMA ADPCM
// WAVE, each read through from memory as a streaming sound reads it.
#include <benchmark/benchmark.h>

#include "sound/ACMStream.h"
#include "tests/sound/SoundTestFiles.h"

using namespace kivotasuGameKit;

namespace {

constexpr int Seconds = 180;

// A chord with a slow tremolo, so that no encoder finds it trivially small.
const platform::PcmSound& Music()
{
    static const platform::PcmSound sound = [] {
        platform::PcmSound music = Tone(44100, 2, Seconds * 1000);
        for (std::size_t i = 0; i < music.samples.size(); ++i)
            music.samples[i] = std::int16_t(music.samples[i] * (0.6 + 0.4 * std::sin(double(i) / 20000))
                                            + 1500 * std::sin(double(i) * 0.37));
        return music;
    }();
    return sound;
}

void Decode(benchmark::State& state, const std::string& file)
{
    CACMStream stream;
    if (stream.Open(MemoryName(file)) != 0) {
        state.SkipWithError("the reader refused the file");
        return;
    }
    std::vector<std::uint8_t> buffer(88200);
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        stream.SetCurrentPos(0);
        while (const std::uint32_t n = stream.Read(buffer.data(), std::uint32_t(buffer.size()))) bytes += n;
    }
    // Seconds of sound decoded per second: the multiple of real time.
    state.counters["audio_seconds"] =
        benchmark::Counter(double(bytes) / stream.GetFormat()->nAvgBytesPerSec, benchmark::Counter::kIsRate);
}

void BM_DecodeMp3(benchmark::State& state)
{
    static const std::string file = Mp3(Music(), platform::Mp3Bitrate::Constant, Cbr128);
    Decode(state, file);
}
BENCHMARK(BM_DecodeMp3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DecodeImaAdpcm(benchmark::State& state)
{
    static const std::string file = [] {
        std::vector<std::uint8_t> out;
        platform::EncodeWave(Music(), platform::WaveEncoding::ImaAdpcm, out);
        return Bytes(out);
    }();
    Decode(state, file);
}
BENCHMARK(BM_DecodeImaAdpcm)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
