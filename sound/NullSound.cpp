#include "sound/NullSound.h"

namespace kivotasuGameKit {

int CNullSound::Open(const CTextString&) { return 0; }
int CNullSound::Close() { return 0; }
int CNullSound::Play() { return 0; }
int CNullSound::Pause() { return 0; }
int CNullSound::Replay() { return 0; }
int CNullSound::Stop() { return 0; }
bool CNullSound::IsPlay() { return false; }

int CNullSound::SetLoopPlay(bool loop)
{
    m_loop = loop;
    return 0;
}

bool CNullSound::IsLoopPlay() { return m_loop; }
int CNullSound::SetCurrentPos(std::int32_t) { return -1; }
std::int32_t CNullSound::GetCurrentPos() { return -1; }
std::int32_t CNullSound::GetLength() { return -1; }
int CNullSound::SetVolume(std::int32_t) { return -1; }
std::int32_t CNullSound::GetVolume() { return -10000; }
int CNullSound::GetType() { return 0; }
CTextString CNullSound::GetFileName() { return CTextString(); }

} // namespace kivotasuGameKit
