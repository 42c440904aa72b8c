#include "script/engine/BgmPlayer.h"

#include "frame/SoundFactoryHolder.h"
#include "frame/file/FileWriter.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/FamilyPath.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

void CBgmPlayer::Play(const CTagAttributes& record)
{
    StopSound();
    const CTextString& file = record.GetFile();
    m_fileName = InFamilyPath(m_path, file);
    if (kivotasuGameKit::SoundFactoryHolder.Get().IsNull()) return;
    kivotasuGameKit::CSoundFactoryHolder::CreateSound(m_sound, m_fileName);
    if (m_sound.IsNull()) return;
    m_sound->SetVolume(GetBgmVolume());
    m_sound->SetLoopPlay(true);
    m_sound->Play();
}

void CBgmPlayer::Stop(const CTagAttributes&)
{
    StopSound();
    m_fileName.Clear();
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

void CBgmPlayer::StopSound()
{
    if (!m_sound.IsNull()) m_sound->Stop();
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
