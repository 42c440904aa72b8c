#pragma once
// The wave sound the factory hands out for every file that is not MIDI: it
// forwards to an inner static or streaming sound and can swap one for the
// other, carrying the file, loop flag, volume and playing state over. Type 5.

#include "frame/SmartPtr.h"
#include "sound/IWaveSound.h"

namespace kivotasuGameKit {

class CWaveOutput;

class CSwitchWaveSound : public IWaveSound {
public:
    explicit CSwitchWaveSound(CWaveOutput* output);

    void SetStreamMode(bool stream);
    bool IsStreamMode() const { return m_streamMode; }

    // A file too long for the static sound to hold plays streamed.
    int Open(const CTextString& fileName) override;
    int Close() override { return m_inner->Close(); }
    int Play() override { return m_inner->Play(); }
    int Pause() override { return m_inner->Pause(); }
    int Replay() override { return m_inner->Replay(); }
    // Keeps the volume the inner sound had; always 0.
    int Stop() override;
    bool IsPlay() override { return m_inner->IsPlay(); }
    int SetLoopPlay(bool loop) override { return m_inner->SetLoopPlay(loop); }
    bool IsLoopPlay() override { return m_inner->IsLoopPlay(); }
    int SetCurrentPos(std::int32_t ms) override { return m_inner->SetCurrentPos(ms); }
    std::int32_t GetCurrentPos() override { return m_inner->GetCurrentPos(); }
    std::int32_t GetLength() override { return m_inner->GetLength(); }
    int SetVolume(std::int32_t volume) override { return m_inner->SetVolume(volume); }
    std::int32_t GetVolume() override { return m_inner->GetVolume(); }
    int GetType() override { return 5; }
    CTextString GetFileName() override { return m_inner->GetFileName(); }
    int RestoreBuffer() override { return m_inner->RestoreBuffer(); }

private:
    CSmartPtr<IWaveSound> MakeInner(bool stream);

    CSmartPtr<IWaveSound> m_inner;
    CWaveOutput* m_output;
    std::int32_t m_savedVolume = 0;
    bool m_streamMode = false;
};

} // namespace kivotasuGameKit
