#pragma once

#include "sound/IWaveStream.h"

namespace kivotasuGameKit {

// The reader of a file that no reader opens: no format, no data.
class CNullWaveStream : public IWaveStream {
public:
    int Open(const CTextString&) override { return -1; }
    int Close() override { return -1; }
    std::int32_t GetLength() override { return -1; }
    bool IsLengthCounted() override { return false; }
    int SetCurrentPos(std::int32_t) override { return -1; }
    std::int32_t GetCurrentPos() override { return -1; }
    std::uint32_t Read(void*, std::uint32_t) override { return 0; }
    const WAVEFORMATEX* GetFormat() override { return nullptr; }
};

} // namespace kivotasuGameKit
