#pragma once

#include <cstdint>

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "frame/TimeConversion.h"

namespace kivotasuGameKit {

// Every sound, whatever plays it. Results: 0 success, a positive step code on
// failure, -1 when the output device is missing. Positions and lengths are
// milliseconds, volumes hundredths of a decibel (0 full, -10000 silent).
class ISound {
public:
    virtual int Open(const CTextString& fileName) = 0;
    virtual int Close() = 0;
    virtual int Play() = 0;
    virtual int Pause() = 0;
    virtual int Replay() = 0;
    virtual int Stop() = 0;
    virtual bool IsPlay() = 0;
    virtual int SetLoopPlay(bool loop) = 0;
    virtual bool IsLoopPlay() = 0;
    virtual int SetCurrentPos(std::int32_t ms) = 0;
    virtual std::int32_t GetCurrentPos() = 0;
    virtual std::int32_t GetLength() = 0;
    virtual int SetVolume(std::int32_t volume) = 0;
    virtual std::int32_t GetVolume() = 0;
    // The SoundType: 0 silent, 1 MIDI (sequencer), 2 MIDI (synthesiser),
    // 3 static wave, 4 streaming wave, 5 switchable wave.
    virtual int GetType() = 0;
    virtual CTextString GetFileName() = 0;
    virtual int MsToHmsm(std::int32_t ms, std::int32_t& hours, std::int32_t& minutes, std::int32_t& seconds,
                         std::int32_t& milliseconds)
    {
        return kivotasuGameKit::MsToHmsm(ms, hours, minutes, seconds, milliseconds);
    }
    virtual int HmsmToMs(std::int32_t& ms, std::int32_t hours, std::int32_t minutes, std::int32_t seconds,
                         std::int32_t milliseconds)
    {
        return kivotasuGameKit::HmsmToMs(ms, hours, minutes, seconds, milliseconds);
    }
    virtual ~ISound() = default;
};

} // namespace kivotasuGameKit
