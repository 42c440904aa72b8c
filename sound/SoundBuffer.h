#pragma once
// The sound buffer of a wave sound: a buffer of the mixer, or the stand-by
// that answers -1 to everything while there is no sound device. Results: 0
// success, 1 no buffer held, 2 the device refused.

#include <cstdint>
#include <memory>

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "sound/WaveFormat.h"

namespace platform { class AudioBuffer; class AudioMixer; }

namespace kivotasuGameKit {

class CWaveSoundSettings;

// Buffer status: 1 lost, 2 stopped, 3 playing, 0 without a buffer.
enum SoundBufferStatus : int { BufferNone = 0, BufferLost = 1, BufferStopped = 2, BufferPlaying = 3 };

class ISoundBuffer {
public:
    virtual ~ISoundBuffer() = default;
    // 1 a device buffer, 0 the stand-by.
    virtual int GetType() = 0;
    virtual int Create(const WAVEFORMATEX* format, std::uint32_t size, bool zeroFill,
                       CSmartPtr<CWaveSoundSettings> settings) = 0;
    virtual int GetStatus() = 0;
    virtual int GetFormat(WAVEFORMATEX* format) = 0;
    virtual int SetCurrentPosition(std::uint32_t offset) = 0;
    virtual int GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) = 0;
    virtual int SetVolume(std::int32_t volume) = 0;
    virtual int GetVolume(std::int32_t* volume) = 0;
    virtual int SetPan(std::int32_t pan) = 0;
    virtual int GetPan(std::int32_t* pan) = 0;
    virtual int SetFrequency(std::uint32_t rate) = 0;
    virtual int GetFrequency(std::uint32_t* rate) = 0;
    // second null asks for the first region only. A lost buffer is restored
    // and locked once more.
    virtual int Lock(std::uint32_t offset, std::uint32_t bytes, void** first, std::uint32_t* firstBytes,
                     void** second, std::uint32_t* secondBytes) = 0;
    virtual int Unlock(void* first, std::uint32_t firstBytes, void* second, std::uint32_t secondBytes) = 0;
    // 2 when the buffer is lost, 3 for any other failure.
    virtual int Play(bool loop) = 0;
    virtual int Stop() = 0;
    virtual int Restore() = 0;
    // What the device's record of played sounds calls the buffer.
    virtual void SetName(const CTextString& name) = 0;
};

class CNullSoundBuffer : public ISoundBuffer {
public:
    int GetType() override { return 0; }
    int Create(const WAVEFORMATEX*, std::uint32_t, bool, CSmartPtr<CWaveSoundSettings>) override { return -1; }
    int GetStatus() override { return -1; }
    int GetFormat(WAVEFORMATEX*) override { return -1; }
    int SetCurrentPosition(std::uint32_t) override { return -1; }
    int GetCurrentPosition(std::uint32_t*, std::uint32_t*) override { return -1; }
    int SetVolume(std::int32_t) override { return -1; }
    int GetVolume(std::int32_t*) override { return -1; }
    int SetPan(std::int32_t) override { return -1; }
    int GetPan(std::int32_t*) override { return -1; }
    int SetFrequency(std::uint32_t) override { return -1; }
    int GetFrequency(std::uint32_t*) override { return -1; }
    int Lock(std::uint32_t, std::uint32_t, void**, std::uint32_t*, void**, std::uint32_t*) override { return -1; }
    int Unlock(void*, std::uint32_t, void*, std::uint32_t) override { return -1; }
    int Play(bool) override { return -1; }
    int Stop() override { return -1; }
    int Restore() override { return -1; }
    void SetName(const CTextString&) override {}
};

// A secondary buffer of the mixer. Pan and frequency answer only when the
// settings asked for them, as DirectSound's controls do.
class CDirectSoundBuffer : public ISoundBuffer {
public:
    // Control flags of the buffers made.
    static constexpr std::uint32_t CtrlFrequency = 0x20;
    static constexpr std::uint32_t CtrlPan = 0x40;
    static constexpr std::uint32_t CtrlVolume = 0x80;
    static constexpr std::uint32_t LocSoftware = 0x08;
    static constexpr std::uint32_t GlobalFocus = 0x8000;

    explicit CDirectSoundBuffer(std::shared_ptr<platform::AudioMixer> mixer);
    ~CDirectSoundBuffer() override;

    int GetType() override { return 1; }
    // 1 when the mixer takes no buffer of that format and size.
    int Create(const WAVEFORMATEX* format, std::uint32_t size, bool zeroFill,
               CSmartPtr<CWaveSoundSettings> settings) override;
    int GetStatus() override;
    int GetFormat(WAVEFORMATEX* format) override;
    int SetCurrentPosition(std::uint32_t offset) override;
    int GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) override;
    int SetVolume(std::int32_t volume) override;
    int GetVolume(std::int32_t* volume) override;
    int SetPan(std::int32_t pan) override;
    int GetPan(std::int32_t* pan) override;
    int SetFrequency(std::uint32_t rate) override;
    int GetFrequency(std::uint32_t* rate) override;
    int Lock(std::uint32_t offset, std::uint32_t bytes, void** first, std::uint32_t* firstBytes, void** second,
             std::uint32_t* secondBytes) override;
    int Unlock(void* first, std::uint32_t firstBytes, void* second, std::uint32_t secondBytes) override;
    int Play(bool loop) override;
    int Stop() override;
    int Restore() override;

    void SetName(const CTextString& name) override;

    std::uint32_t GetFlags() const { return m_flags; }

private:
    std::shared_ptr<platform::AudioMixer> m_mixer;
    std::unique_ptr<platform::AudioBuffer> m_buffer;
    WAVEFORMATEX m_format;
    std::uint32_t m_flags = 0;
};

} // namespace kivotasuGameKit
