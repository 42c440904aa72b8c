// Any file played as a looping streamed sound on the headless device for
// 600 ms of device time: the worker refills and goes idle. One that keeps
// its core busy traps; one that hangs is the run's time-out.
#include <time.h>
#include <unistd.h>

#include <memory>

#include "fuzz/ExactCopy.h"
#include "platform/Clock.h"
#include "platform/HeadlessAudioOutput.h"
#include "sound/DirectSound.h"
#include "sound/WaveOutput.h"
#include "sound/WaveStreamSound.h"

using namespace kivotasuGameKit;

namespace {

double ProcessorMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
}

// The processor time of every thread but this one: the worker's. Its own
// clock goes with it when it ends (a sound that stops by itself), this count
// keeps what it spent.
double WorkerMs() { return ProcessorMs(CLOCK_PROCESS_CPUTIME_ID) - ProcessorMs(CLOCK_THREAD_CPUTIME_ID); }

// The first refill is real work (some 20 ms here); on a loaded machine it can
// start late and fall into the measured step. Waits, half a second at most,
// until the worker goes idle: one that stays busy is still busy when measured.
void Settle()
{
    for (int look = 0; look < 100; ++look) {
        const double before = WorkerMs();
        usleep(5000);
        if (WorkerMs() - before < 0.5) return;
    }
}

struct Device {
    Device()
    {
        auto owned = std::make_unique<platform::VirtualClock>(1000);
        clock = owned.get();
        platform::InstallClock(std::move(owned));
        auto audio = std::make_unique<platform::HeadlessAudioOutput>();
        audio->SetRecording(false);
        platform::InstallAudio(std::move(audio));
        directSound = std::make_unique<CDirectSound>();
        output = std::make_unique<CWaveOutputDirectSound>(directSound.get());
    }
    platform::VirtualClock* clock;
    std::unique_ptr<CDirectSound> directSound;
    std::unique_ptr<CWaveOutputDirectSound> output;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Device device;
    ExactCopy copy(data, size);
    CWaveStreamSound sound(device.output.get());
    sound.SetLoopPlay(true);
    // The factory tries the WAVE reader, then the compressed one, which also
    // takes MP3 files.
    sound.Open(copy.Name("wav"));
    if (sound.Play() != 0) return 0;
    // The worker's processor time over the second of two steps, the first
    // having started it and made its first refill.
    constexpr useconds_t StepUs = 30000;
    double start = 0;
    for (int step = 0; step < 2; ++step) {
        if (step == 1) Settle();
        start = WorkerMs();
        device.clock->Advance(300);
        // The device mixes here, not in the worker's next look at its cursor.
        sound.IsPlay();
        usleep(StepUs);
    }
    if (WorkerMs() - start > StepUs / 2000.0) __builtin_trap();
    sound.Stop();
    return 0;
}
