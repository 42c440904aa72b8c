// Any file played as a looping streamed sound on the headless device for
// 600 ms of device time, its worker refilling meanwhile. One that hangs is
// the run's time-out; what the worker costs is no verdict here, where the
// sanitizers and the machine set it (the odd sound files test weighs a
// worker's busy work in the default build).
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
    // Two steps, each giving the worker time to refill.
    for (int step = 0; step < 2; ++step) {
        device.clock->Advance(300);
        // The device mixes here, not in the worker's next look at its cursor.
        sound.IsPlay();
        usleep(30000);
    }
    sound.Stop();
    return 0;
}
