#pragma once
// Sound effects and voices of the SOUND tag, played once at the stored sound
// volume through the thread's sound factory.

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "sound/ISound.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; }

namespace TAG {

class CSound {
public:
    virtual ~CSound() = default;

    void ParseDefault(CTagAttributes& record);
    // Throws EScript without FILE. Plays nothing while the thread has no
    // sound factory.
    void Play(const CTagAttributes& record);
    void Stop();
    void SetVolume(std::int32_t volume);
    void Reset();
    void WriteDefault(kivotasuGameKit::CTextFileWriter& writer) const;

private:
    kivotasuGameKit::CSmartPtr<kivotasuGameKit::ISound> m_sound;
    kivotasuGameKit::CTextString m_path;
};

// The FILE of a SOUND or BGM; throws EScript when it is empty.
const kivotasuGameKit::CTextString& RequiredFile(const CTagAttributes& record);

// Says on stderr, at the tag read last, that the file a SOUND or BGM names
// is missing: the sound made of it plays silent without a word (a missing
// WAVE opens as an empty one), with a sound device or without.
void SayIfSoundFileMissing(const kivotasuGameKit::CTextString& name);

} // namespace TAG
