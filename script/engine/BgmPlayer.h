#pragma once
// The background music: one looping sound at a time from the BGM tag, the
// DEFAULTBGM folder, and the BGM lines of saves. The fade-out through the
// mixer comes with the sound subsystem; until then the music stops at once.

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "sound/ISound.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; }

class CBgmPlayer {
public:
    virtual ~CBgmPlayer() = default;

    // Plays nothing while the thread has no sound factory; the file is kept
    // as the current one all the same, so saves name it.
    void Play(const CTagAttributes& record);
    void Stop(const CTagAttributes& record);
    void Reset();
    void SetDefaultPath(CTagAttributes& record);
    void WriteSave(kivotasuGameKit::CTextFileWriter& writer) const;

    const kivotasuGameKit::CTextString& GetFileName() const { return m_fileName; }

private:
    void StopSound();

    kivotasuGameKit::CSmartPtr<kivotasuGameKit::ISound> m_sound;
    kivotasuGameKit::CTextString m_path;
    kivotasuGameKit::CTextString m_fileName;
};

// The MIDIDEVICE and CDDRIVE lines of the options file.
void WriteDeviceOptions(kivotasuGameKit::CTextFileWriter& writer);
