#pragma once
// The process's sound output: one audio device and its mixer, opened on first
// use and kept for the whole process. Without a device (no sound card, a
// machine without a sound server) there is no mixer and the sounds are silent.

#include "platform/AudioMixer.h"

#include <memory>

namespace platform {

class IAudioOutput {
public:
    virtual ~IAudioOutput() = default;
    // Null when no device can be opened.
    virtual std::shared_ptr<AudioMixer> Mixer() = 0;
};

// No device until the executable installs the SDL output or a test the
// headless one. Install it before any sound is made.
IAudioOutput& Audio();
void InstallAudio(std::unique_ptr<IAudioOutput> output);

// SDL's default device at 48 kHz stereo 16-bit, fed by the mixer from SDL's
// callback. It tries to open once; after a loss it opens again on a restore.
std::unique_ptr<IAudioOutput> MakeSdlAudioOutput();

} // namespace platform
