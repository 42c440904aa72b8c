// Damaged files through the sound factory onto the headless device: each
// plays what it holds, or is refused with its reader's line, none keeps Open
// from answering, and none costs more than its samples, in memory or in
// processor time. (Kinds beyond 16-bit PCM are played through the player's
// tags.)
#include "tests/sound/SoundDevice.h"

#include <unistd.h>

#include <fstream>
#include <map>

#include "sound/SoundFactory.h"
#include "sound/WaveStream.h"
#include "tests/kit/AudioSignal.h"
#include "tests/kit/WallSeconds.h"
#include "tests/sound/SoundTestFiles.h"

using namespace kivotasuGameKit;
using platform::WaveEncoding;
using testkit::WallSeconds;

namespace {

std::string Encoded(WaveEncoding encoding, std::uint32_t rate, std::uint16_t channels, std::uint32_t ms)
{
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(platform::EncodeWave({int(rate), channels, testkit::Sine(440, rate, channels, rate * ms / 1000, 0.5)},
                                     encoding, out));
    return Bytes(out);
}

// The file with one field of its "fmt " chunk changed.
std::string Patched(std::string file, std::size_t field, std::uint32_t value, std::size_t bytes = 4)
{
    file.replace(file.find("fmt ") + 8 + field, bytes, bytes == 4 ? riff::Le32(value) : riff::Le16(value));
    return file;
}

std::size_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages >> pages;
    return pages * std::size_t(sysconf(_SC_PAGESIZE));
}

// The seconds the busiest thread but this one (a sound's worker) ran while
// the work ran, and the seconds it could have run: the wall time less its
// wait for a processor. A thread that spins runs all it can, whatever else the
// machine runs.
template <class Work> std::pair<double, double> BusiestWorker(Work&& work)
{
    const std::map<pid_t, testkit::Scheduled> before = testkit::ThreadsScheduled();
    const double start = WallSeconds();
    work();
    const double wall = WallSeconds() - start;
    std::pair<double, double> busiest{0, wall};
    for (const auto& [thread, now] : testkit::ThreadsScheduled()) {
        if (thread == gettid()) continue;
        const auto was = before.find(thread);
        const testkit::Scheduled then = was == before.end() ? testkit::Scheduled{} : was->second;
        const std::pair<double, double> worker{now.running - then.running, wall - (now.waiting - then.waiting)};
        if (worker.first / worker.second > busiest.first / busiest.second) busiest = worker;
    }
    return busiest;
}

// A sanitizer's shadow memory grows with every byte the program touches.
#if defined(__SANITIZE_THREAD__)
constexpr std::size_t ShadowCopies = 5;
#else
constexpr std::size_t ShadowCopies = 1;
#endif

class OddSoundFilesTest : public SoundDeviceTest {
protected:
    // Before any memory is measured.
    void SetUp() override
    {
        const std::string plain = riff::PcmWave({1, 2, 44100, 16}, riff::Ramp(3000000));
        m_plain = testkit::ThreadSeconds([&] { Opened("plain.wav", plain, false); });
    }

    // Whatever the file holds, Open answers (one that never does is ctest's
    // timeout to catch), after work of the order of what a plain file of 17 s
    // held whole costs.
    CSmartPtr<ISound> Open(const std::string& file, const std::string& bytes, bool stream, bool loop = false)
    {
        CSmartPtr<ISound> sound;
        const double seconds = testkit::ThreadSeconds([&] { sound = Opened(file, bytes, stream); }, 1);
        EXPECT_TRUE(testkit::CostsAtMost(50, seconds, m_plain)) << file << ": processor time to open";
        sound->SetLoopPlay(loop);
        return sound;
    }
    CSoundFactory factory;

private:
    CSmartPtr<ISound> Opened(const std::string& file, const std::string& bytes, bool stream)
    {
        folder.Put(file, bytes);
        CSmartPtr<ISound> sound = factory.CreateSound(stream ? StreamWaveDevice : StaticWaveDevice);
        EXPECT_EQ(sound->Open(folder.Name(file)), 0) << file;
        return sound;
    }
    double m_plain = 0;
};

TEST_F(OddSoundFilesTest, SizesComeFromTheSamplesAndImpossibleHeadersAreRefused)
{
    const std::string pcm = riff::PcmWave({1, 2, 44100, 16}, riff::Ramp(3000000));
    // Its "fact" chunk counts the frames, as the system's own encoder writes it.
    std::string ima = Encoded(WaveEncoding::ImaAdpcm, 44100, 2, 3000);
    ima.replace(ima.find("fact") + 8, 4, riff::Le32(44100 * 3));
    struct Case {
        const char* name;
        std::string file;
        bool stream;
        std::int32_t length;
        const char* refusal;
    };
    const char* notPcm = "CWaveStream::Initialize WAVE_FORMAT_PCMじゃない";
    const std::vector<Case> cases{
        {"avg1.wav", Patched(pcm, 8, 1), false, 17006, nullptr},
        {"avg-huge.wav", Patched(pcm, 8, 1400000000), true, 17006, nullptr},
        {"ima-avg1.wav", Patched(ima, 8, 1), false, 3000, nullptr},
        {"ima-cut.wav", ima.substr(0, ima.size() - 1000), false, 2961, nullptr},
        {"align.wav", Patched(pcm, 12, 3, 2), false, 0, notPcm},
        {"channels.wav", Patched(Patched(pcm, 2, 65535, 2), 12, 65535 * 2 & 0xFFFF, 2), true, 0, notPcm},
        {"rate.wav", Patched(pcm, 4, 4000000000u), false, 0, notPcm},
        {"ima-channels.wav", Patched(ima, 2, 300, 2), false, 0, "CACMStream::Open acmFormatSuggest()に失敗"},
        // A LIST chunk that libsndfile never returned from, behind data it
        // would decode.
        {"wild-list.wav", riff::WildListWave(), false, 0, "CACMStream::Open acmFormatSuggest()に失敗"},
        {"float-list.wav", riff::WildListBehind({3, 1, 8000, 32}), true, 1000, nullptr},
        {"pcm24-list.wav", riff::WildListBehind({1, 1, 8000, 24}), false, 1000, nullptr},
        // Data of an odd size, whose pad byte libsndfile looked for forever.
        // Float data of an odd size behind a wild LIST, as a fuzzer found it: the
        // library looked for the pad byte past the end of its view forever.
        {"odd-data.wav", std::string("\x52\x49\x46\x46\xEB\x00\x00\x00\x57\x41\x56\x45\x66\x6D\x74\x20\x10\x00\x00\x00\x03\x00\x01\x00\x40\x1F\x00\x00\x00\x7D\x00\x00\x04\x00\x20\x00\x64\x61\x74\x61\x60\x5D\x5E\x5F\x4C\x49\x53\x54\x11\x20\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xF8\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00\xFF\x00\x00\x00\x04\x01\x02\x03\x04\x05\x06\x07\xA6\x08\x51\x49\x6F\x6F\x6C\x21\x00", 143), true, 0, ""},
    };
    for (const Case& c : cases) {
        log->Clear();
        const std::size_t before = ResidentBytes();
        CSmartPtr<ISound> sound = Open(c.name, c.file, c.stream);
        EXPECT_NEAR(sound->GetLength(), c.length, 2) << c.name;
        EXPECT_EQ(sound->Play(), c.refusal ? 1 : 0) << c.name;
        EXPECT_LT(ResidentBytes(), before + std::size_t(c.length) * 4 * 48 * ShadowCopies + (8 << 20)) << c.name;
        EXPECT_TRUE(!c.refusal || log->Contains(c.refusal)) << c.name;
        sound->Stop();
    }
}

TEST_F(OddSoundFilesTest, ALoopThatCannotStartOverEndsWithoutBusyWork)
{
    std::string garbage = Mp3(Tone(44100, 2, 200), platform::Mp3Bitrate::Constant, Cbr128).substr(0, 420);
    for (std::uint32_t i = 0; garbage.size() < 8000; ++i) garbage += char(i * 97 % 251);
    std::string headers;
    while (headers.size() < 256) headers += "\xFF\xFB\x90\x00";
    const std::string mpegWave =
        riff::Riff({riff::Chunk("fmt ", riff::Le16(0x55) + riff::Le16(2) + riff::Le32(44100) + riff::Le32(16000)
                                            + riff::Le16(1) + riff::Le16(0) + riff::Le16(0)),
                    riff::Chunk("data", std::string(1024, '\0'))});
    std::string truncated = riff::PcmWave({1, 2, 48000, 16}, std::string(40, '\x10'));
    truncated.replace(truncated.find("data") + 4, 4, riff::Le32(1000000));
    const std::string cut = riff::PcmWave({1, 2, 48000, 16}, std::string(19200, '\x10'));
    // Sub-millisecond loops start over as often as it takes; the garbage
    // behind an MP3's first frames leaves one frame to loop.
    const std::vector<std::tuple<const char*, std::string, bool>> files{
        {"tiny.wav", riff::PcmWave({1, 2, 48000, 16}, std::string(40, '\x10')), true},
        {"truncated.wav", truncated, true},
        {"garbage.mp3", garbage, true},
        {"headers.mp3", headers, false},
        {"mpeg-zeros.wav", mpegWave, false},
        {"cut.wav", cut, false},
    };
    std::vector<CSmartPtr<ISound>> sounds;
    for (const auto& [name, bytes, playsOn] : files) {
        sounds.push_back(Open(name, bytes, true, true));
        // Cut to its header once open, the disk file rewinds and reads nothing.
        if (name == std::string("cut.wav")) folder.Put(name, bytes.substr(0, 44));
        sounds.back()->Play();
    }
    const auto [ran, couldRun] = BusiestWorker([&] {
        for (int step = 0; step < 20; ++step) {
            Advance(100);
            // The device mixes in this thread, not in a worker's look at its cursor.
            for (CSmartPtr<ISound>& sound : sounds) sound->IsPlay();
            usleep(100000);
        }
    });
    // Three of them loop on and refill as they should; a spinning worker would
    // take all the processor time it could have.
    EXPECT_TRUE(testkit::CostsAtMost(0.15, ran, couldRun)) << "the busiest worker's time";
    // A ring that never got data ends when the cursor has gone round it once.
    for (int step = 0; step < 20; ++step) {
        Advance(100);
        usleep(20000);
    }
    for (std::size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(sounds[i]->IsPlay(), std::get<2>(files[i])) << std::get<0>(files[i]);
    EXPECT_LE(log->Messages().size(), 3 * files.size()) << "each failing reader logs once or so";
}

TEST_F(OddSoundFilesTest, AStreamedLoopOfAnyLengthPlaysWithoutGaps)
{
    // 10 ms and 0.5 ms of noise at the device's own rate, the last through the
    // decoding reader: heard samples are the file's.
    const std::pair<std::uint32_t, WaveEncoding> laps[]{
        {480, WaveEncoding::Pcm16}, {24, WaveEncoding::Pcm16}, {24, WaveEncoding::Pcm24}};
    for (const auto& [frames, encoding] : laps) {
        const std::vector<std::int16_t> lap = testkit::Noise(frames * 2, frames);
        std::vector<std::uint8_t> file;
        ASSERT_TRUE(platform::EncodeWave({48000, 2, lap}, encoding, file));
        CSmartPtr<ISound> sound = Open("lap.wav", Bytes(file), true, true);
        const std::size_t from = Device().Recording().size();
        ASSERT_EQ(sound->Play(), 0);
        // Past the pre-fill, the ring's wrap and the worker's refills.
        for (int step = 0; step < 40; ++step) {
            Advance(100);
            usleep(20000);
        }
        const std::vector<std::int16_t> heard = HeardFrom(from);
        std::size_t carried = 0;
        for (std::size_t i = 0; i < heard.size(); ++i) carried += heard[i] == lap[i % lap.size()];
        EXPECT_GE(carried, heard.size() * 99 / 100)
            << frames << " frames, encoding " << int(encoding) << ": " << carried << " of " << heard.size();
    }
}

TEST_F(OddSoundFilesTest, TheReaderStandsOnWholeFramesOfItsData)
{
    const std::string file = riff::PcmWave({1, 2, 44100, 16}, riff::Ramp(44100 * 4));
    std::string truncated = riff::PcmWave({1, 2, 48000, 16}, riff::Ramp(42));
    truncated.replace(truncated.find("data") + 4, 4, riff::Le32(1000000));
    folder.Put("ramp.wav", file);
    folder.Put("cut.wav", truncated);
    for (bool memory : {false, true}) {
        CWaveStream stream;
        ASSERT_EQ(stream.Open(memory ? MemoryName(file) : folder.Name("ramp.wav")), 0);
        ASSERT_EQ(stream.SetCurrentPos(3), 0);
        char bytes[64];
        ASSERT_EQ(stream.Read(bytes, 4), 4u);
        EXPECT_EQ(std::string(bytes, 4), riff::Ramp(532).substr(528)) << "3 ms is byte 529.2: frame 132";
        // Shorter than a millisecond, so no position can be set: served from
        // its data all the same, not from the file's header; the odd bytes
        // behind the last whole frame are not served.
        ASSERT_EQ(stream.Open(memory ? MemoryName(truncated) : folder.Name("cut.wav")), 0);
        ASSERT_EQ(stream.Read(bytes, 64), 40u) << memory;
        EXPECT_EQ(std::string(bytes, 40), riff::Ramp(40)) << memory;
    }
}

} // namespace
