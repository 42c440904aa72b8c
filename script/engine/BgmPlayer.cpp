#include "script/engine/BgmPlayer.h"

#include "frame/SoundFactoryHolder.h"
#include "frame/Timer.h"
#include "frame/file/FileWriter.h"
#include "platform/Clock.h"
#include "script/engine/GlobalSettings.h"
#include "script/engine/QuiltorEngine.h"
#include "script/lang/FamilyPath.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/Sound.h"

#include <algorithm>
#include <cmath>

using kivotasuGameKit::CTextString;

namespace {

constexpr std::uint32_t FadeMs = 500;
constexpr std::uint32_t PumpSleepMs = 10;
constexpr std::int32_t Silent = -10000;

// The volume that scales the gain of volume by level (1 down to 0).
std::int32_t FadedVolume(std::int32_t volume, double level)
{
    if (level <= 0) return Silent;
    return std::max(Silent, volume + static_cast<std::int32_t>(std::lround(2000 * std::log10(level))));
}

} // namespace

void CBgmPlayer::Play(const CTagAttributes& record)
{
    // A copy: the fade pumps the messages, and the record is the reader's.
    const CTextString file = TAG::RequiredFile(record);
    if (!FadeOutAndStop(FadeMs)) return;
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
    if (FadeOutAndStop(static_cast<std::uint32_t>(std::max(time, 0)))) m_fileName.Clear();
}

void CBgmPlayer::SetVolume(std::int32_t volume)
{
    if (!m_sound.IsNull()) m_sound->SetVolume(volume);
}

void CBgmPlayer::Reset()
{
    ++m_resets;
    Stop(CTagAttributes());
}

void CBgmPlayer::SetDefaultPath(CTagAttributes& record)
{
    const CTextString& path = record.GetPath();
    if (!path.IsEmpty()) m_path = path;
}

bool CBgmPlayer::FadeOutAndStop(std::uint32_t ms)
{
    if (m_sound.IsNull()) return true;
    const std::uint32_t resets = m_resets;
    const std::int32_t volume = GetBgmVolume();
    // The music's own volume falls: the voices and effects play on at theirs.
    // Music that is silent already has nothing to fade, and a stop amid a
    // fade (a reset from inside its pump) ends it at once.
    if (!m_fading && m_sound->IsPlay()) {
        m_fading = true;
        kivotasuGameKit::CTimer timer;
        CQuiltorEngine* engine = CQuiltorEngine::GetInstance();
        for (std::uint32_t elapsed; (elapsed = timer.Get()) < ms;) {
            m_sound->SetVolume(FadedVolume(volume, 1.0 - static_cast<double>(elapsed) / ms));
            // The wait also ends when the application is ending (or there is no engine to pump).
            if (!engine || !engine->PumpMessages() || m_resets != resets) break;
            platform::Clock().Sleep(PumpSleepMs);
        }
        m_fading = false;
        // The sound is the new game's to keep or stop.
        if (m_resets != resets) return false;
    }
    m_sound->Stop();
    m_sound->SetVolume(volume);
    return true;
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
