#pragma once

#include "sound/ISound.h"

namespace kivotasuGameKit {

// The sound handed out when none can be made or opened: it takes every call,
// plays nothing and remembers only its loop flag, so callers never test for a
// missing sound.
class CNullSound : public ISound {
public:
    int Open(const CTextString& fileName) override;
    int Close() override;
    int Play() override;
    int Pause() override;
    int Replay() override;
    int Stop() override;
    bool IsPlay() override;
    int SetLoopPlay(bool loop) override;
    bool IsLoopPlay() override;
    int SetCurrentPos(std::int32_t ms) override;
    std::int32_t GetCurrentPos() override;
    std::int32_t GetLength() override;
    int SetVolume(std::int32_t volume) override;
    std::int32_t GetVolume() override;
    int GetType() override;
    CTextString GetFileName() override;

private:
    bool m_loop = false;
};

} // namespace kivotasuGameKit
