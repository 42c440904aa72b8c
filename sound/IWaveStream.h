#pragma once

#include <cstdint>

#include "frame/TextString.h"
#include "sound/WaveFormat.h"

namespace kivotasuGameKit {

// A reader of one sound file that delivers PCM, whatever the file holds.
// Positions and lengths are milliseconds of that PCM.
class IWaveStream {
public:
    virtual ~IWaveStream() = default;
    // 0 when opened.
    virtual int Open(const CTextString& fileName) = 0;
    virtual int Close() = 0;
    virtual std::int32_t GetLength() = 0;
    // Whether the length is what the data gives, counted, rather than an
    // estimate (a file too long to count, or one its decoder cannot).
    virtual bool IsLengthCounted() = 0;
    // 0 when moved.
    virtual int SetCurrentPos(std::int32_t ms) = 0;
    virtual std::int32_t GetCurrentPos() = 0;
    // Bytes copied into destination: never more than size, 0 at the end.
    virtual std::uint32_t Read(void* destination, std::uint32_t size) = 0;
    // The PCM format delivered, owned by the reader and unchanged until it is
    // closed or opened again; null when the reader has none.
    virtual const WAVEFORMATEX* GetFormat() = 0;
};

} // namespace kivotasuGameKit
