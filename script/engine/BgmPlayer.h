#pragma once
// The background music: one looping sound at a time from the BGM tag, faded
// out before the next one starts or when ENDBGM ends it; the DEFAULTBGM
// folder, and the BGM lines of saves.

#include <cstdint>

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "sound/ISound.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; }

class CBgmPlayer {
public:
    virtual ~CBgmPlayer() = default;

    // Plays nothing while the thread has no sound factory; the file is kept
    // as the current one all the same, so saves name it. Throws EScript
    // without FILE.
    void Play(const CTagAttributes& record);
    void Stop(const CTagAttributes& record);
    void Reset();
    // Hundredths of a decibel, at once, also while the music plays (the
    // volume page's preview).
    void SetVolume(std::int32_t volume);
    void SetDefaultPath(CTagAttributes& record);
    void WriteSave(kivotasuGameKit::CTextFileWriter& writer) const;

    const kivotasuGameKit::CTextString& GetFileName() const { return m_fileName; }

private:
    // Fades the held music out over ms while pumping the messages, then stops
    // it; false when a reset came amid the fade (a script dropped on the
    // window started another game), which leaves the rest of the tag undone.
    bool FadeOutAndStop(std::uint32_t ms);

    kivotasuGameKit::CSmartPtr<kivotasuGameKit::ISound> m_sound;
    kivotasuGameKit::CTextString m_path;
    kivotasuGameKit::CTextString m_fileName;
    std::uint32_t m_resets = 0;
    bool m_fading = false;
};

// The MIDIDEVICE and CDDRIVE lines of the options file.
void WriteDeviceOptions(kivotasuGameKit::CTextFileWriter& writer);
