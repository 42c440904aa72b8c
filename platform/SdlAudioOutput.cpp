#include "platform/AudioOutput.h"

#include <SDL.h>

#include <mutex>

namespace platform {
namespace {

constexpr int OutputRate = 48000;
constexpr Uint16 CallbackFrames = 1024;

class SdlAudioOutput final : public IAudioOutput, private IAudioSink {
public:
    ~SdlAudioOutput() override
    {
        if (m_mixer) m_mixer->Attach(nullptr);
        if (!SDL_GetCurrentAudioDriver()) return;
        if (m_device) SDL_CloseAudioDevice(m_device);
        SDL_AudioQuit();
    }

    // The audio driver is started outside SDL's counted subsystems: the
    // window system's SDL_Quit on the application thread, when its last
    // window goes, then frees that thread's SDL state and leaves the device
    // playing until the process ends.
    std::shared_ptr<AudioMixer> Mixer() override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_tried) {
            m_tried = true;
            if (SDL_AudioInit(nullptr) == 0 && OpenDevice()) {
                m_mixer->Attach(this);
            } else {
                m_mixer.reset();
                if (SDL_GetCurrentAudioDriver()) SDL_AudioQuit();
            }
        }
        return m_mixer;
    }

private:
    bool OpenDevice()
    {
        SDL_AudioSpec wanted{};
        wanted.freq = OutputRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = AudioMixer::OutputChannels;
        wanted.samples = CallbackFrames;
        wanted.callback = &SdlAudioOutput::Callback;
        wanted.userdata = this;
        if (!m_mixer) m_mixer = std::make_shared<AudioMixer>(OutputRate, CallbackFrames);
        // SDL converts to whatever the card takes: the mixer always sees this format.
        m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (m_device == 0) return false;
        SDL_PauseAudioDevice(m_device, 0);
        return true;
    }

    static void Callback(void* self, Uint8* stream, int bytes)
    {
        static_cast<SdlAudioOutput*>(self)->m_mixer->Mix(reinterpret_cast<std::int16_t*>(stream),
                                                         static_cast<std::uint32_t>(bytes) / 4u);
    }

    // A removed device stops; its buffers report themselves lost.
    void CatchUp() override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_device == 0 || SDL_GetAudioDeviceStatus(m_device) != SDL_AUDIO_STOPPED) return;
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
        m_mixer->LoseDevice();
    }

    bool Reopen() override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_device != 0 || OpenDevice();
    }

    std::mutex m_lock;
    bool m_tried = false;
    SDL_AudioDeviceID m_device = 0;
    std::shared_ptr<AudioMixer> m_mixer;
};

} // namespace

std::unique_ptr<IAudioOutput> MakeSdlAudioOutput()
{
    return std::make_unique<SdlAudioOutput>();
}

} // namespace platform
