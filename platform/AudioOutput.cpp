#include "platform/AudioOutput.h"

#include "platform/ServiceSlot.h"

namespace platform {
namespace {

class NoAudioOutput final : public IAudioOutput {
public:
    std::shared_ptr<AudioMixer> Mixer() override { return nullptr; }
};

ServiceSlot<IAudioOutput, NoAudioOutput>& Slot()
{
    static ServiceSlot<IAudioOutput, NoAudioOutput> slot;
    return slot;
}

} // namespace

IAudioOutput& Audio()
{
    return Slot().Get();
}

void InstallAudio(std::unique_ptr<IAudioOutput> output)
{
    Slot().Install(std::move(output));
}

} // namespace platform
