#pragma once
// A wave file decoded whole into one buffer of the sound device and played
// from it, looping in the device when asked. Type 3. It registers with the
// wave output, which has it reload its buffer after the device was lost.

#include <cstdint>

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "sound/IWaveSound.h"
#include "sound/IWaveStream.h"
#include "sound/SoundBuffer.h"

namespace kivotasuGameKit {

class CWaveOutput;

class CWaveStaticSound : public IWaveSound {
public:
    explicit CWaveStaticSound(CWaveOutput* output);
    ~CWaveStaticSound() override;

    // 0 also when no reader takes the file, or when a close cut the decode
    // short: the sound then stays silent. 1 the buffer cannot be made, 2
    // locked, 3 filled, 4 unlocked; NotHeld when the file decodes to
    // more than MostHeldBytes, or to a length its reader cannot count:
    // nothing is decoded, and the open reader waits for TakeUnheldStream
    // (until the next Load or CloseBuffer).
    int Load(const CTextString& name);
    static constexpr int NotHeld = 5;
    CSmartPtr<IWaveStream> TakeUnheldStream();
    int CloseBuffer();
    CSmartPtr<ISoundBuffer> GetBuffer() const { return m_buffer; }
    void SetBuffer(const CSmartPtr<ISoundBuffer>& buffer) { m_buffer = buffer; }

    int Open(const CTextString& fileName) override { return Load(fileName); }
    int Close() override { return CloseBuffer(); }
    int Play() override;
    int Pause() override;
    int Replay() override;
    int Stop() override;
    bool IsPlay() override;
    int SetLoopPlay(bool loop) override;
    bool IsLoopPlay() override { return m_loop; }
    int SetCurrentPos(std::int32_t ms) override;
    std::int32_t GetCurrentPos() override;
    std::int32_t GetLength() override { return m_length; }
    int SetVolume(std::int32_t volume) override;
    std::int32_t GetVolume() override;
    int GetType() override { return 3; }
    CTextString GetFileName() override { return m_fileName; }
    int RestoreBuffer() override;

private:
    CSmartPtr<ISoundBuffer> m_buffer;
    CSmartPtr<IWaveStream> m_unheld;
    CTextString m_fileName;
    std::int32_t m_pauseCount = 0;
    bool m_loop = false;
    std::uint32_t m_bytesPerSecond = 0;
    std::int32_t m_length = 0;
    CWaveOutput* m_output;
};

} // namespace kivotasuGameKit
