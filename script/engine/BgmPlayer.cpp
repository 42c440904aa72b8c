#include "script/engine/BgmPlayer.h"

#include "frame/SoundFactoryHolder.h"
#include "frame/file/FileWriter.h"
#include "platform/Clock.h"
#include "script/engine/GlobalSettings.h"
#include "script/engine/QuiltorEngine.h"
#include "script/lang/FamilyPath.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/Sound.h"

#include <algorithm>

using kivotasuGameKit::CTextString;

namespace {

constexpr std::uint32_t FadeMs = 500;
constexpr std::uint32_t PumpSleepMs = 10;

} // namespace

void CBgmPlayer::Play(const CTagAttributes& record)
{
    FadeOutAndStop(FadeMs);
    const CTextString& file = record.GetFile();
    m_fileName = InFamilyPath(m_path, file);
    TAG::SayIfSoundFileMissing(m_fileName);
    if (kivotasuGameKit::SoundFactoryHolder.Get().IsNull()) return;
    kivotasuGameKit::CSoundFactoryHolder::CreateSound(m_sound, m_fileName);
    if (m_sound.IsNull()) return;
    m_sound->SetVolume(GetBgmVolume());
    m_sound->SetLoopPlay(true);
    m_sound->Play();
}

void CBgmPlayer::Stop(const CTagAttributes& record)
{
    std::int32_t time = FadeMs;
    record.GetTime(time);
    FadeOutAndStop(static_cast<std::uint32_t>(std::max(time, 0)));
    m_fileName.Clear();
}

void CBgmPlayer::SetVolume(std::int32_t volume)
{
    if (!m_sound.IsNull()) m_sound->SetVolume(volume);
}

void CBgmPlayer::Reset()
{
    Stop(CTagAttributes());
}

void CBgmPlayer::SetDefaultPath(CTagAttributes& record)
{
    const CTextString& path = record.GetPath();
    if (!path.IsEmpty()) m_path = path;
}

void CBgmPlayer::FadeOutAndStop(std::uint32_t ms)
{
    if (m_sound.IsNull()) return;
    m_fader.FadeOut(kivotasuGameKit::Wave, ms);
    // The fade moves on the application's timer; the wait also ends when the
    // application is ending (or there is no engine to pump).
    CQuiltorEngine* engine = CQuiltorEngine::GetInstance();
    while (m_fader.IsFading(kivotasuGameKit::Wave) && engine && engine->PumpMessages())
        platform::Clock().Sleep(PumpSleepMs);
    m_sound->Stop();
    m_fader.ResetFade(kivotasuGameKit::Wave);
}

void CBgmPlayer::WriteSave(kivotasuGameKit::CTextFileWriter& writer) const
{
    CTextString text("\n");
    if (!m_path.IsEmpty()) {
        text += CTextString("[DEFAULTBGM");
        AppendSavedAttribute(text, "PATH", m_path);
        text += CTextString("]\n");
    }
    if (!m_fileName.IsEmpty()) {
        text += CTextString("[BGM");
        AppendSavedAttribute(text, "FILE", m_fileName);
        text += CTextString("]\n");
    }
    writer.Write(text);
}

void WriteDeviceOptions(kivotasuGameKit::CTextFileWriter& writer)
{
    CTextString lines;
    lines.AppendFormat("[SYSTEM CONTROL=\"MIDIDEVICE\" NAME=\"%d\"]\n", 1);
    lines.AppendFormat("[SYSTEM CONTROL=\"CDDRIVE\" NAME=\"%d\"]\n", 1);
    writer.Write(lines);
}
