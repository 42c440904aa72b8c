// MIDI files opened as the sound tags open them and played looping through
// FluidSynth into the headless device for a third of a second of its clock,
// with a seek and a stop: a player that spins or hangs on a file is a timeout.
// No SoundFont, a low rate: the players run, and little is rendered.
#include <cstdlib>
#include <memory>

#include "fuzz/ExactCopy.h"
#include "platform/AudioOutput.h"
#include "platform/Clock.h"
#include "platform/HeadlessAudioOutput.h"
#include "platform/MidiSynth.h"
#include "sound/SoundFactory.h"

using namespace kivotasuGameKit;

namespace {

platform::VirtualClock& Clock()
{
    static platform::VirtualClock* clock = [] {
        setenv("SDL_SOUNDFONTS", "", 1);
        platform::MidiSynth::SetSoundFontFolder("/nonexistent/");
        auto owned = std::make_unique<platform::VirtualClock>(1000);
        platform::VirtualClock* raw = owned.get();
        platform::InstallClock(std::move(owned));
        return raw;
    }();
    return *clock;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::VirtualClock& clock = Clock();
    // The device keeps every event it saw: a new one now and then keeps that
    // small (a new device is a new synthesiser, which costs milliseconds).
    static unsigned inputs = 0;
    if (inputs++ % 4096 == 0) {
        auto device = std::make_unique<platform::HeadlessAudioOutput>(8000, 256);
        device->SetRecording(false);
        platform::InstallAudio(std::move(device));
    }
    ExactCopy copy(data, size);
    CSoundFactory factory;
    CSmartPtr<ISound> sound = factory.CreateMIDISound();
    if (sound->Open(copy.Name("mid")) != 0) return 0;
    sound->SetLoopPlay(true);
    sound->Play();
    for (int step = 0; step < 8; ++step) {
        clock.Advance(40);
        if (step == 4) sound->SetCurrentPos(sound->GetLength() / 2);
        if (sound->IsPlay()) sound->GetCurrentPos();
    }
    sound->Stop();
    return 0;
}
