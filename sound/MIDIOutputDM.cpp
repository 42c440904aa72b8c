#include "sound/MIDIOutputDM.h"

#include "frame/ErrorLog.h"
#include "sound/DirectMusic.h"
#include "sound/PauseCount.h"

namespace kivotasuGameKit {

CMIDIOutputDM::~CMIDIOutputDM()
{
    Close();
}

int CMIDIOutputDM::Open(const CTextString& fileName)
{
    if (!CDirectMusic::CanUseDirectMusic()) return -1;
    Close();
    ReadFailure failure = ReadFailure::None;
    if (ReadMidiFile(m_file, fileName, &failure) != platform::ReadResult::Done) {
        if (failure == ReadFailure::OverBound) return 3;
        ErrorLog.Out("CMIDIOutputDM::Openで読み込むファイルが無い %s", CFile::NormalizePath(fileName.GetStr()).c_str());
        return 1;
    }
    const int loaded = m_segment.Load(m_file.GetMemory(), m_file.GetSize(), m_file.GetName());
    if (loaded == 3) ErrorLog.Out("CMIDIOutputDM::OpenでシンセサイザがMIDIファイルを読めない %s", fileName.c_str());
    if (loaded == 4) ErrorLog.Out("CMIDIOutputDM::Openでシンセサイザに曲を渡せない %s", fileName.c_str());
    return loaded;
}

int CMIDIOutputDM::Close()
{
    m_file.Close();
    Stop();
    m_state = false;
    m_segment.Unload();
    return 0;
}

int CMIDIOutputDM::PlaySegment()
{
    if (!m_segment.IsLoaded()) return -2;
    m_segment.Sequence().SetGain(m_music->MasterGain());
    // The performance renders through the wave output, so the wave line's
    // fades (the BGM player's) reach it as they reach wave music.
    m_segment.Sequence().SetLine(platform::MixerLine::Wave);
    if (!m_segment.Sequence().Play(m_startPoint, m_loop)) return 1;
    m_state = true;
    return 0;
}

int CMIDIOutputDM::Play()
{
    if (!CDirectMusic::CanUseDirectMusic()) return -1;
    m_pauseCount = 0;
    Stop();
    m_startPoint = 0;
    return PlaySegment();
}

int CMIDIOutputDM::Stop()
{
    if (!CDirectMusic::CanUseDirectMusic()) return -1;
    m_pauseCount = PauseCountStep(m_pauseCount);
    if (!IsPlay()) return 0;
    m_pauseCount = 1;
    m_startPoint = m_segment.Sequence().CurrentTick();
    m_segment.Sequence().Stop();
    m_state = false;
    return 0;
}

int CMIDIOutputDM::Replay()
{
    if (!CDirectMusic::CanUseDirectMusic()) return -1;
    if (m_pauseCount == 0 || --m_pauseCount != 0 || IsPlay()) return 0;
    Stop();
    const int result = PlaySegment();
    m_pauseCount = 0;
    return result;
}

bool CMIDIOutputDM::IsPlay()
{
    if (!CDirectMusic::CanUseDirectMusic() || !m_state) return false;
    return m_segment.Sequence().IsPlaying();
}

int CMIDIOutputDM::SetLoopPlay(bool loop)
{
    m_loop = loop;
    return 0;
}

int CMIDIOutputDM::SetCurrentPos(std::int32_t ms)
{
    if (!CDirectMusic::CanUseDirectMusic()) return -1;
    if (!m_segment.IsLoaded()) return -1;
    if (GetLength() == 0) return -2;
    Pause();
    // The tempo map, not a straight ms x ticks / length (which misses every
    // tempo change), and in 64 bits: long pieces overflow 32.
    m_startPoint = m_segment.Tempo().MsToTicks(ms);
    Replay();
    return 0;
}

std::int32_t CMIDIOutputDM::GetCurrentPos()
{
    if (!CDirectMusic::CanUseDirectMusic()) return -1;
    if (!m_state) return -2;
    return m_segment.CurrentMs();
}

std::int32_t CMIDIOutputDM::GetLength()
{
    if (!CDirectMusic::CanUseDirectMusic()) return -1;
    if (!m_segment.IsLoaded()) return -2;
    return m_segment.GetLengthMs();
}

int CMIDIOutputDM::SetVolume(std::int32_t volume)
{
    if (!CDirectMusic::CanUseDirectMusic()) return -1;
    m_music->SetMasterVolume(volume);
    if (m_segment.IsLoaded()) m_segment.Sequence().SetGain(m_music->MasterGain());
    return 0;
}

std::int32_t CMIDIOutputDM::GetVolume()
{
    if (!CDirectMusic::CanUseDirectMusic()) return -1;
    return m_music->GetMasterVolume();
}

} // namespace kivotasuGameKit
