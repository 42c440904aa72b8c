#pragma once

#include "sound/ISound.h"

namespace kivotasuGameKit {

// A sound that plays from an output buffer of the wave device.
class IWaveSound : public ISound {
public:
    // When the device has lost the buffer: restores it and loads the file into
    // it again (each sound says whether it then plays on). Otherwise 0.
    virtual int RestoreBuffer() = 0;
};

} // namespace kivotasuGameKit
