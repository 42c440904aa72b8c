#pragma once

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "sound/ISound.h"

namespace kivotasuGameKit {

// What the frame asks of a thread's sound factory: sounds, never an empty
// pointer (a sound that cannot be made or opened is the silent one). The
// factory's device bookkeeping belongs to its own class.
class ISoundFactory {
public:
    virtual CSmartPtr<ISound> CreateWaveSound(bool stream) = 0;
    virtual CSmartPtr<ISound> CreateSoundByFile(const CTextString& fileName) = 0;
    virtual CSmartPtr<ISound> CreateDefaultWaveSound() = 0;
    virtual CSmartPtr<ISound> CreateMIDISound() = 0;
    virtual ~ISoundFactory() = default;
};

} // namespace kivotasuGameKit
