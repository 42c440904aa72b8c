#include "script/tag/Sound.h"

#include "frame/EScript.h"
#include "frame/SoundFactoryHolder.h"
#include "frame/file/File.h"
#include "frame/file/FileWriter.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/SavedValue.h"
#include "script/lang/ScriptError.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

namespace TAG {

void CSound::ParseDefault(CTagAttributes& record)
{
    const CTextString& path = record.GetPath();
    if (!path.IsEmpty()) m_path = path;
}

void CSound::Play(const CTagAttributes& record)
{
    const CTextString& file = RequiredFile(record);
    CTextString name = file.Find(':') >= 0 ? file : m_path + file;
    SayIfSoundFileMissing(name);
    if (kivotasuGameKit::SoundFactoryHolder.Get().IsNull()) return;
    kivotasuGameKit::CSoundFactoryHolder::CreateSound(m_sound, name);
    if (m_sound.IsNull()) return;
    m_sound->SetVolume(GetSoundVolume());
    m_sound->Play();
}

void CSound::Stop()
{
    if (!m_sound.IsNull()) m_sound->Stop();
}

void CSound::SetVolume(std::int32_t volume)
{
    if (!m_sound.IsNull()) m_sound->SetVolume(volume);
}

void CSound::Reset()
{
    m_path.Clear();
    Stop();
}

void CSound::WriteDefault(kivotasuGameKit::CTextFileWriter& writer) const
{
    CTextString line("\n[DEFAULTSOUND");
    AppendSavedAttribute(line, "PATH", m_path);
    line += CTextString("]\n");
    writer.Write(line);
}

const CTextString& RequiredFile(const CTagAttributes& record)
{
    const CTextString& file = record.GetFile();
    if (file.IsEmpty()) throw EScript(CTextString("ファイル名が指定されていません。"));
    return file;
}

void SayIfSoundFileMissing(const CTextString& name)
{
    using kivotasuGameKit::CFile;
    // One the close kept from being looked up is not said either.
    if (CFile::Find(name.GetStr()) != platform::ReadResult::Failed) return;
    const CTextString tried(CFile::NormalizePath(name.GetStr()));
    CScriptError::GetInstance().Warn("音のファイル『" + tried + "』がありません。", CScriptError::GetInstance().Here());
}

} // namespace TAG
