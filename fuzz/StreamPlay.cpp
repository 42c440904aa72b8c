// Any file played as a looping streamed sound on the headless device, for a
// second of device time: the worker must go idle between refills. One that
// keeps a core busy while the clock stands still traps; one that hangs is
// the run's time-out.
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

double ProcessorMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
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
    for (int step = 0; step < 4 && sound.IsPlay(); ++step) {
        device.clock->Advance(250);
        // Time for a refill, then a stretch with nothing to do.
        usleep(3000);
        const double before = ProcessorMs();
        usleep(6000);
        if (ProcessorMs() - before > 4.5) __builtin_trap();
    }
    sound.Stop();
    return 0;
}
