#pragma once
// A MIDI file played by the sequencer face: the file stays on disk (an
// archive member is copied to a temporary file), the sequencer opens it on
// the first play, and its end notice comes back as a window message on the
// application thread, which starts a looping sound again. No volume. Type 1.

#include <cstdint>

#include "frame/WinHook.h"
#include "frame/file/File.h"
#include "sound/ISound.h"
#include "sound/MidiSegment.h"

namespace kivotasuGameKit {

class CMIDIOutputMCI : public ISound, public IWinHook {
public:
    static constexpr std::uint32_t NoDevice = 0xFFFFFFFF;

    CMIDIOutputMCI();
    ~CMIDIOutputMCI() override;

    // 0, 1 no device can be opened.
    int OpenDevice();
    static bool CanUseMidiOut();

    // 1 the file cannot be read, 2 no temporary copy can be written.
    int Open(const CTextString& fileName) override;
    int Close() override;
    int Play() override;
    int Pause() override { return Stop(); }
    int Replay() override;
    int Stop() override;
    bool IsPlay() override { return m_playing; }
    int SetLoopPlay(bool loop) override;
    bool IsLoopPlay() override { return m_loop; }
    int SetCurrentPos(std::int32_t ms) override;
    std::int32_t GetCurrentPos() override;
    std::int32_t GetLength() override;
    int SetVolume(std::int32_t) override { return -1; }
    std::int32_t GetVolume() override { return 0; }
    int GetType() override { return 1; }
    CTextString GetFileName() override { return m_file.GetName(); }

    std::intptr_t WndProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;

    std::uint32_t GetDeviceId() const { return m_deviceId; }

private:
    // The sequencer's play from ms, its end told to the application's window.
    void PlayFrom(std::uint32_t ms);

    CFile m_file;
    std::uint32_t m_savedPosition = 0;
    std::uint32_t m_deviceId = NoDevice;
    std::int32_t m_pauseCount = 0;
    bool m_loop = false;
    bool m_playing = false;
    // The sequencer's side of the open device.
    CMidiSegment m_device;
};

} // namespace kivotasuGameKit
