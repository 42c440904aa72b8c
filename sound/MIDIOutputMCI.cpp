#include "sound/MIDIOutputMCI.h"

#include <algorithm>
#include <atomic>

#include "frame/AppManager.h"
#include "frame/ErrorLog.h"
#include "platform/WindowSystem.h"
#include "sound/PauseCount.h"

namespace kivotasuGameKit {

namespace {
std::atomic<std::uint32_t> nextDeviceId{1};
}

CMIDIOutputMCI::CMIDIOutputMCI()
{
    CAppManager::GetInstance()->Hook(this);
}

CMIDIOutputMCI::~CMIDIOutputMCI()
{
    Close();
    CAppManager::GetInstance()->Unhook(this);
}

bool CMIDIOutputMCI::CanUseMidiOut()
{
    return MidiSynthesizer() != nullptr;
}

int CMIDIOutputMCI::Open(const CTextString& fileName)
{
    Close();
    ReadFailure failure = ReadFailure::None;
    if (ReadMidiFile(m_file, fileName, &failure) != platform::ReadResult::Done) {
        if (failure == ReadFailure::OverBound) return 1;
        ErrorLog.Out("CMIDIOutputMCI::Openで読み込むファイルが無い %s", CFile::NormalizePath(fileName.GetStr()).c_str());
        return 1;
    }
    if (m_file.CreateTemporary(false) != 0) {
        ErrorLog.Out("CMIDIOutputMCI::OpenでCreateTemporaryに失敗");
        return 2;
    }
    return 0;
}

int CMIDIOutputMCI::OpenDevice()
{
    if (m_deviceId != NoDevice) return 0;
    // Read again as the sequencer opens its file, which may have changed.
    CFile file;
    if (ReadMidiFile(file, m_file.GetName()) != platform::ReadResult::Done || file.GetSize() == 0 ||
        m_device.Load(file.GetMemory(), file.GetSize(), m_file.GetName()) != 0) {
        ErrorLog.Out("CMIDIOutput::MIDIデバイスがオープンできない。");
        return 1;
    }
    m_deviceId = nextDeviceId++;
    const std::uint32_t id = m_deviceId;
    const platform::WindowHandle window = CAppManager::GetInstance()->GetHWnd();
    m_device.Sequence().SetEndHandler([id, window] {
        platform::Windows().PostMessage(window, platform::MM_MCINOTIFY, platform::MCI_NOTIFY_SUCCESSFUL, id);
    });
    return 0;
}

void CMIDIOutputMCI::PlayFrom(std::uint32_t ms)
{
    m_device.Sequence().Play(m_device.Tempo().MsToTicks(ms), false);
}

int CMIDIOutputMCI::Play()
{
    m_pauseCount = 0;
    if (OpenDevice() != 0) return 1;
    Stop();
    PlayFrom(0);
    m_playing = true;
    return 0;
}

int CMIDIOutputMCI::Stop()
{
    m_pauseCount = PauseCountStep(m_pauseCount);
    if (m_deviceId == NoDevice) return 1;
    if (!m_playing) return 0;
    m_pauseCount = 1;
    m_savedPosition = static_cast<std::uint32_t>(m_device.CurrentMs());
    m_device.Sequence().Stop();
    m_playing = false;
    return 0;
}

int CMIDIOutputMCI::Replay()
{
    if (m_pauseCount == 0 || --m_pauseCount != 0) return 0;
    if (m_deviceId == NoDevice) return 1;
    if (m_playing) return 0;
    PlayFrom(m_savedPosition);
    m_pauseCount = 0;
    m_playing = true;
    return 0;
}

int CMIDIOutputMCI::SetLoopPlay(bool loop)
{
    m_loop = loop;
    return 0;
}

int CMIDIOutputMCI::SetCurrentPos(std::int32_t ms)
{
    if (m_deviceId == NoDevice) return -1;
    // The sequencer seeks only within the piece.
    if (ms < 0 || ms > m_device.GetLengthMs()) {
        ErrorLog.Out("Err SetCurrentPos");
        return -1;
    }
    m_device.Sequence().Cue(m_device.Tempo().MsToTicks(ms));
    if (m_playing) PlayFrom(static_cast<std::uint32_t>(ms));
    return 0;
}

std::int32_t CMIDIOutputMCI::GetCurrentPos()
{
    if (m_deviceId == NoDevice) return -1;
    return m_device.CurrentMs();
}

std::int32_t CMIDIOutputMCI::GetLength()
{
    if (m_deviceId == NoDevice) return -1;
    return m_device.GetLengthMs();
}

int CMIDIOutputMCI::Close()
{
    m_file.Close();
    if (m_deviceId == NoDevice) return 0;
    if (m_playing) Stop();
    m_device.Unload();
    m_deviceId = NoDevice;
    m_savedPosition = 0;
    return 0;
}

std::intptr_t CMIDIOutputMCI::WndProc(platform::WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam)
{
    if (message != platform::MM_MCINOTIFY || m_deviceId == NoDevice || lParam != static_cast<std::intptr_t>(m_deviceId) ||
        wParam != platform::MCI_NOTIFY_SUCCESSFUL)
        return 0;
    // The notice of a play that a later play, stop or seek has superseded.
    if (!m_device.Sequence().TakeEndNotice()) return 0;
    if (m_loop)
        Play();
    else
        Stop();
    return 1;
}

} // namespace kivotasuGameKit
